// The class procedure of list boxes and combo boxes: their items, selection, searches and the
// notifications a user's choice sends, as the standard controls keep them.
#include <algorithm>
#include <cwchar>
#include <string_view>

#include "platform/win/wide_string.h"
#include "platform/mfc/window_state.h"

namespace platform::mfc {

namespace {

// Windows' prefix and whole-string item searches: case-blind, from after start, wrapping.
int FindItem(const std::vector<ItemRecord>& items, int start, const wchar_t* text, bool exact) {
  if (!text) return -1;
  int n = static_cast<int>(items.size());
  if (n == 0) return -1;
  std::wstring_view want(text);
  int first = (start < 0 || start >= n) ? 0 : start + 1;
  for (int k = 0; k < n; ++k) {
    int i = (first + k) % n;
    const std::wstring& t = items[i].text;
    if (exact) {
      if (platform::EqualsNoCase(t, want)) return i;
    } else if (t.size() >= want.size() &&
               platform::EqualsNoCase(std::wstring_view(t).substr(0, want.size()), want)) {
      return i;
    }
  }
  return -1;
}

int InsertItem(WindowRecord& r, int index, const wchar_t* text, bool sorted) {
  ItemRecord item;
  item.text = text ? text : L"";
  int n = static_cast<int>(r.items.size());
  if (sorted) {
    index = 0;
    while (index < n && platform::CompareNoCase(r.items[index].text, item.text) <= 0) ++index;
  } else if (index < 0 || index > n) {
    if (index > n) return -1;
    index = n;
  }
  r.items.insert(r.items.begin() + index, std::move(item));
  if (r.cur_sel >= index) ++r.cur_sel;
  return index;
}

}  // namespace

LRESULT ListProc(HWND h, WindowRecord& r, UINT msg, WPARAM wp, LPARAM lp, bool* handled) {
  *handled = true;
  const bool combo = IsCombo(r);
  const int n = static_cast<int>(r.items.size());
  const int i = static_cast<int>(static_cast<LONG_PTR>(wp));
  const LRESULT err = combo ? CB_ERR : LB_ERR;
  const auto* text = reinterpret_cast<const wchar_t*>(lp);
  auto select = [&](int index) -> LRESULT {
    if (index < 0 || index >= n) {
      r.cur_sel = -1;
      if (combo) SetEditText(r, L"");
      return err;
    }
    r.cur_sel = index;
    if (combo) SetEditText(r, r.items[index].text);
    return index;
  };
  // Combo box and list box messages share their meaning; map list box ones onto the combo's.
  UINT m = msg;
  if (!combo) {
    switch (msg) {
      case LB_ADDSTRING:
        m = CB_ADDSTRING;
        break;
      case LB_INSERTSTRING:
        m = CB_INSERTSTRING;
        break;
      case LB_DELETESTRING:
        m = CB_DELETESTRING;
        break;
      case LB_RESETCONTENT:
        m = CB_RESETCONTENT;
        break;
      case LB_GETCOUNT:
        m = CB_GETCOUNT;
        break;
      case LB_GETCURSEL:
        m = CB_GETCURSEL;
        break;
      case LB_SETCURSEL:
        m = CB_SETCURSEL;
        break;
      case LB_GETTEXT:
        m = CB_GETLBTEXT;
        break;
      case LB_GETTEXTLEN:
        m = CB_GETLBTEXTLEN;
        break;
      case LB_FINDSTRING:
        m = CB_FINDSTRING;
        break;
      case LB_FINDSTRINGEXACT:
        m = CB_FINDSTRINGEXACT;
        break;
      case LB_SELECTSTRING:
        m = CB_SELECTSTRING;
        break;
      case LB_GETITEMDATA:
        m = CB_GETITEMDATA;
        break;
      case LB_SETITEMDATA:
        m = CB_SETITEMDATA;
        break;
      default:
        m = msg + 0x10000;
        break;  // list box only
    }
  }
  const bool sorted = combo ? (r.style & CBS_SORT) != 0 : (r.style & LBS_SORT) != 0;
  switch (m) {
    case CB_ADDSTRING:
      return InsertItem(r, -1, text, sorted);
    case CB_INSERTSTRING: {
      int at = InsertItem(r, i, text, false);
      return at < 0 ? err : at;
    }
    case CB_DELETESTRING:
      if (i < 0 || i >= n) return err;
      r.items.erase(r.items.begin() + i);
      if (r.cur_sel == i) {
        r.cur_sel = -1;
      } else if (r.cur_sel > i) {
        --r.cur_sel;
      }
      return n - 1;
    case CB_RESETCONTENT:
      r.items.clear();
      r.cur_sel = -1;
      if (combo) SetEditText(r, L"");
      return combo ? CB_OKAY : LB_OKAY;
    case CB_GETCOUNT:
      return n;
    case CB_GETCURSEL:
      return r.cur_sel;
    case CB_SETCURSEL:
      return select(i);
    case CB_GETLBTEXT:
      if (i < 0 || i >= n) return err;
      if (text) std::wcscpy(reinterpret_cast<wchar_t*>(lp), r.items[i].text.c_str());
      return Len(r.items[i].text);
    case CB_GETLBTEXTLEN:
      return (i < 0 || i >= n) ? err : Len(r.items[i].text);
    case CB_FINDSTRING:
      return FindItem(r.items, i, text, false);
    case CB_FINDSTRINGEXACT:
      return FindItem(r.items, i, text, true);
    case CB_SELECTSTRING: {
      int found = FindItem(r.items, i, text, false);
      return found < 0 ? err : select(found);
    }
    case CB_GETITEMDATA:
      return (i < 0 || i >= n) ? err : r.items[i].data;
    case CB_SETITEMDATA:
      if (i < 0 || i >= n) return err;
      r.items[i].data = lp;
      return 0;
    case CB_GETDROPPEDSTATE:
      return r.dropped;
    case CB_SHOWDROPDOWN:
      ShowComboDropList(h, wp != 0);
      return TRUE;
    case CB_SETDROPPEDWIDTH:
      r.dropped_width = static_cast<int>(wp);
      [[fallthrough]];
    case CB_GETDROPPEDWIDTH:
      return std::max<LONG>(r.dropped_width, r.rect.right - r.rect.left);
    case CB_GETDROPPEDCONTROLRECT:
      if (lp) {
        RECT rc = r.rect;
        rc.right = rc.left + std::max<LONG>(r.dropped_width, r.rect.right - r.rect.left);
        rc.bottom = rc.top + 100;
        *reinterpret_cast<RECT*>(lp) = rc;
      }
      return TRUE;
    case CB_GETEDITSEL:
      if (ComboKind(r) == CBS_DROPDOWNLIST) return CB_ERR;
      if (wp) *reinterpret_cast<DWORD*>(wp) = r.sel_start;
      if (lp) *reinterpret_cast<DWORD*>(lp) = r.sel_end;
      return MAKELONG(r.sel_start, r.sel_end);
    case CB_SETEDITSEL: {
      if (ComboKind(r) == CBS_DROPDOWNLIST) return CB_ERR;
      int a = static_cast<short>(LOWORD(lp)), b = static_cast<short>(HIWORD(lp));
      if (a < 0) {
        r.sel_start = r.sel_end = 0;
        return TRUE;
      }
      r.sel_start = std::min(a, Len(r.text));
      r.sel_end = (b < 0 || b > Len(r.text)) ? Len(r.text) : b;
      return TRUE;
    }
    case CB_LIMITTEXT:
      if (ComboKind(r) == CBS_DROPDOWNLIST) return CB_ERR;
      r.limit = static_cast<int>(wp);
      return TRUE;
    case WM_SETTEXT:
      if (ComboKind(r) == CBS_DROPDOWNLIST) {
        int found = FindItem(r.items, -1, text, true);
        if (found < 0) return CB_ERR;
        select(found);
        return TRUE;
      }
      SetEditText(r, text ? text : L"");
      return TRUE;
    case WM_SETFOCUS:
      NotifyParent(h, combo ? CBN_SETFOCUS : LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (combo) ShowComboDropList(h, false);
      NotifyParent(h, combo ? CBN_KILLFOCUS : LBN_KILLFOCUS);
      return 0;
    // List box only.
    case LB_GETSEL + 0x10000:
      return (i < 0 || i >= n) ? LB_ERR : (r.items[i].state & 1) || r.cur_sel == i;
    case LB_SETSEL + 0x10000: {
      int index = static_cast<int>(lp);
      for (int k = 0; k < n; ++k) {
        if (index == -1 || k == index) r.items[k].state = wp ? 1 : 0;
      }
      return LB_OKAY;
    }
    case LB_GETSELCOUNT + 0x10000: {
      int count = 0;
      for (const auto& it : r.items) count += it.state & 1;
      return count;
    }
    case LB_GETITEMHEIGHT + 0x10000:
      return 16;
    case LB_GETTOPINDEX + 0x10000:
      return 0;
    case LB_GETITEMRECT + 0x10000: {
      if (i < 0 || i >= n || !lp) return LB_ERR;
      *reinterpret_cast<RECT*>(lp) = RECT{0, 16 * i, r.rect.right - r.rect.left, 16 * (i + 1)};
      return LB_OKAY;
    }
    case LB_ITEMFROMPOINT + 0x10000: {
      int y = static_cast<short>(HIWORD(lp));
      int x = static_cast<short>(LOWORD(lp));
      int index = y < 0 ? 0 : y / 16;
      bool outside = x < 0 || x >= r.rect.right - r.rect.left || y < 0 || index >= n;
      if (n == 0) return MAKELONG(0, 1);
      index = std::clamp(index, 0, n - 1);
      return MAKELONG(index, outside ? 1 : 0);
    }
  }
  *handled = false;
  return 0;
}

}  // namespace platform::mfc
