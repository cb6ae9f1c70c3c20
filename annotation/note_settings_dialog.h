// CNoteSetting: the note settings dialog (template 208, "複数配線注記の設定"), shown by the
// palette's "配線情報記入" before the notes are placed.
//
// It shows the note section of the settings file (annotation_settings.h) as the file holds it:
//   388 文字高さ  390 文字幅  392 行間隔  393 文字開始位置オフセット (key "オフセット")
//   394 引出線角度補正 (checked exactly when the file holds "あり")  395 補正角度
// The texts are read with buffers of 128 characters and shown unchanged; 395 is enabled only
// while 394 is checked. The dialog centres itself on the client area of the window given at
// construction.
//
// OK converts the five edits to numbers (text that is no number gives 0) and accepts them when
// オフセット >= 0, 文字高さ > 0, 文字幅 > 0, 行間隔 >= 0 and, with 394 checked, 補正角度 > 0;
// otherwise it shows "入力値が不正です。" (OK, no icon) and stays open. Accepted values are written
// in this order: the four numbers with "%.1f", "あり" or "なし", then 補正角度 with "%.1f" (also
// when 394 is unchecked); the dialog then ends with IDOK. Cancel writes nothing.
//
// Open it modally with Harnex's resources current (HarnexResourceScope).
#pragma once

#include <acui.h>

// The refusal of OK.
inline constexpr wchar_t kInvalidNoteSettingsMessage[] = L"入力値が不正です。";

class CNoteSetting : public CAcUiDialog {
 public:
  // `parent` (not owned, may be null) is the window the dialog is centred on.
  explicit CNoteSetting(CWnd* parent);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  afx_msg void OnAngleCorrectionClicked();
  afx_msg LRESULT OnAcadKeepFocus(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void CenterOnParentClient();

  CWnd* parent_;
  CString path_;
  CString textHeight_;
  CString textWidth_;
  CString lineGap_;
  CString textOffset_;
  CString correctionAngle_;
  int angleCorrection_ = BST_UNCHECKED;
};
