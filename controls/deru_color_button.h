// CDeruColorButton: an owner-drawn button that shows a colour, with the 3-D frame of a push
// button drawn round it. The settings check dialog shows the check colour with it (constructed
// with RGB(192, 192, 192)). The button's template style must be BS_OWNERDRAW; its caption is
// never drawn.
//
// DrawItem (for ODA_DRAWENTIRE, ODA_SELECT or ODA_FOCUS; other actions draw nothing) fills the
// client rectangle with the colour, outlined with the device context's current pen, then draws
// the frame with width-0 solid pens, where L, T, R, B are the rectangle's edges:
//   no focus, not pushed  white (R,T)-(L,T)-(L,B-1), black on to (R-1,B-1)-(R-1,T+1)
//   no focus, pushed      black (R,T)-(L,T)-(L,B-1), white on to (R-1,B-1)-(R-1,T)
//   focus, not pushed     white (R-2,T+1)-(L+1,T+1)-(L+1,B-2), black on to (R-2,B-2)-(R-2,T+1),
//                         then black (R,T)-(L,T)-(L,B)-(R,B)-(R,T)
//   focus, pushed         black (R-1,T+1)-(L+1,T+1)-(L+1,B-2), white on to (R-2,B-2)-(R-2,T+1),
//                         then black (R,T)-(L,T)-(L,B)-(R,B)-(R,T)
// With the focus (ODS_FOCUS) a dotted focus rectangle in the inverse colour (colour XOR
// 0xFFFFFF) follows: (R-4,T+3)-(L+3,T+3)-(L+3,B-4)-(R-4,B-4)-(R-4,T+3). Pushed is ODS_SELECTED.
// The text colour (the inverse) and background colour (the colour) are set while drawing and
// restored after, as are the pen and brush.
#pragma once

#include <afxwin.h>

class CDeruColorButton : public CButton {
 public:
  explicit CDeruColorButton(COLORREF colour);

  // Stores the colour and invalidates the whole button, background included, so that it is
  // drawn again in it.
  void SetColor(COLORREF colour);
  COLORREF GetColor() const { return colour_; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  COLORREF colour_;
};
