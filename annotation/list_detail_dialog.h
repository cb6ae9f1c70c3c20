// CListDetailDlg: the list details dialog (template 211, "リストの詳細"), the sizes of the wiring
// list table, opened by the palette's "詳".
//
// It shows the list section of the settings file (annotation_settings.h), each value converted
// to a number and shown with "%.1f":
//   401 文字高さ  402 文字幅  403 表の行高さ (key "行高さ")  404 各項目の左側余白 ("オフセット1")
//   405 各項目の右側余白 ("オフセット2")
// OK converts the five edits to numbers (text that is no number gives 0). A row height not
// greater than the text height is refused with "表の行高さは文字高さより大きな値を指定して下さい。"
// (stop icon) and the dialog stays open; nothing else is checked. Accepted values are written in
// their order with "%.1f" and the dialog ends with IDOK. Cancel writes nothing.
//
// Open it modally with Harnex's resources current (HarnexResourceScope).
#pragma once

#include <acui.h>

#include "annotation/annotation_settings.h"

// The refusal of OK.
inline constexpr wchar_t kRowHeightTooSmallMessage[] =
    L"表の行高さは文字高さより大きな値を指定して下さい。";

class CListDetailDlg : public CAcUiDialog {
 public:
  // `parent` (not owned, may be null) owns the dialog.
  explicit CListDetailDlg(CWnd* parent);

  // The five values: after IDOK those accepted and written, before it those read at opening
  // (the defaults before the dialog was shown).
  ListSettings GetListSettings() const { return settings_; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  DECLARE_MESSAGE_MAP()

 private:
  CString path_;
  ListSettings settings_;
  CString texts_[5];  // the edits, in the order of ListSettings
};
