// CDeruColorButton: the colour swatch with a push button's frame.
#include "controls/deru_color_button.h"

#include <windows.h>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A path that starts with a move to its first point.
void Path(CDC& dc, std::initializer_list<POINT> points) {
  auto it = points.begin();
  dc.MoveTo(it->x, it->y);
  for (++it; it != points.end(); ++it) dc.LineTo(it->x, it->y);
}

// A path that goes on from where the pen is.
void PathOn(CDC& dc, std::initializer_list<POINT> points) {
  for (const POINT& p : points) dc.LineTo(p.x, p.y);
}

}  // namespace

BEGIN_MESSAGE_MAP(CDeruColorButton, CButton)
END_MESSAGE_MAP()

CDeruColorButton::CDeruColorButton(COLORREF colour) : colour_(colour) {}

void CDeruColorButton::SetColor(COLORREF colour) {
  colour_ = colour;
  Invalidate(TRUE);
}

void CDeruColorButton::DrawItem(LPDRAWITEMSTRUCT dis) {
  if (!(dis->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS))) return;
  CDC* dc = CDC::FromHandle(dis->hDC);
  CRect rect;
  GetClientRect(&rect);
  const COLORREF inverse = colour_ ^ 0xFFFFFF;

  CBrush fill(colour_);
  CBrush* oldBrush = dc->SelectObject(&fill);
  dc->Rectangle(&rect);
  const COLORREF oldText = dc->SetTextColor(inverse);
  const COLORREF oldBack = dc->SetBkColor(colour_);

  CPen white(PS_SOLID, 0, kWhite);
  CPen black(PS_SOLID, 0, kBlack);
  CPen dotted(PS_DOT, 0, inverse);
  CPen* oldPen = dc->GetCurrentPen();
  const bool focus = (dis->itemState & ODS_FOCUS) != 0;
  const bool pushed = (dis->itemState & ODS_SELECTED) != 0;
  const LONG L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  if (!focus) {
    dc->SelectObject(pushed ? &black : &white);
    Path(*dc, {{R, T}, {L, T}, {L, B - 1}});
    dc->SelectObject(pushed ? &white : &black);
    PathOn(*dc, {{R - 1, B - 1}, {R - 1, pushed ? T : T + 1}});
  } else {
    dc->SelectObject(pushed ? &black : &white);
    Path(*dc, {{pushed ? R - 1 : R - 2, T + 1}, {L + 1, T + 1}, {L + 1, B - 2}});
    dc->SelectObject(pushed ? &white : &black);
    PathOn(*dc, {{R - 2, B - 2}, {R - 2, T + 1}});
    dc->SelectObject(&black);
    Path(*dc, {{R, T}, {L, T}, {L, B}, {R, B}, {R, T}});

    dc->SelectObject(&dotted);
    Path(*dc, {{R - 4, T + 3}, {L + 3, T + 3}, {L + 3, B - 4}, {R - 4, B - 4}, {R - 4, T + 3}});
  }
  dc->SelectObject(oldPen);
  dc->SelectObject(oldBrush);
  dc->SetTextColor(oldText);
  dc->SetBkColor(oldBack);
}
