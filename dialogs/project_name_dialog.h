// CNewProjDlg: the dialog that asks for one name (template 202), for a new project, a new
// pattern, a copy of a project or a pattern saved under another name.
//
// The mode given at construction chooses the caption and the prompt:
//   kNewProject    "新規プロジェクト"      "プロジェクト名を入力して下さい。"   (the palette)
//   kNewPattern    "新規パターン"          "パターン名を入力して下さい。"       (the palette)
//   kCopyProject   "プロジェクトのコピー"  "プロジェクト名を入力して下さい。"   (the project list)
//   kSavePatternAs "パターンの別名保存"    "パターン名を入力して下さい。"       (the palette)
//
// OK with an empty name shows the prompt itself as an error (stop icon) and keeps the dialog
// open; any other name ends it with IDOK exactly as typed, blanks and all. Whether the name is
// free or can be a file name is the caller's business: after IDOK the caller may show the same
// object again with DoModal, and the edit then shows the name entered last, so that a taken
// name can be corrected. The dialog centres itself on its parent window.
//
// Open it with Harnex's resources current (HarnexResourceScope).
#pragma once

#include <acui.h>

class CNewProjDlg : public CAcUiDialog {
 public:
  enum Mode : UINT {
    kNewProject = 0,
    kNewPattern = 1,
    kCopyProject = 2,
    kSavePatternAs = 3,
  };

  // `mode` 0 to 3 (other values are taken as kNewProject); `parent` is not owned and may be null
  // (the dialog then stays where the template puts it).
  CNewProjDlg(UINT mode, CWnd* parent);

  // The name entered last (empty until an OK).
  CString GetName() const { return name_; }

  // The caption and the prompt of a mode.
  static LPCWSTR CaptionOf(UINT mode);
  static LPCWSTR PromptOf(UINT mode);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  DECLARE_MESSAGE_MAP()

 private:
  void CenterOnParent();

  CString name_;
  CString prompt_;
  UINT mode_;
  CWnd* parent_;
};
