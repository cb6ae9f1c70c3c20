// The control classes' own operations (creation, list texts, the list view model) and the
// recording device context with its GDI objects.
#include <algorithm>

#include <afxcmn.h>
#include "platform/win/wide_string.h"
#include "platform/mfc/window_system.h"

using platform::mfc::FindWindowRecord;
using platform::mfc::WindowRecord;

BOOL CButton::Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT nID) {
  return CWnd::Create(L"Button", caption, style, rect, parent, nID);
}
BOOL CStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT nID) {
  return CWnd::Create(L"Static", text, style, rect, parent, nID);
}
BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID) {
  return CWnd::Create(L"Edit", L"", style, rect, parent, nID);
}
BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID) {
  return CWnd::Create(L"ComboBox", L"", style, rect, parent, nID);
}
BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID) {
  return CWnd::Create(L"ListBox", L"", style, rect, parent, nID);
}
BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID) {
  return CWnd::Create(L"SysListView32", L"", style, rect, parent, nID);
}
BOOL CListCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT nID) {
  return CWnd::CreateEx(exStyle, L"SysListView32", L"", style, rect, parent, nID);
}

void CEdit::GetSel(int& start, int& end) const {
  DWORD a = 0, b = 0;
  SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  start = static_cast<int>(a);
  end = static_cast<int>(b);
}

void CComboBox::GetLBText(int i, CString& s) const {
  int n = GetLBTextLen(i);
  if (n < 0) {
    s.Empty();
    return;
  }
  GetLBText(i, s.GetBuffer(n + 1));
  s.ReleaseBuffer(n);
}

void CListBox::GetText(int i, CString& s) const {
  int n = GetTextLen(i);
  if (n < 0) {
    s.Empty();
    return;
  }
  GetText(i, s.GetBuffer(n + 1));
  s.ReleaseBuffer(n);
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
  DWORD r = static_cast<DWORD>(SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y)));
  bOutside = HIWORD(r);
  return LOWORD(r);
}

// The list view model.

namespace platform::mfc {
BOOL SetListItemState(HWND list, int item, UINT state, UINT mask) {
  WindowRecord* r = FindWindowRecord(list);
  if (!r) return FALSE;
  int n = static_cast<int>(r->items.size());
  if (item < -1 || item >= n) return FALSE;
  for (int i = (item < 0 ? 0 : item); i < (item < 0 ? n : item + 1); ++i) {
    r = FindWindowRecord(list);
    if (!r || i >= static_cast<int>(r->items.size())) break;
    UINT old = r->items[i].state;
    UINT now = (old & ~mask) | (state & mask);
    // A single-selection list keeps one selected row.
    if ((now & LVIS_SELECTED) && !(old & LVIS_SELECTED) && (r->style & LVS_SINGLESEL)) {
      for (int k = 0; k < static_cast<int>(r->items.size()); ++k) {
        if (k != i && (r->items[k].state & LVIS_SELECTED))
          SetListItemState(list, k, 0, LVIS_SELECTED);
      }
      r = FindWindowRecord(list);
      if (!r) return TRUE;
    }
    if (now == old) continue;
    r->items[i].state = now;
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = list;
    nm.hdr.idFrom = r->id;
    nm.hdr.code = LVN_ITEMCHANGED;
    nm.iItem = i;
    nm.uNewState = now;
    nm.uOldState = old;
    nm.uChanged = LVIF_STATE;
    nm.lParam = r->items[i].data;
    if (r->parent) ::SendMessageW(r->parent, WM_NOTIFY, r->id, reinterpret_cast<LPARAM>(&nm));
  }
  return TRUE;
}
}  // namespace platform::mfc

namespace {
WindowRecord* Rec(HWND h) {
  return FindWindowRecord(h);
}
bool RowOk(const WindowRecord* r, int i) {
  return r && i >= 0 && i < static_cast<int>(r->items.size());
}
}  // namespace

int CListCtrl::InsertColumn(int nCol, LPCTSTR heading, int nFormat, int nWidth, int) {
  WindowRecord* r = Rec(m_hWnd);
  if (!r || nCol < 0) return -1;
  nCol = std::min<int>(nCol, static_cast<int>(r->columns.size()));
  r->columns.insert(
      r->columns.begin() + nCol,
      platform::mfc::ColumnRecord{heading ? heading : L"", nWidth < 0 ? 0 : nWidth, nFormat});
  // Sub-item texts shift with the columns (column 0 is the item text itself).
  if (nCol > 0) {
    for (auto& item : r->items) {
      if (static_cast<int>(item.subitems.size()) >= nCol) {
        item.subitems.insert(item.subitems.begin() + (nCol - 1), L"");
      }
    }
  }
  return nCol;
}

BOOL CListCtrl::DeleteColumn(int nCol) {
  WindowRecord* r = Rec(m_hWnd);
  if (!r || nCol < 0 || nCol >= static_cast<int>(r->columns.size())) return FALSE;
  r->columns.erase(r->columns.begin() + nCol);
  for (auto& item : r->items) {
    if (nCol == 0) {
      item.text = item.subitems.empty() ? L"" : item.subitems.front();
      if (!item.subitems.empty()) item.subitems.erase(item.subitems.begin());
    } else if (static_cast<int>(item.subitems.size()) >= nCol) {
      item.subitems.erase(item.subitems.begin() + (nCol - 1));
    }
  }
  return TRUE;
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
  WindowRecord* r = Rec(m_hWnd);
  if (!r || nCol < 0 || nCol >= static_cast<int>(r->columns.size())) return FALSE;
  r->columns[nCol].width = cx;
  return TRUE;
}

