// CNoteSetting: the sizes of the wiring notes and the leader's angle correction.
#include "annotation/note_settings_dialog.h"

#include <ApiComn.h>

#include "annotation/annotation_settings.h"
#include "app/harnex_module.h"
#include "resources/resource.h"

namespace {

// The note dialog's own reads are shorter than those of the note drawing.
constexpr DWORD kNoteDialogBuffer = 128;

}  // namespace

BEGIN_MESSAGE_MAP(CNoteSetting, CAcUiDialog)
ON_BN_CLICKED(IDC_NOTE_ANGLE_CORRECTION, &CNoteSetting::OnAngleCorrectionClicked)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CNoteSetting::OnAcadKeepFocus)
END_MESSAGE_MAP()

CNoteSetting::CNoteSetting(CWnd* parent)
    : CAcUiDialog(IDD_NOTE_SETTINGS, parent), parent_(parent) {}

void CNoteSetting::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_NOTE_TEXT_HEIGHT, textHeight_);
  DDX_Text(pDX, IDC_NOTE_TEXT_WIDTH, textWidth_);
  DDX_Text(pDX, IDC_NOTE_LINE_GAP, lineGap_);
  DDX_Text(pDX, IDC_NOTE_TEXT_OFFSET, textOffset_);
  DDX_Check(pDX, IDC_NOTE_ANGLE_CORRECTION, angleCorrection_);
  DDX_Text(pDX, IDC_NOTE_CORRECTION_ANGLE, correctionAngle_);
}

BOOL CNoteSetting::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  path_ = SettingsFilePath(ConfigIniPath);
  auto read = [this](const SettingKey& key) {
    return ReadSettingText(path_, kNoteSettingsSection, key, kNoteDialogBuffer);
  };
  textHeight_ = read(kNoteTextHeight);
  textWidth_ = read(kNoteTextWidth);
  lineGap_ = read(kNoteLineGap);
  textOffset_ = read(kNoteTextOffset);
  // Only the exact text counts: "あり " with a blank is off.
  if (read(kNoteAngleCorrection) == kSettingOn) {
    angleCorrection_ = BST_CHECKED;
  } else {
    angleCorrection_ = BST_UNCHECKED;
    GetDlgItem(IDC_NOTE_CORRECTION_ANGLE)->EnableWindow(FALSE);
  }
  correctionAngle_ = read(kNoteCorrectionAngle);
  UpdateData(FALSE);
  CenterOnParentClient();
  return TRUE;
}

void CNoteSetting::OnAngleCorrectionClicked() {
  UpdateData(TRUE);
  GetDlgItem(IDC_NOTE_CORRECTION_ANGLE)->EnableWindow(angleCorrection_ == BST_CHECKED);
}

void CNoteSetting::OnOK() {
  UpdateData(TRUE);
  const double textHeight = ApiComn_atof(textHeight_);
  const double textWidth = ApiComn_atof(textWidth_);
  const double lineGap = ApiComn_atof(lineGap_);
  const double textOffset = ApiComn_atof(textOffset_);
  const double correctionAngle = ApiComn_atof(correctionAngle_);
  const bool correction = angleCorrection_ == BST_CHECKED;
  const bool valid = textOffset >= 0 && textHeight > 0 && textWidth > 0 && lineGap >= 0 &&
                     (!correction || correctionAngle > 0);
  if (!valid) {
    AfxMessageBox(kInvalidNoteSettingsMessage, MB_OK);
    return;
  }
  WriteSettingNumber(path_, kNoteSettingsSection, kNoteTextHeight, textHeight);
  WriteSettingNumber(path_, kNoteSettingsSection, kNoteTextWidth, textWidth);
  WriteSettingNumber(path_, kNoteSettingsSection, kNoteLineGap, lineGap);
  WriteSettingNumber(path_, kNoteSettingsSection, kNoteTextOffset, textOffset);
  ::WritePrivateProfileStringW(kNoteSettingsSection, kNoteAngleCorrection.name,
                               correction ? kSettingOn : kSettingOff, path_);
  WriteSettingNumber(path_, kNoteSettingsSection, kNoteCorrectionAngle, correctionAngle);
  EndDialog(IDOK);
}

LRESULT CNoteSetting::OnAcadKeepFocus(WPARAM, LPARAM) {
  return TRUE;
}

// The centre of the parent's client area, each half truncated on its own; the size stays.
void CNoteSetting::CenterOnParentClient() {
  if (parent_ == nullptr || parent_->GetSafeHwnd() == nullptr) return;
  CRect client, own;
  parent_->GetClientRect(&client);
  parent_->ClientToScreen(&client);
  GetWindowRect(&own);
  const int left = client.left + client.Width() / 2 - own.Width() / 2;
  const int top = client.top + client.Height() / 2 - own.Height() / 2;
  SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
