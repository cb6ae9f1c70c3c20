// CMainDlg's answers when the session ends: whether it would lose edits, and the recovery
// project that keeps them (palette/recovery_notice.h states the notice).
#include <cwchar>

#include "palette/main_dialog.h"
#include "palette/recovery_notice.h"
#include "project/project_file.h"

namespace {

// Copies text into the sender's buffer, cut to fit.
void Answer(const CString& text, WPARAM capacity, LPARAM buffer) {
  auto* out = reinterpret_cast<wchar_t*>(buffer);
  if (out == nullptr || capacity == 0) return;
  const size_t n = std::min<size_t>(static_cast<size_t>(text.GetLength()), capacity - 1);
  std::wmemcpy(out, text.GetString(), n);
  out[n] = L'\0';
}

bool FileExists(const CString& path) {
  return GetFileAttributesW(path.GetString()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool CMainDlg::HasUnsavedEdits() {
  // The controls may hold a typed value the pattern does not have yet.
  editor_.CollectPage();
  return editor_.IsModified();
}

LRESULT CMainDlg::OnQueryEndSession(WPARAM, LPARAM) {
  return HasUnsavedEdits() ? FALSE : TRUE;
}

LRESULT CMainDlg::OnRecoveryNotice(WPARAM capacity, LPARAM buffer) {
  Answer(CString(), capacity, buffer);
  if (!HasUnsavedEdits()) return kRecoveryNothingUnsaved;
  const CString base =
      (project_.Name().IsEmpty() ? CString(L"無題") : project_.Name()) + L".recovered";
  CString name = base;
  CString file = ProjectFilePath(project_.Folder(), name);
  for (int n = 2; FileExists(file); ++n) {
    if (n > 999) {
      Answer(ProjectFilePath(project_.Folder(), base), capacity, buffer);
      return kRecoveryNoFreeName;
    }
    name.Format(L"%s-%d", base.GetString(), n);
    file = ProjectFilePath(project_.Folder(), name);
  }
  Answer(file, capacity, buffer);
  if (!SaveProject(project_, name)) return kRecoveryNotWritten;
  editor_.SetModified(false);
  return kRecoveryWritten;
}

LRESULT CMainDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // A registered message has no number until run time, so it cannot stand in the message map.
  static const UINT recovery_notice = RegisterWindowMessageW(kRecoveryNoticeName);
  if (message == recovery_notice) return OnRecoveryNotice(wParam, lParam);
  return CAcUiDialog::WindowProc(message, wParam, lParam);
}
