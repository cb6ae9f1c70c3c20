// LastProj.ini: the last project and the palette set's settings, read and written.
#include "project/last_project.h"

#include "project/project_file.h"

namespace {

constexpr DWORD kLastNameSize = 260;
constexpr DWORD kAutoRollupSize = 512;
constexpr DWORD kOpacitySize = 260;

bool Flush(LPCWSTR file) {
  return WritePrivateProfileStringW(nullptr, nullptr, nullptr, file) != FALSE;
}

// Without a project folder the file would be named at the root of the drive: nothing is
// written, and reading gives the defaults.
bool NoFolder() {
  SetLastError(ERROR_PATH_NOT_FOUND);
  return false;
}

CString ReadValue(const CString& folder, LPCWSTR key, LPCWSTR def, DWORD size) {
  if (folder.IsEmpty()) return CString(def);
  const CString file = LastProjectPath(folder);
  CString value;
  GetPrivateProfileStringW(kLastProjectSection, key, def, value.GetBuffer(size), size, file);
  value.ReleaseBuffer();
  return value;
}

}  // namespace

CString LastProjectPath(const CString& folder) {
  CString path;
  path.Format(L"%s\\%s", folder.GetString(), kLastProjectFileName);
  return path;
}

bool WriteLastProject(const CString& folder, LPCWSTR projectName, LPCWSTR patternName) {
  if (folder.IsEmpty()) return NoFolder();
  const CString file = LastProjectPath(folder);
  // Both keys are written even when the first fails, as far as they can be, and then flushed.
  const bool name = WritePrivateProfileStringW(kLastProjectSection, L"NAME",
                                               projectName ? projectName : L"", file) != FALSE;
  const bool pattern = WritePrivateProfileStringW(kLastProjectSection, L"PATTERN",
                                                  patternName ? patternName : L"", file) != FALSE;
  return Flush(file) && name && pattern;
}

void ReadLastProject(const CString& folder, CString& projectName, CString& patternName) {
  projectName = ReadValue(folder, L"NAME", L"", kLastNameSize);
  patternName = ReadValue(folder, L"PATTERN", L"", kLastNameSize);
}

PaletteSetSettings ReadPaletteSetSettings(const CString& folder) {
  PaletteSetSettings settings;
  settings.autoRollupOn = ReadValue(folder, L"AUTOROLLUP", L"", kAutoRollupSize) == L"ON";
  settings.opacity = _wtoi(ReadValue(folder, L"OPACITY", L"100", kOpacitySize));
  return settings;
}

bool WritePaletteSetSettings(const CString& folder, bool autoRollup, int opacity) {
  if (folder.IsEmpty()) return NoFolder();
  const CString file = LastProjectPath(folder);
  CString opacity_text;
  opacity_text.Format(L"%d", opacity);
  const bool rollup = WritePrivateProfileStringW(kLastProjectSection, L"AUTOROLLUP",
                                                 autoRollup ? L"ON" : L"OFF", file) != FALSE;
  const bool written =
      WritePrivateProfileStringW(kLastProjectSection, L"OPACITY", opacity_text, file) != FALSE;
  return Flush(file) && rollup && written;
}

bool RestoreLastProject(ProjectModel& project) {
  CString name, pattern;
  ReadLastProject(project.Folder(), name, pattern);
  if (name.IsEmpty() || pattern.IsEmpty()) return false;
  if (LoadProject(project, name) <= 0) {
    // A project without patterns is not restored: the palette starts as without a project.
    project.ClearPatterns();
    project.SetName(CString());
    return false;
  }
  const int found = project.FindPattern(pattern, /*ignore_case=*/true);
  project.SetCurrent(found >= 0 ? found : 0);
  return true;
}
