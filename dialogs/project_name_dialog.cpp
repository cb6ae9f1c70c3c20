// CNewProjDlg: one name, asked with the caption and prompt of the caller's purpose.
#include "dialogs/project_name_dialog.h"

#include <iterator>

#include "resources/resource.h"

namespace {

struct ModeTexts {
  LPCWSTR caption;
  LPCWSTR prompt;
};

constexpr ModeTexts kModeTexts[] = {
    {L"新規プロジェクト", L"プロジェクト名を入力して下さい。"},
    {L"新規パターン", L"パターン名を入力して下さい。"},
    {L"プロジェクトのコピー", L"プロジェクト名を入力して下さい。"},
    {L"パターンの別名保存", L"パターン名を入力して下さい。"},
};

const ModeTexts& TextsOf(UINT mode) {
  return kModeTexts[mode < std::size(kModeTexts) ? mode : 0];
}

}  // namespace

BEGIN_MESSAGE_MAP(CNewProjDlg, CAcUiDialog)
END_MESSAGE_MAP()

CNewProjDlg::CNewProjDlg(UINT mode, CWnd* parent)
    : CAcUiDialog(IDD_NAME_INPUT, parent), mode_(mode), parent_(parent) {}

LPCWSTR CNewProjDlg::CaptionOf(UINT mode) {
  return TextsOf(mode).caption;
}

LPCWSTR CNewProjDlg::PromptOf(UINT mode) {
  return TextsOf(mode).prompt;
}

void CNewProjDlg::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_NAME_EDIT, name_);
  DDX_Text(pDX, IDC_NAME_PROMPT, prompt_);
}

BOOL CNewProjDlg::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  SetWindowText(CaptionOf(mode_));
  prompt_ = PromptOf(mode_);
  UpdateData(FALSE);
  CenterOnParent();
  return TRUE;
}

void CNewProjDlg::OnOK() {
  UpdateData(TRUE);
  if (name_.IsEmpty()) {
    AfxMessageBox(prompt_, MB_ICONSTOP | MB_OK);
    return;
  }
  EndDialog(IDOK);
}

// Half the difference of the sizes, each half truncated on its own: the dialog's centre may lie
// a pixel left of or above the parent's.
void CNewProjDlg::CenterOnParent() {
  if (parent_ == nullptr || parent_->GetSafeHwnd() == nullptr) return;
  CRect parent, own;
  parent_->GetWindowRect(&parent);
  GetWindowRect(&own);
  const int left = parent.left + parent.Width() / 2 - own.Width() / 2;
  const int top = parent.top + parent.Height() / 2 - own.Height() / 2;
  SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
