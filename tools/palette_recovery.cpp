// Unsaved palette edits written to a recovery project.
#include "tools/palette_recovery.h"

#include "platform/win/text_encoding.h"
#include "platform/win/win_path.h"

#include "app/harnex_module.h"
#include "palette/main_dialog.h"
#include "project/project_file.h"

namespace tools {
namespace {

CMainDlg* OpenPalette() {
  CMainDlg* palette = PaletteInstance;
  return palette != nullptr && palette->GetSafeHwnd() != nullptr ? palette : nullptr;
}

}  // namespace

bool PaletteIsOpen() {
  return OpenPalette() != nullptr;
}

bool PaletteHasUnsavedEdits() {
  CMainDlg* palette = OpenPalette();
  if (palette == nullptr) return false;
  palette->Editor().CollectPage();
  return palette->Editor().IsModified();
}

bool WritePaletteRecovery(std::string* path, std::wstring* error) {
  error->clear();
  if (!PaletteHasUnsavedEdits()) return false;
  CMainDlg* palette = OpenPalette();
  ProjectModel& project = palette->Project();
  const CString base =
      (project.Name().IsEmpty() ? CString(L"無題") : project.Name()) + L".recovered";
  CString name = base;
  for (int n = 2; platform::ResolvePath(ProjectFilePath(project.Folder(), name).GetString()).exists;
       ++n) {
    if (n > 999) {
      *error = L"no free name for a recovery file beside " + std::wstring(base.GetString());
      return false;
    }
    name.Format(L"%s-%d", base.GetString(), n);
  }
  const CString file = ProjectFilePath(project.Folder(), name);
  if (!SaveProject(project, name)) {
    *error = L"cannot write the recovery file " + std::wstring(file.GetString());
    return false;
  }
  *path = platform::ResolvePath(file.GetString()).posix;
  palette->Editor().SetModified(false);
  return true;
}

}  // namespace tools
