// CCheckDlg: the small modeless settings check window (template 209, "設定確認") that the
// palette's "設定確認" opens beside the drawing.
//
// At most one exists: CheckDlgInstance (app/harnex_module.h) points to it from its creation by
// the palette until the user closes it (WM_CLOSE) or its window is destroyed (WM_DESTROY, also
// when the palette goes), when it sets CheckDlgInstance to null. Closing only hides the window,
// as a modeless dialog's end does; whoever made the object frees it, and freeing it destroys a
// window that is still there.
//
// The window keeps the keyboard focus beside the drawing (WM_ACAD_KEEPFOCUS answers TRUE). Its
// colour swatch (217), "実行" (396) and "クリア" (359) do nothing yet.
#pragma once

#include <acui.h>

class CCheckDlg : public CAcUiDialog {
 public:
  // `parent` (not owned) is the palette.
  explicit CCheckDlg(CWnd* parent);
  ~CCheckDlg() override;
  CCheckDlg(const CCheckDlg&) = delete;
  CCheckDlg& operator=(const CCheckDlg&) = delete;

  // Creates the window modeless from template 209 under the parent given at construction,
  // hidden. FALSE when the template cannot be found (Harnex's resources must be current).
  BOOL Create();
  using CAcUiDialog::Create;  // the dialog's own overloads stay visible beside this one

 protected:
  afx_msg LRESULT OnAcadKeepFocus(WPARAM wParam, LPARAM lParam);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  CWnd* m_parent;
};
