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
  for (int i = 0; i < 5; ++i) DDX_Text(pDX, kEdits[i], m_texts[i]);
}

BOOL CListDetailDlg::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  m_path = SettingsFilePath(ConfigIniPath);
  m_settings = ReadListSettings(m_path);
  const double values[5] = {m_settings.textHeight, m_settings.textWidth, m_settings.rowHeight,
                            m_settings.leftMargin, m_settings.rightMargin};
  for (int i = 0; i < 5; ++i) m_texts[i] = SettingNumberText(values[i]);
  UpdateData(FALSE);
  return TRUE;
}

void CListDetailDlg::OnOK() {
  UpdateData(TRUE);
  ListSettings typed;
  typed.textHeight = ApiComn_atof(m_texts[0]);
  typed.textWidth = ApiComn_atof(m_texts[1]);
  typed.rowHeight = ApiComn_atof(m_texts[2]);
  typed.leftMargin = ApiComn_atof(m_texts[3]);
  typed.rightMargin = ApiComn_atof(m_texts[4]);
  if (!(typed.rowHeight > typed.textHeight)) {
    AfxMessageBox(kRowHeightTooSmallMessage, MB_ICONHAND);
    return;
  }
  m_settings = typed;
  WriteListSettings(m_path, m_settings);
  EndDialog(IDOK);
}
