// The control classes' own operations: creation, list texts and the list view model.
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
