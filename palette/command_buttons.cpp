// CMainDlg's command buttons: they start the drawing commands by name, and open the note
// settings, the list details and the settings check window.
#include <ApiComn.h>
#include <acui.h>

#include <memory>

#include "annotation/list_detail_dialog.h"
#include "annotation/note_settings_dialog.h"
#include "app/harnex_module.h"
#include "attributes/check_dialog.h"
#include "dialogs/harnex_resource_scope.h"
#include "palette/main_dialog.h"
#include "resources/resource.h"

namespace {

constexpr wchar_t kNoRowCheckedMessage[] = L"設定するデータをチェックボックスで選択して下さい。";

}  // namespace

void CMainDlg::SendCommand(LPCWSTR command, bool activate) {
  if (activate) ::PostMessageW(adsw_acadDocWnd(), WM_ACTIVATE, WA_ACTIVE, 0);
  // The command runs when this handler has returned; nothing waits for it.
  ApiComn_sendCommand(command, 1, 0, true);
}

void CMainDlg::SendWhenRowsChecked(LPCWSTR command) {
  if (editor_.AnyRowChecked()) {
    SendCommand(command);
  } else {
    AfxMessageBox(kNoRowCheckedMessage, MB_ICONINFORMATION);
  }
}

void CMainDlg::OnAutoSet() {
  if (!project_.Current()) return;
  editor_.CollectPage();
  editor_.RemoveBlankRows();
  editor_.ShowPage();
  SendWhenRowsChecked(L"RQ_HARNEX_AUTOSET");
}

void CMainDlg::OnManualSet() {
  if (!project_.Current()) return;
  editor_.CollectPage();
  SendWhenRowsChecked(L"RQ_HARNEX_MANUALSET");
}

void CMainDlg::OnDrawList() {
  if (!project_.Current()) return;
  editor_.CollectPage();
  editor_.RemoveBlankRows();
  editor_.ShowPage();
  SendCommand(L"RQ_HARNEX_LIST");
}

void CMainDlg::OnDrawNote() {
  INT_PTR result;
  {
    HarnexResourceScope resources;
    CNoteSetting dialog(GetDlgItem(IDC_DRAW_NOTE));
    result = dialog.DoModal();
  }
  if (result == IDOK) SendCommand(L"RQ_HARNEX_DRAWNOTE");
}

void CMainDlg::OnListSettings() {
  HarnexResourceScope resources;
  CListDetailDlg dialog(this);
  if (dialog.DoModal() == IDOK) listSettings_ = dialog.GetListSettings();
}

void CMainDlg::OnCheckSettings() {
  if (CheckDlgInstance) {
    CheckDlgInstance->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return;
  }
  HarnexResourceScope resources;
  // A window closed earlier is only hidden; it goes with its object now.
  checkDialog_.reset();
  checkDialog_ = std::make_unique<CCheckDlg>(this);
  CheckDlgInstance = checkDialog_.get();
  if (!checkDialog_->Create()) {
    CheckDlgInstance = nullptr;
    checkDialog_.reset();
    return;
  }
  checkDialog_->ShowWindow(SW_SHOW);
}

void CMainDlg::OnEquipmentNumbers() {
  SendCommand(L"RQ_EQUIPNUM", false);
}

void CMainDlg::OnSplitDuct() {
  SendCommand(L"RQ_SPLITDUCT");
}
