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
      parent_(parent),
      colour_(kStartColour),
      swatch_(RGB(192, 192, 192)) {}

CCheckDlg::~CCheckDlg() {
  if (m_hWnd) DestroyWindow();
}

BOOL CCheckDlg::Create() {
  return CAcUiDialog::Create(IDD_CHECK_SETTINGS, parent_);
}

void CCheckDlg::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_CHECK_COLOUR, swatch_);
}

BOOL CCheckDlg::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  colour_ = kStartColour;
  colourIndex_.Format(L"%d", CAcUiColorComboBox::GetColorIndex(colour_));
  swatch_.SetColor(colour_);
  CentreOverParent();
  return TRUE;
}

void CCheckDlg::CentreOverParent() {
  if (parent_ == nullptr || parent_->m_hWnd == nullptr) return;
  CRect parent;
  CRect own;
  parent_->GetWindowRect(&parent);
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
  int index = CAcUiColorComboBox::GetColorIndex(colour_);
  // ByLayer and ByBlock would not show the elements, so they are not offered.
  if (acedSetColorDialog(index, false, 0)) {
    colourIndex_.Format(L"%d", index);
    colour_ = CAcUiColorComboBox::GetColorFromIndex(index);
    swatch_.SetColor(colour_);
  }
  // The colour dialog took the focus; the user goes on from the swatch either way
  // (GotoDlgCtrl is the dialog manager's WM_NEXTDLGCTL with the swatch's window).
  GotoDlgCtrl(&swatch_);
}

void CCheckDlg::OnRun() {
  RunCheck(_wtoi(colourIndex_), CheckLocking::kDialog);
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
