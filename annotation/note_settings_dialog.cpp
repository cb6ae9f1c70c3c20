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
    : CAcUiDialog(IDD_NOTE_SETTINGS, parent), m_parent(parent) {}

void CNoteSetting::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_NOTE_TEXT_HEIGHT, m_textHeight);
  DDX_Text(pDX, IDC_NOTE_TEXT_WIDTH, m_textWidth);
  DDX_Text(pDX, IDC_NOTE_LINE_GAP, m_lineGap);
  DDX_Text(pDX, IDC_NOTE_TEXT_OFFSET, m_textOffset);
  DDX_Check(pDX, IDC_NOTE_ANGLE_CORRECTION, m_angleCorrection);
  DDX_Text(pDX, IDC_NOTE_CORRECTION_ANGLE, m_correctionAngle);
}

BOOL CNoteSetting::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  m_path = SettingsFilePath(ConfigIniPath);
  auto read = [this](const SettingKey& key) {
    return ReadSettingText(m_path, kNoteSettingsSection, key, kNoteDialogBuffer);
  };
  m_textHeight = read(kNoteTextHeight);
  m_textWidth = read(kNoteTextWidth);
  m_lineGap = read(kNoteLineGap);
  m_textOffset = read(kNoteTextOffset);
  // Only the exact text counts: "あり " with a blank is off.
  if (read(kNoteAngleCorrection) == kSettingOn) {
    m_angleCorrection = BST_CHECKED;
  } else {
    m_angleCorrection = BST_UNCHECKED;
    GetDlgItem(IDC_NOTE_CORRECTION_ANGLE)->EnableWindow(FALSE);
  }
  m_correctionAngle = read(kNoteCorrectionAngle);
  UpdateData(FALSE);
  CenterOnParentClient();
  return TRUE;
}

void CNoteSetting::OnAngleCorrectionClicked() {
  UpdateData(TRUE);
  GetDlgItem(IDC_NOTE_CORRECTION_ANGLE)->EnableWindow(m_angleCorrection == BST_CHECKED);
}

void CNoteSetting::OnOK() {
  UpdateData(TRUE);
  const double textHeight = ApiComn_atof(m_textHeight);
  const double textWidth = ApiComn_atof(m_textWidth);
  const double lineGap = ApiComn_atof(m_lineGap);
  const double textOffset = ApiComn_atof(m_textOffset);
  const double correctionAngle = ApiComn_atof(m_correctionAngle);
  const bool correction = m_angleCorrection == BST_CHECKED;
  const bool valid = textOffset >= 0 && textHeight > 0 && textWidth > 0 && lineGap >= 0 &&
                     (!correction || correctionAngle > 0);
  if (!valid) {
    AfxMessageBox(kInvalidNoteSettingsMessage, MB_OK);
    return;
  }
  WriteSettingNumber(m_path, kNoteSettingsSection, kNoteTextHeight, textHeight);
  WriteSettingNumber(m_path, kNoteSettingsSection, kNoteTextWidth, textWidth);
  WriteSettingNumber(m_path, kNoteSettingsSection, kNoteLineGap, lineGap);
  WriteSettingNumber(m_path, kNoteSettingsSection, kNoteTextOffset, textOffset);
  ::WritePrivateProfileStringW(kNoteSettingsSection, kNoteAngleCorrection.name,
                               correction ? kSettingOn : kSettingOff, m_path);
  WriteSettingNumber(m_path, kNoteSettingsSection, kNoteCorrectionAngle, correctionAngle);
  EndDialog(IDOK);
}

LRESULT CNoteSetting::OnAcadKeepFocus(WPARAM, LPARAM) {
  return TRUE;
}

// The centre of the parent's client area, each half truncated on its own; the size stays.
void CNoteSetting::CenterOnParentClient() {
  if (m_parent == nullptr || m_parent->GetSafeHwnd() == nullptr) return;
  CRect client, own;
  m_parent->GetClientRect(&client);
  m_parent->ClientToScreen(&client);
  GetWindowRect(&own);
  const int left = client.left + client.Width() / 2 - own.Width() / 2;
  const int top = client.top + client.Height() / 2 - own.Height() / 2;
  SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
