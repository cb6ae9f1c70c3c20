// CXTipListBox: a list box that shows an item's full text in a tip laid over the item when the
// item is too narrow for it. It is the drop-down list of CXTipComboBox.
//
// When subclassed it makes its tooltip (tip_window.h) without a border, so that the tip, in the
// highlight colours, lies flush on the item it repeats. On WM_MOUSEMOVE over an item whose text is
// wider than the item minus 3 pixels, the tip shows that text at the item's top-left corner and
// a timer (id 1, 80 ms) starts; a text that fits, or the mouse outside the client area, hides it.
// The timer hides the tip and stops once the cursor has left the client area or the list is no
// longer visible (the drop-down closed). Default processing follows every mouse move.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

class CXTipListBox : public CListBox {
 public:
  // The tooltip window, null until the list is subclassed.
  HWND GetToolTip() const { return toolTip_; }

 protected:
  void PreSubclassWindow() override;
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()

 private:
  HWND toolTip_ = nullptr;
  TOOLINFO toolInfo_{};
};
