// CXTipComboBox: a combo box that shows its whole text in a tip when the text is wider than the
// box, whose drop-down list is a CXTipListBox, and whose list opens as wide as its widest item
// (the widening of CExComboBox). The palette's row combo boxes are of this kind.
//
// When subclassed it makes its tooltip (tip_window.h). The test rectangle is the client area
// less the drop-down button (SM_CXHTHUMB + 2 pixels on the right). On WM_MOUSEMOVE inside it,
// when the window text is wider than the rectangle minus 6 pixels, the tip shows the text at the
// rectangle's left + 1, top + 3 (screen coordinates), COLOR_WINDOWTEXT on COLOR_WINDOW, or
// COLOR_HIGHLIGHTTEXT on COLOR_HIGHLIGHT while the box has the keyboard focus, and a timer (id 1,
// 80 ms) starts; a text that fits, or the mouse outside, hides it. The timer hides the tip and
// stops once the cursor has left the test rectangle. Default processing follows every mouse move.
//
// The drop-down list window is subclassed with the CXTipListBox on its first colour request
// (CTLCOLOR_LISTBOX) and let go again on WM_DESTROY.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include "controls/xtip_list_box.h"

class CXTipComboBox : public CComboBox {
 public:
  // The tooltip window, null until the box is subclassed.
  HWND GetToolTip() const { return toolTip_; }
  // The drop-down list; not attached to a window until the list was first shown.
  CXTipListBox& DropList() { return list_; }

 protected:
  void PreSubclassWindow() override;
  afx_msg void OnDropDown();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnDestroy();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()

 private:
  // The client area less the drop-down button.
  CRect TestRect() const;

  CXTipListBox list_;
  HWND toolTip_ = nullptr;
  TOOLINFO toolInfo_{};
};