int CListCtrl::GetColumnWidth(int nCol) const {
  WindowRecord* r = Rec(m_hWnd);
  if (!r || nCol < 0 || nCol >= static_cast<int>(r->columns.size())) return 0;
  return r->columns[nCol].width;
}

int CListCtrl::InsertItem(int nItem, LPCTSTR text) {
  WindowRecord* r = Rec(m_hWnd);
  if (!r || nItem < 0) return -1;
  nItem = std::min<int>(nItem, static_cast<int>(r->items.size()));
  platform::mfc::ItemRecord item;
  item.text = text ? text : L"";
  r->items.insert(r->items.begin() + nItem, std::move(item));
  return nItem;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR text) {
  WindowRecord* r = Rec(m_hWnd);
  if (!RowOk(r, nItem) || nSubItem < 0) return FALSE;
  auto& item = r->items[nItem];
  if (nSubItem == 0) {
    item.text = text ? text : L"";
    return TRUE;
  }
  if (static_cast<int>(item.subitems.size()) < nSubItem) item.subitems.resize(nSubItem);
  item.subitems[nSubItem - 1] = text ? text : L"";
  return TRUE;
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
  WindowRecord* r = Rec(m_hWnd);
  if (!RowOk(r, nItem) || nSubItem < 0) return CString();
  const auto& item = r->items[nItem];
  if (nSubItem == 0) return CString(item.text);
  return nSubItem <= static_cast<int>(item.subitems.size()) ? CString(item.subitems[nSubItem - 1])
                                                            : CString();
}

BOOL CListCtrl::DeleteItem(int nItem) {
  WindowRecord* r = Rec(m_hWnd);
  if (!RowOk(r, nItem)) return FALSE;
  r->items.erase(r->items.begin() + nItem);
  return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
  WindowRecord* r = Rec(m_hWnd);
  if (!r) return FALSE;
  r->items.clear();
  return TRUE;
}

int CListCtrl::GetItemCount() const {
  WindowRecord* r = Rec(m_hWnd);
  return r ? static_cast<int>(r->items.size()) : 0;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR data) {
  WindowRecord* r = Rec(m_hWnd);
  if (!RowOk(r, nItem)) return FALSE;
  r->items[nItem].data = static_cast<LPARAM>(data);
  return TRUE;
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
  WindowRecord* r = Rec(m_hWnd);
  return RowOk(r, nItem) ? static_cast<DWORD_PTR>(r->items[nItem].data) : 0;
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
  WindowRecord* r = Rec(m_hWnd);
  return RowOk(r, nItem) ? (r->items[nItem].state & nMask) : 0;
}

UINT CListCtrl::GetSelectedCount() const {
  WindowRecord* r = Rec(m_hWnd);
  if (!r) return 0;
  return static_cast<UINT>(std::count_if(r->items.begin(), r->items.end(), [](const auto& i) {
    return (i.state & LVIS_SELECTED) != 0;
  }));
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const {
  WindowRecord* r = Rec(m_hWnd);
  if (!r) return -1;
  for (int i = nItem + 1; i < static_cast<int>(r->items.size()); ++i) {
    if (!(nFlags & LVNI_SELECTED) || (r->items[i].state & LVIS_SELECTED)) return i;
  }
  return -1;
}

// Positions are the row index plus one, so that null ends the walk.
POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  int i = GetNextItem(-1, LVNI_SELECTED);
  return i < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<intptr_t>(i + 1));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
  int i = static_cast<int>(reinterpret_cast<intptr_t>(pos)) - 1;
  int next = GetNextItem(i, LVNI_SELECTED);
  pos = next < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<intptr_t>(next + 1));
  return i;
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) {
  WindowRecord* r = Rec(m_hWnd);
  if (!r) return 0;
  DWORD old = r->lv_ex_style;
  r->lv_ex_style = style;
  return old;
}

DWORD CListCtrl::GetExtendedStyle() const {
  WindowRecord* r = Rec(m_hWnd);
  return r ? r->lv_ex_style : 0;
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, DWORD_PTR lParamSort) {
  WindowRecord* r = Rec(m_hWnd);
  if (!r || !compare) return FALSE;
  // Sort an order of the rows, not the rows themselves: the callback may look at the list.
  std::vector<size_t> order(r->items.size());
  std::vector<LPARAM> data(r->items.size());
  for (size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
    data[i] = r->items[i].data;
  }
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return compare(data[a], data[b], static_cast<LPARAM>(lParamSort)) < 0;
  });
  r = Rec(m_hWnd);
  if (!r || r->items.size() != order.size()) return FALSE;
  std::vector<platform::mfc::ItemRecord> sorted;
  sorted.reserve(order.size());
  for (size_t i : order) sorted.push_back(std::move(r->items[i]));
  r->items = std::move(sorted);
  return TRUE;
}

// GDI objects and the recording device context.

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
