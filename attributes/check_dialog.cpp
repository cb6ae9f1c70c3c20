// CCheckDlg: the settings check window, its marking colour and its two buttons.
#include "attributes/check_dialog.h"

#include <aced.h>

#include "app/harnex_module.h"
#include "attributes/colour_recovery.h"
#include "attributes/trunk_check.h"
#include "resources/resource.h"

namespace {

// The colour every new window marks with: red, colour index 1.
constexpr COLORREF kStartColour = RGB(255, 0, 0);

}  // namespace

BEGIN_MESSAGE_MAP(CCheckDlg, CAcUiDialog)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CCheckDlg::OnAcadKeepFocus)
ON_BN_CLICKED(IDC_CHECK_COLOUR, &CCheckDlg::OnChooseColour)
ON_BN_CLICKED(IDC_CHECK_RUN, &CCheckDlg::OnRun)
ON_BN_CLICKED(IDC_CHECK_CLEAR, &CCheckDlg::OnClear)
ON_WM_CLOSE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CCheckDlg::CCheckDlg(CWnd* parent)
    : CAcUiDialog(IDD_CHECK_SETTINGS, parent),
      m_parent(parent),
      m_colour(kStartColour),
      m_swatch(RGB(192, 192, 192)) {}

CCheckDlg::~CCheckDlg() {
  if (m_hWnd) DestroyWindow();
}

BOOL CCheckDlg::Create() {
  return CAcUiDialog::Create(IDD_CHECK_SETTINGS, m_parent);
}

void CCheckDlg::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_CHECK_COLOUR, m_swatch);
}

BOOL CCheckDlg::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  m_colour = kStartColour;
  m_colourIndex.Format(L"%d", CAcUiColorComboBox::GetColorIndex(m_colour));
  m_swatch.SetColor(m_colour);
  CentreOverParent();
  return TRUE;
}

void CCheckDlg::CentreOverParent() {
  if (m_parent == nullptr || m_parent->m_hWnd == nullptr) return;
  CRect parent;
  CRect own;
  m_parent->GetWindowRect(&parent);
  GetWindowRect(&own);
  // Each half is taken on its own and rounded toward zero, as integer division does.
  const int left = parent.left + (parent.Width() / 2 - own.Width() / 2);
  const int top = parent.top + (parent.Height() / 2 - own.Height() / 2);
  SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

LRESULT CCheckDlg::OnAcadKeepFocus(WPARAM, LPARAM) {
  return TRUE;
}

void CCheckDlg::OnChooseColour() {
  int index = CAcUiColorComboBox::GetColorIndex(m_colour);
  // ByLayer and ByBlock would not show the elements, so they are not offered.
  if (acedSetColorDialog(index, false, 0)) {
    m_colourIndex.Format(L"%d", index);
    m_colour = CAcUiColorComboBox::GetColorFromIndex(index);
    m_swatch.SetColor(m_colour);
  }
  // The colour dialog took the focus; the user goes on from the swatch either way
  // (GotoDlgCtrl is the dialog manager's WM_NEXTDLGCTL with the swatch's window).
  GotoDlgCtrl(&m_swatch);
}

void CCheckDlg::OnRun() {
  RunCheck(_wtoi(m_colourIndex), CheckLocking::kDialog);
}

void CCheckDlg::OnClear() {
  RecoverColours();
}

void CCheckDlg::OnClose() {
  CheckDlgInstance = nullptr;
  CAcUiDialog::OnClose();
}

void CCheckDlg::OnDestroy() {
  CheckDlgInstance = nullptr;
  CAcUiDialog::OnDestroy();
}
