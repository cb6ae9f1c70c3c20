// CCheckDlg: the settings check window and its one-instance lifecycle.
#include "attributes/check_dialog.h"

#include "app/harnex_module.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CCheckDlg, CAcUiDialog)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CCheckDlg::OnAcadKeepFocus)
ON_WM_CLOSE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CCheckDlg::CCheckDlg(CWnd* parent) : CAcUiDialog(IDD_CHECK_SETTINGS, parent), m_parent(parent) {}

CCheckDlg::~CCheckDlg() {
  if (m_hWnd) DestroyWindow();
}

BOOL CCheckDlg::Create() {
  return CAcUiDialog::Create(IDD_CHECK_SETTINGS, m_parent);
}

LRESULT CCheckDlg::OnAcadKeepFocus(WPARAM, LPARAM) {
  return TRUE;
}

void CCheckDlg::OnClose() {
  CheckDlgInstance = nullptr;
  CAcUiDialog::OnClose();
}

void CCheckDlg::OnDestroy() {
  CheckDlgInstance = nullptr;
  CAcUiDialog::OnDestroy();
}
