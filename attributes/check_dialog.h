// CCheckDlg: the small modeless settings check window (template 209, "設定確認") that the
// palette's "設定確認" opens beside the drawing.
//
// At most one exists: CheckDlgInstance (app/harnex_module.h) points to it from its creation by
// the palette until the user closes it (WM_CLOSE) or its window is destroyed (WM_DESTROY, also
// when the palette goes), when it sets CheckDlgInstance to null. Closing only hides the window,
// as a modeless dialog's end does; whoever made the object frees it, and freeing it destroys a
// window that is still there.
//
// Controls:
//   217  colour swatch  opens AutoCAD's colour dialog; a confirmed colour becomes the marking
//                      colour and the swatch shows it; the focus goes back to the swatch
//   396  "実行"         the trunk-number check (RunCheck) with the marking colour, the window's
//                      own document lock
//   359  "クリア"       the colour recovery, as RQ_HARNEX_RECOVERCOLOR does it
// Every new window starts with red (colour index 1); the colour is not shared with the command
// RQ_HARNEX_CHECKATT nor kept after the window goes. The window keeps the keyboard focus beside
// the drawing (WM_ACAD_KEEPFOCUS answers TRUE).
#pragma once

#include <acui.h>

#include "controls/deru_color_button.h"

class CCheckDlg : public CAcUiDialog {
 public:
  // `parent` (not owned) is the palette.
  explicit CCheckDlg(CWnd* parent);
  ~CCheckDlg() override;
  CCheckDlg(const CCheckDlg&) = delete;
  CCheckDlg& operator=(const CCheckDlg&) = delete;

  // Creates the window modeless from template 209 under the parent given at construction,
  // hidden and centred over the parent. FALSE when the template cannot be found (Harnex's
  // resources must be current).
  BOOL Create();
  using CAcUiDialog::Create;  // the dialog's own overloads stay visible beside this one

  // The marking colour as the check reads it: the colour index text and the swatch's colour.
  const CString& ColourIndexText() const { return colourIndex_; }
  COLORREF Colour() const { return colour_; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg LRESULT OnAcadKeepFocus(WPARAM wParam, LPARAM lParam);
  afx_msg void OnChooseColour();
  afx_msg void OnRun();
  afx_msg void OnClear();
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  // Centres the window over its parent without resizing it.
  void CentreOverParent();

  CWnd* parent_;
  CString colourIndex_;
  COLORREF colour_;
  CDeruColorButton swatch_;
};
