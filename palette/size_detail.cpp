// CMainDlg's side of the wire size detail (CDetailDlg): opening one dialog for a row's edit, and
// taking its text back.
#include <windows.h>

#include "dialogs/harnex_resource_scope.h"
#include "dialogs/size_detail_dialog.h"
#include "palette/main_dialog.h"

LRESULT CMainDlg::OnSizeDetailAsked(WPARAM wParam, LPARAM) {
  const UINT row = static_cast<UINT>(wParam);
  if (row >= static_cast<UINT>(kPageRows)) return 0;
  if (detailDialog_) {
    detailDialog_->BringWindowToTop();
    detailDialog_->SetFocus();
    return 0;
  }
  HarnexResourceScope resources;
  detailDialog_ = std::make_unique<CDetailDlg>(static_cast<UINT>(GetPatternType()), row,
                                               &wireSizeEdits_[row], this);
  if (!detailDialog_->Create()) detailDialog_.reset();
  return 0;
}

LRESULT CMainDlg::OnSizeDetailChosen(WPARAM wParam, LPARAM lParam) {
  const UINT row = static_cast<UINT>(lParam);
  const auto* text = reinterpret_cast<const CString*>(wParam);
  if (row < static_cast<UINT>(kPageRows) && text != nullptr) {
    CMenuEdit& edit = wireSizeEdits_[row];
    edit.SetWindowText(*text);
    edit.ClearHighlight();
    // The caret after the last character, and the edit scrolled so that it shows.
    const int length = text->GetLength();
    edit.SendMessage(EM_SETSEL, length, length);
    edit.SendMessage(EM_SCROLLCARET, 0, 0);
  }
  EndSizeDetail(row);
  return 0;
}

LRESULT CMainDlg::OnSizeDetailCancelled(WPARAM, LPARAM lParam) {
  EndSizeDetail(static_cast<UINT>(lParam));
  return 0;
}

void CMainDlg::EndSizeDetail(UINT row) {
  if (row < static_cast<UINT>(kPageRows)) wireSizeEdits_[row].ClearHighlight();
  // The text posted with OK lives in the dialog object, so it goes only after the edit has it.
  if (detailDialog_) {
    detailDialog_->DestroyWindow();
    detailDialog_.reset();
  }
}
