// GDI objects and the recording device context, and the colours and drawing of the controls
// that their parents paint.
#include <algorithm>

#include <afxcmn.h>
#include "platform/win/wide_string.h"
#include "platform/mfc/window_system.h"

using platform::mfc::FindWindowRecord;
using platform::mfc::WindowRecord;

BOOL CPen::CreatePen(int s, int w, COLORREF c) {
  style = s;
  width = w;
  color = c;
  m_hObject = this;
  return TRUE;
}

BOOL CBrush::CreateSolidBrush(COLORREF c) {
  color = c;
  m_hObject = this;
  return TRUE;
}

BOOL CFont::CreatePointFont(int tenths, LPCTSTR face, CDC*) {
  point_tenths = tenths;
  face = face ? face : L"";
  m_hObject = this;
  return TRUE;
}

CDC::CDC() {
  m_hDC = reinterpret_cast<HDC>(this);
  default_pen_.CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
  default_brush_.CreateSolidBrush(RGB(255, 255, 255));
  pen_ = &default_pen_;
  brush_ = &default_brush_;
}

void CDC::Record(const char* op, std::vector<long> args, std::wstring text) {
  ops.push_back(DrawOp{op, std::move(args), std::move(text)});
}

CPen* CDC::SelectObject(CPen* pen) {
  CPen* old = pen_;
  if (pen) {
    pen_ = pen;
    Record("SelectPen", {pen->style, pen->width, static_cast<long>(pen->color)});
  }
  return old;
}

CBrush* CDC::SelectObject(CBrush* brush) {
  CBrush* old = brush_;
  if (brush) {
    brush_ = brush;
    Record("SelectBrush", {static_cast<long>(brush->color)});
  }
  return old;
}

CFont* CDC::SelectObject(CFont* font) {
  CFont* old = font_;
  if (font) font_ = font;
  return old;
}

CGdiObject* CDC::SelectStockObject(int) {
  return nullptr;
}

int CDC::SaveDC() {
  saved_.push_back(Saved{pen_, brush_, font_, text_color_, bk_color_, bk_mode_});
  return static_cast<int>(saved_.size());
}

BOOL CDC::RestoreDC(int saved) {
  int index = saved < 0 ? static_cast<int>(saved_.size()) + saved : saved - 1;
  if (index < 0 || index >= static_cast<int>(saved_.size())) return FALSE;
  const Saved& s = saved_[index];
  pen_ = s.pen;
  brush_ = s.brush;
  font_ = s.font;
  text_color_ = s.text;
  bk_color_ = s.bk;
  bk_mode_ = s.mode;
  saved_.resize(index);
  return TRUE;
}

COLORREF CDC::SetTextColor(COLORREF c) {
  COLORREF old = text_color_;
  text_color_ = c;
  Record("SetTextColor", {static_cast<long>(c)});
  return old;
}

COLORREF CDC::SetBkColor(COLORREF c) {
  COLORREF old = bk_color_;
  bk_color_ = c;
  Record("SetBkColor", {static_cast<long>(c)});
  return old;
}

int CDC::SetBkMode(int mode) {
  int old = bk_mode_;
  bk_mode_ = mode;
  Record("SetBkMode", {mode});
  return old;
}

BOOL CDC::Rectangle(int l, int t, int r, int b) {
  Record("Rectangle",
         {l, t, r, b, static_cast<long>(pen_->color), static_cast<long>(brush_->color)});
  return TRUE;
}

void CDC::FillSolidRect(LPCRECT r, COLORREF c) {
  Record("FillSolidRect", {r->left, r->top, r->right, r->bottom, static_cast<long>(c)});
  bk_color_ = c;  // FillSolidRect leaves the background colour set, as GDI does
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF c) {
  RECT r{x, y, x + cx, y + cy};
  FillSolidRect(&r, c);
}

void CDC::FillRect(LPCRECT r, CBrush* brush) {
  Record("FillRect",
         {r->left, r->top, r->right, r->bottom, static_cast<long>(brush ? brush->color : 0)});
}

CPoint CDC::MoveTo(int x, int y) {
  Record("MoveTo", {x, y});
  return CPoint(x, y);
}

BOOL CDC::LineTo(int x, int y) {
  Record("LineTo", {x, y, static_cast<long>(pen_->color), pen_->style});
  return TRUE;
}

BOOL CDC::TextOut(int x, int y, const CString& text) {
  Record("TextOut", {x, y, static_cast<long>(text_color_)}, text.GetString());
  return TRUE;
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
  CSize extent = GetTextExtent(text);
  if (format & DT_CALCRECT) {
    rect->right = rect->left + extent.cx;
    rect->bottom = rect->top + extent.cy;
    return extent.cy;
  }
  Record("DrawText", {rect->left, rect->top, rect->right, rect->bottom, static_cast<long>(format)},
         text.GetString());
  return extent.cy;
}

void CDC::DrawFocusRect(LPCRECT r) {
  Record("DrawFocusRect", {r->left, r->top, r->right, r->bottom});
}

CSize CDC::GetTextExtent(LPCTSTR text, int count) const {
  // 9 point: full-width characters 12 pixels, the others 6; other sizes scale with the height.
  int tenths = font_ ? font_->point_tenths : 90;
  int height = (tenths * 96 / 72 + 5) / 10;
  int units = 0;
  for (int i = 0; i < count && text && text[i]; ++i) {
    units += platform::IsFullWidthChar(static_cast<char32_t>(text[i])) ? 2 : 1;
  }
  return CSize(units * height / 2, height);
}

CSize CDC::GetTextExtent(const CString& text) const {
  return GetTextExtent(text.GetString(), text.GetLength());
}

// Painting requests that the host or tests make instead of a screen.

namespace platform::mfc {

HBRUSH QueryControlColors(HWND control, COLORREF* text, COLORREF* background) {
  WindowRecord* r = FindWindowRecord(control);
  if (!r) return nullptr;
  UINT msg = WM_CTLCOLORSTATIC;
  if (r->class_name == L"Edit") {
    msg =
        (r->style & ES_READONLY) || (r->style & WS_DISABLED) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  } else if (r->class_name == L"ListBox") {
    msg = WM_CTLCOLORLISTBOX;
  } else if (r->class_name == L"Button") {
    msg = WM_CTLCOLORBTN;
  } else if (r->class_name == L"ComboBox") {
    msg = WM_CTLCOLOREDIT;
  }
  CDC dc;
  dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
  dc.SetBkColor(GetSysColor(COLOR_WINDOW));
  HWND target = r->parent ? r->parent : control;
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
      target, msg, reinterpret_cast<WPARAM>(dc.m_hDC), reinterpret_cast<LPARAM>(control)));
  if (text) *text = dc.GetTextColor();
  if (background) *background = dc.GetBkColor();
  return brush;
}

std::vector<DrawOp> PaintOwnerDrawn(HWND control, UINT action, UINT state) {
  WindowRecord* r = FindWindowRecord(control);
  if (!r || !r->parent) return {};
  CDC dc;
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = r->id;
  dis.itemAction = action;
  dis.itemState = state;
  dis.hwndItem = control;
  dis.hDC = dc.m_hDC;
  ::GetClientRect(control, &dis.rcItem);
  ::SendMessageW(r->parent, WM_DRAWITEM, r->id, reinterpret_cast<LPARAM>(&dis));
  return dc.ops;
}

}  // namespace platform::mfc
