// CMenuEdit: the wire-size edit of a control row. Its own context menu offers the size detail
// ("サイズ詳細(&S)") besides the usual editing commands, and the edit shows black on yellow while
// the detail it asked its owner for is open.
//
// The menu, at the point of WM_CONTEXTMENU, after the edit took the keyboard focus:
//   0 "サイズ詳細(&S)"  0x3403  greyed when read-only (ES_READONLY)
//   1 separator
//   2 "元に戻す(&U)"    199     greyed when the edit cannot undo, or read-only
//   3 separator
//   4 "切り取り(&T)"    768     greyed like 2 (it follows undo, not the selection)
//   5 "コピー(&C)"      769     greyed when nothing is selected
//   6 "貼り付け(&P)"    770     greyed when the clipboard holds no text (CF_TEXT), or read-only
//   7 "削除(&D)"        771     greyed like 6 (it follows paste, not the selection)
//   8 separator
//   9 "すべて選択(&A)"  0x7400  greyed when the text is empty or already all selected
//
// Picking "サイズ詳細(&S)" with an owner set selects the whole text, posts
// kSizeDetailMessage (wParam: the row, lParam: 0) to the owner and highlights the edit until
// ClearHighlight. Without an owner it does nothing of its own.
//
// Colours (the reflected WM_CTLCOLOR, every kind): a disabled edit gets the disabled colours
// (COLOR_GRAYTEXT on COLOR_BTNFACE), else a highlighted one black on yellow, else
// COLOR_WINDOWTEXT on COLOR_WINDOW. The system colours are read once, at construction.
#pragma once

#include <afxwin.h>

// Posted to the owner when the user asks for the size detail of the row (WM_USER + 0x3003).
constexpr UINT kSizeDetailMessage = 0x3403;
// The menu's own command ids besides the edit messages (EM_UNDO, WM_CUT ... WM_CLEAR).
constexpr UINT kSizeDetailCommand = 0x3403;
constexpr UINT kSelectAllCommand = 0x7400;

class CMenuEdit : public CEdit {
 public:
  CMenuEdit();
  ~CMenuEdit() override;

  // `owner` (not owned; null: none) receives kSizeDetailMessage with `row`. The palette gives
  // each of its ten wire-size edits itself and the control row 0 to 9.
  void SetOwnerRow(CWnd* owner, int row);
  // Back to the normal colours, redrawn at once (frame and background too). The owner calls it
  // when the detail for this row ends, with or without a choice.
  void ClearHighlight();
  bool IsHighlighted() const { return highlighted_; }

 protected:
  // Runs the menu's commands; the base handling follows the size detail and unknown ids.
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()

 private:
  CWnd* owner_ = nullptr;
  int row_ = 0;
  bool highlighted_ = false;
  COLORREF highlightText_;
  COLORREF highlightBack_;
  CBrush highlightBrush_;
  COLORREF normalText_;
  COLORREF normalBack_;
  CBrush normalBrush_;
  COLORREF disabledBack_;
  COLORREF disabledText_;
  CBrush disabledBrush_;
};
