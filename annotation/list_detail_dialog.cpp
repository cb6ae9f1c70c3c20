// CListDetailDlg: the sizes of the wiring list table.
#include "annotation/list_detail_dialog.h"

#include <ApiComn.h>

#include "app/harnex_module.h"
#include "resources/resource.h"

namespace {

constexpr int kEdits[5] = {IDC_LIST_TEXT_HEIGHT, IDC_LIST_TEXT_WIDTH, IDC_LIST_ROW_HEIGHT,
                           IDC_LIST_LEFT_MARGIN, IDC_LIST_RIGHT_MARGIN};

}  // namespace

BEGIN_MESSAGE_MAP(CListDetailDlg, CAcUiDialog)
END_MESSAGE_MAP()

CListDetailDlg::CListDetailDlg(CWnd* parent) : CAcUiDialog(IDD_LIST_DETAIL, parent) {}

void CListDetailDlg::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  for (int i = 0; i < 5; ++i) DDX_Text(pDX, kEdits[i], texts_[i]);
}

BOOL CListDetailDlg::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  path_ = SettingsFilePath(ConfigIniPath);
  settings_ = ReadListSettings(path_);
  const double values[5] = {settings_.textHeight, settings_.textWidth, settings_.rowHeight,
                            settings_.leftMargin, settings_.rightMargin};
  for (int i = 0; i < 5; ++i) texts_[i] = SettingNumberText(values[i]);
  UpdateData(FALSE);
  return TRUE;
}

void CListDetailDlg::OnOK() {
  UpdateData(TRUE);
  ListSettings typed;
  typed.textHeight = ApiComn_atof(texts_[0]);
  typed.textWidth = ApiComn_atof(texts_[1]);
  typed.rowHeight = ApiComn_atof(texts_[2]);
  typed.leftMargin = ApiComn_atof(texts_[3]);
  typed.rightMargin = ApiComn_atof(texts_[4]);
  if (!(typed.rowHeight > typed.textHeight)) {
    AfxMessageBox(kRowHeightTooSmallMessage, MB_ICONHAND);
    return;
  }
  settings_ = typed;
  WriteListSettings(path_, settings_);
  EndDialog(IDOK);
}
