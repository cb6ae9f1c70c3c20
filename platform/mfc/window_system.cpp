// The headless window system: window records, the standard controls' class procedures, focus,
// the posted-message queue, timers, the clipboard and the Win32 window functions over them.
#include "window_system.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <unordered_map>

#include "wide_string.h"

namespace platform::mfc {
namespace {

struct State {
  std::unordered_map<HWND, std::unique_ptr<WindowRecord>> windows;
  std::vector<HWND> order;  // creation order
  std::deque<MSG> posted;
  HWND focus = nullptr;
  uintptr_t next_handle = 0x10000;
};

State& S() {
  static State state;
  return state;
}

bool IsCombo(const WindowRecord& r) {
  return r.class_name == L"ComboBox";
}
bool IsEdit(const WindowRecord& r) {
  return r.class_name == L"Edit";
}
bool IsListBox(const WindowRecord& r) {
  return r.class_name == L"ListBox" || r.class_name == L"ComboLBox";
}
bool IsTooltip(const WindowRecord& r) {
  return r.class_name == L"tooltips_class32";
}
bool IsButton(const WindowRecord& r) {
  return r.class_name == L"Button";
}
bool IsDialog(const WindowRecord& r) {
  return r.class_name == L"#32770";
}
DWORD ComboKind(const WindowRecord& r) {
  return r.style & 3;
}

int Len(const std::wstring& s) {
  return static_cast<int>(s.size());
}

LRESULT CopyText(const std::wstring& text, WPARAM max, LPARAM buffer) {
  auto* out = reinterpret_cast<wchar_t*>(buffer);
  if (!out || max == 0) return 0;
  size_t n = std::min<size_t>(text.size(), max - 1);
  std::wmemcpy(out, text.data(), n);
  out[n] = 0;
  return static_cast<LRESULT>(n);
}

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

void SetEditText(WindowRecord& r, std::wstring text) {
  r.text = std::move(text);
  r.sel_start = r.sel_end = 0;
}

// Text edits made as a user would: one undo level, the change notification.
void UserEdit(HWND h, WindowRecord& r, const std::wstring& replacement) {
  int a = std::min(r.sel_start, r.sel_end), b = std::max(r.sel_start, r.sel_end);
  a = std::clamp(a, 0, Len(r.text));
  b = std::clamp(b, 0, Len(r.text));
  std::wstring text = r.text.substr(0, a) + replacement + r.text.substr(b);
  int limit = r.limit > 0 ? r.limit : 30000;
  if (Len(text) > limit) return;
  r.undo_text = r.text;
  r.can_undo = true;
  r.modified = true;
  r.text = std::move(text);
  r.sel_start = r.sel_end = a + Len(replacement);
  NotifyParent(h, IsCombo(r) ? CBN_EDITCHANGE : EN_CHANGE);
}

std::wstring ClipboardText();
void SetClipboardText(const std::wstring& text);

LRESULT EditProc(HWND h, WindowRecord& r, UINT msg, WPARAM wp, LPARAM lp, bool* handled) {
  *handled = true;
  const bool read_only = (r.style & ES_READONLY) != 0;
  auto selected = [&r] {
    int a = std::min(r.sel_start, r.sel_end), b = std::max(r.sel_start, r.sel_end);
    return r.text.substr(a, b - a);
  };
  switch (msg) {
    case EM_GETSEL:
      if (wp) *reinterpret_cast<DWORD*>(wp) = r.sel_start;
      if (lp) *reinterpret_cast<DWORD*>(lp) = r.sel_end;
      return MAKELONG(r.sel_start, r.sel_end);
    case EM_SETSEL: {
      int a = static_cast<int>(static_cast<LONG_PTR>(wp));
      int b = static_cast<int>(lp);
      if (a == -1) {  // removes the selection
        r.sel_start = r.sel_end;
        return 0;
      }
      if (b < 0 || b > Len(r.text)) b = Len(r.text);
      r.sel_start = std::clamp(a, 0, Len(r.text));
      r.sel_end = b;
      if (r.sel_start > r.sel_end) std::swap(r.sel_start, r.sel_end);
      return 0;
    }
    case EM_REPLACESEL:
      UserEdit(h, r, lp ? reinterpret_cast<const wchar_t*>(lp) : L"");
      return 0;
    case EM_SETREADONLY:
      r.style = wp ? (r.style | ES_READONLY) : (r.style & ~ES_READONLY);
      return TRUE;
    case EM_CANUNDO:
      return r.can_undo;
    case EM_UNDO:
    case WM_UNDO:
      if (!r.can_undo || read_only) return FALSE;
      std::swap(r.text, r.undo_text);
      r.sel_start = r.sel_end = 0;
      NotifyParent(h, EN_CHANGE);
      return TRUE;
    case EM_EMPTYUNDOBUFFER:
      r.can_undo = false;
      r.undo_text.clear();
      return 0;
    case EM_LIMITTEXT:
      r.limit = static_cast<int>(wp);
      return 0;
    case EM_GETLIMITTEXT:
      return r.limit > 0 ? r.limit : 30000;
    case EM_GETMODIFY:
      return r.modified;
    case EM_SETMODIFY:
      r.modified = wp != 0;
      return 0;
    case WM_COPY:
      if (r.sel_start != r.sel_end) SetClipboardText(selected());
      return 0;
    case WM_CUT:
      if (read_only || r.sel_start == r.sel_end) return 0;
      SetClipboardText(selected());
      UserEdit(h, r, L"");
      return 0;
    case WM_CLEAR:
      if (!read_only && r.sel_start != r.sel_end) UserEdit(h, r, L"");
      return 0;
    case WM_PASTE:
      if (!read_only && IsClipboardFormatAvailable(CF_UNICODETEXT)) UserEdit(h, r, ClipboardText());
      return 0;
    case WM_SETTEXT:
      SetEditText(r, lp ? reinterpret_cast<const wchar_t*>(lp) : L"");
      r.can_undo = false;
      r.modified = false;
      NotifyParent(h, EN_CHANGE);  // SetWindowText on an edit notifies, as Windows does
      return TRUE;
    case WM_SETFOCUS:
      NotifyParent(h, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      NotifyParent(h, EN_KILLFOCUS);
      return 0;
  }
  *handled = false;
  return 0;
}

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

LRESULT ButtonProc(HWND h, WindowRecord& r, UINT msg, WPARAM wp, LPARAM lp, bool* handled) {
  *handled = true;
  switch (msg) {
    case BM_GETCHECK:
      return r.check;
    case BM_SETCHECK:
      r.check = static_cast<int>(wp);
      return 0;
    case BM_GETSTATE:
      return r.check | (r.pushed ? BST_PUSHED : 0) | (S().focus == h ? BST_FOCUS : 0);
    case BM_SETSTATE:
      r.pushed = wp != 0;
      return 0;
    case BM_SETSTYLE:
      r.style = (r.style & 0xFFFF0000) | (static_cast<DWORD>(wp) & 0xFFFF);
      return 0;
    case BM_CLICK:
      NotifyParent(h, BN_CLICKED);
      return 0;
  }
  *handled = false;
  return 0;
}

// The clipboard of the process.
struct Clipboard {
  bool open = false;
  std::map<UINT, std::vector<char>> data;
  std::map<HGLOBAL, std::unique_ptr<std::vector<char>>> blocks;
};
Clipboard& Clip() {
  static Clipboard c;
  return c;
}

std::wstring ClipboardText() {
  auto it = Clip().data.find(CF_UNICODETEXT);
  if (it == Clip().data.end()) return L"";
  return std::wstring(reinterpret_cast<const wchar_t*>(it->second.data()));
}

void SetClipboardText(const std::wstring& text) {
  std::vector<char> bytes((text.size() + 1) * sizeof(wchar_t));
  std::memcpy(bytes.data(), text.c_str(), bytes.size());
  Clip().data.clear();
  Clip().data[CF_UNICODETEXT] = std::move(bytes);
}

}  // namespace

WindowRecord* FindWindowRecord(HWND hWnd) {
  auto it = S().windows.find(hWnd);
  return it == S().windows.end() ? nullptr : it->second.get();
}

HWND CreateWindowRecord(LPCWSTR class_name, LPCWSTR text, DWORD style, DWORD ex_style,
                        const RECT& rect, HWND parent, int id) {
  InstallWindowActionDispatcher();
  auto record = std::make_unique<WindowRecord>();
  record->class_name = class_name ? class_name : L"";
  // Class names are matched without regard to case, as Windows does.
  for (const wchar_t* known : {L"Button", L"Edit", L"ComboBox", L"ListBox", L"ComboLBox", L"Static",
                               L"SysListView32", L"#32770", L"tooltips_class32"}) {
    if (platform::EqualsNoCase(record->class_name, known)) record->class_name = known;
  }
  if (record->class_name == L"tooltips_class32") {
    // Every tooltip is a bordered popup tool window, whatever its creator asked for, and starts
    // in the system's tooltip colours.
    style |= WS_POPUP | WS_BORDER;
    style &= ~WS_CHILD;
    ex_style |= WS_EX_TOOLWINDOW;
    record->tooltip.background = GetSysColor(COLOR_INFOBK);
    record->tooltip.text_colour = GetSysColor(COLOR_INFOTEXT);
  }
  record->text = text ? text : L"";
  record->style = style;
  record->ex_style = ex_style;
  record->rect = rect;
  record->parent = FindWindowRecord(parent) ? parent : nullptr;
  record->id = id;
  if (IsCombo(*record) && ComboKind(*record) == CBS_DROPDOWNLIST) record->text.clear();
  HWND h = reinterpret_cast<HWND>(S().next_handle);
  S().next_handle += 0x10;
  if (record->parent) FindWindowRecord(record->parent)->children.push_back(h);
  S().windows[h] = std::move(record);
  S().order.push_back(h);
  return h;
}

std::vector<HWND> AllWindows() {
  return S().order;
}

void NotifyParent(HWND control, UINT code) {
  WindowRecord* r = FindWindowRecord(control);
  if (!r || !r->parent) return;
  SendMessageW(r->parent, WM_COMMAND, MAKEWPARAM(r->id, code), reinterpret_cast<LPARAM>(control));
}

LRESULT ClassWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  WindowRecord* r = FindWindowRecord(h);
  if (!r) return 0;
  bool handled = false;
  LRESULT result = 0;
  if (IsEdit(*r)) {
    result = EditProc(h, *r, msg, wp, lp, &handled);
  } else if (IsCombo(*r) || IsListBox(*r)) {
    // The edit part of a combo box takes the edit messages it shares.
    if (IsCombo(*r) && ComboKind(*r) != CBS_DROPDOWNLIST &&
        (msg == WM_CUT || msg == WM_COPY || msg == WM_PASTE || msg == WM_CLEAR)) {
      result = EditProc(h, *r, msg, wp, lp, &handled);
    } else {
      result = ListProc(h, *r, msg, wp, lp, &handled);
    }
  } else if (IsButton(*r)) {
    result = ButtonProc(h, *r, msg, wp, lp, &handled);
  } else if (IsTooltip(*r)) {
    result = TooltipProc(h, *r, msg, wp, lp, &handled);
  }
  if (handled) return result;
  r = FindWindowRecord(h);
  if (!r) return 0;
  switch (msg) {
    case WM_SETTEXT:
      r->text = lp ? reinterpret_cast<const wchar_t*>(lp) : L"";
      return TRUE;
    case WM_GETTEXT:
      return CopyText(r->text, wp, lp);
    case WM_GETTEXTLENGTH:
      return Len(r->text);
    case WM_SETFONT:
      r->font = reinterpret_cast<HFONT>(wp);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(r->font);
    case WM_ACTIVATE:
      // DefWindowProc gives the keyboard focus to a window that becomes active, unless it is
      // minimised.
      if (LOWORD(wp) != WA_INACTIVE && HIWORD(wp) == 0) SetFocus(h);
      return 0;
    case WM_CONTEXTMENU:
      // An unhandled context menu request goes to the parent, as DefWindowProc does.
      if (r->parent && (r->style & WS_CHILD)) return SendMessageW(r->parent, msg, wp, lp);
      return 0;
    case WM_CLOSE:
      if (IsDialog(*r)) {
        SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      } else {
        DestroyWindow(h);
      }
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wp));
      bool window_colours = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
      if (dc) {
        dc->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        dc->SetBkColor(GetSysColor(window_colours ? COLOR_WINDOW : COLOR_BTNFACE));
      }
      return reinterpret_cast<LRESULT>(
          GetSysColorBrush(window_colours ? COLOR_WINDOW : COLOR_BTNFACE));
    }
  }
  return 0;
}

int PumpPostedMessages() {
  int count = 0;
  while (!S().posted.empty()) {
    MSG msg = S().posted.front();
    S().posted.pop_front();
    if (!FindWindowRecord(msg.hwnd)) continue;
    bool swallowed = false;
    for (HWND w = msg.hwnd; w && !swallowed; w = GetParent(w)) {
      WindowRecord* r = FindWindowRecord(w);
      if (r && r->wnd && r->wnd->PreTranslateMessage(&msg)) swallowed = true;
    }
    if (!swallowed) SendMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    ++count;
  }
  return count;
}

int FireTimers() {
  std::vector<std::pair<HWND, UINT_PTR>> due;
  for (HWND h : S().order) {
    for (const auto& [id, timer] : S().windows[h]->timers) due.emplace_back(h, id);
  }
  int count = 0;
  for (const auto& [h, id] : due) {
    WindowRecord* r = FindWindowRecord(h);
    if (!r) continue;
    auto it = r->timers.find(id);
    if (it == r->timers.end()) continue;
    if (it->second.proc) {
      it->second.proc(h, WM_TIMER, id, 0);
    } else {
      SendMessageW(h, WM_TIMER, id, 0);
    }
    ++count;
  }
  return count;
}

void RunIdle() {
  PumpPostedMessages();
  if (FireTimers() > 0) PumpPostedMessages();
}

void ResetWindowSystem() {
  while (!S().order.empty()) {
    HWND h = S().order.front();
    WindowRecord* r = FindWindowRecord(h);
    while (r && r->parent && FindWindowRecord(r->parent)) {
      h = r->parent;
      r = FindWindowRecord(h);
    }
    DestroyWindow(h);
  }
  S().posted.clear();
  S().focus = nullptr;
  Clip().data.clear();
  Clip().open = false;
  SetPaletteWindow(nullptr);
}

SIZE DialogBaseUnits(const std::wstring& face, int point_size) {
  // The character cell of the font at 96 dots per inch: the height is the point size in pixels,
  // the average width half of it (the Gothic faces are half-width for Latin text).
  int height = (point_size * 96 + 36) / 72;
  return SIZE{height / 2, height};
}

}  // namespace platform::mfc

using platform::mfc::FindWindowRecord;
using platform::mfc::S;
using platform::mfc::WindowRecord;

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r) return 0;
  if (r->wnd) return r->wnd->WindowProc(Msg, wParam, lParam);
  return platform::mfc::ClassWindowProc(hWnd, Msg, wParam, lParam);
}

BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!FindWindowRecord(hWnd)) return FALSE;
  S().posted.push_back(MSG{hWnd, Msg, wParam, lParam, 0, POINT{0, 0}});
  return TRUE;
}

BOOL IsWindow(HWND hWnd) {
  return FindWindowRecord(hWnd) != nullptr;
}

BOOL IsWindowVisible(HWND hWnd) {
  // A child is seen only while every parent is; a popup's parent is its owner, which does not
  // hide it.
  for (WindowRecord* r = FindWindowRecord(hWnd); r; r = FindWindowRecord(r->parent)) {
    if (!(r->style & WS_VISIBLE)) return FALSE;
    if (!(r->style & WS_CHILD)) break;
  }
  return FindWindowRecord(hWnd) != nullptr;
}

BOOL IsWindowEnabled(HWND hWnd) {
  WindowRecord* r = FindWindowRecord(hWnd);
  return r && !(r->style & WS_DISABLED);
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r) return FALSE;
  BOOL was_disabled = (r->style & WS_DISABLED) != 0;
  r->style = bEnable ? (r->style & ~WS_DISABLED) : (r->style | WS_DISABLED);
  if (!bEnable && S().focus == hWnd) SetFocus(nullptr);
  if (was_disabled != !bEnable) SendMessageW(hWnd, WM_ENABLE, bEnable, 0);
  return was_disabled;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r) return FALSE;
  BOOL was_visible = (r->style & WS_VISIBLE) != 0;
  // Maximizing fills the screen (a child: its parent's client area) and remembers the rectangle
  // that restoring gives back.
  if (nCmdShow == SW_MAXIMIZE && !r->maximized) {
    r->normal_rect = r->rect;
    r->maximized = true;
    RECT full{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (WindowRecord* p = FindWindowRecord(r->parent); p && (r->style & WS_CHILD)) {
      full = RECT{0, 0, p->rect.right - p->rect.left, p->rect.bottom - p->rect.top};
    }
    r->rect = full;
  } else if ((nCmdShow == SW_RESTORE || nCmdShow == SW_SHOWNORMAL) && r->maximized) {
    r->rect = r->normal_rect;
    r->maximized = false;
  }
  bool show = nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE;
  r->style = show ? (r->style | WS_VISIBLE) : (r->style & ~WS_VISIBLE);
  if (was_visible != show) SendMessageW(hWnd, WM_SHOWWINDOW, show, 0);
  return was_visible;
}

BOOL DestroyWindow(HWND hWnd) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r) return FALSE;
  SendMessageW(hWnd, WM_DESTROY, 0, 0);
  r = FindWindowRecord(hWnd);
  if (!r) return TRUE;
  std::vector<HWND> children = r->children;
  for (HWND c : children) DestroyWindow(c);
  r = FindWindowRecord(hWnd);
  if (!r) return TRUE;
  SendMessageW(hWnd, WM_NCDESTROY, 0, 0);
  r = FindWindowRecord(hWnd);
  if (!r) return TRUE;
  if (S().focus == hWnd) S().focus = nullptr;
  if (WindowRecord* p = FindWindowRecord(r->parent)) std::erase(p->children, hWnd);
  std::erase(S().order, hWnd);
  std::erase_if(S().posted, [hWnd](const MSG& m) { return m.hwnd == hWnd; });
  CWnd* wnd = r->wnd;
  auto owned = std::move(S().windows[hWnd]);
  S().windows.erase(hWnd);
  if (wnd) {
    wnd->m_hWnd = nullptr;
    wnd->PostNcDestroy();
  }
  if (owned->wrapper) owned->wrapper->m_hWnd = nullptr;
  return TRUE;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
  WindowRecord* r = FindWindowRecord(hDlg);
  if (!r) return nullptr;
  for (HWND c : r->children) {
    if (FindWindowRecord(c)->id == nIDDlgItem) return c;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
  WindowRecord* r = FindWindowRecord(hWnd);
  return r ? r->id : 0;
}

HWND GetParent(HWND hWnd) {
  WindowRecord* r = FindWindowRecord(hWnd);
  return r ? r->parent : nullptr;
}

HWND SetParent(HWND child, HWND parent) {
  WindowRecord* r = FindWindowRecord(child);
  if (!r || (parent && !FindWindowRecord(parent)) || child == parent) return nullptr;
  HWND old = r->parent;
  if (WindowRecord* p = FindWindowRecord(old)) std::erase(p->children, child);
  r->parent = parent;
  if (parent) FindWindowRecord(parent)->children.push_back(child);
  return old ? old : child;  // non-null for success, as a top-level window has the desktop
}

HWND GetFocus() {
  return S().focus;
}

HWND SetFocus(HWND hWnd) {
  HWND old = S().focus;
  if (hWnd && !FindWindowRecord(hWnd)) return nullptr;
  if (old == hWnd) return old;
  S().focus = hWnd;
  if (old) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
  if (hWnd && S().focus == hWnd) SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetActiveWindow() {
  return platform::mfc::ActiveActionWindow();
}

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
  if (!FindWindowRecord(hWnd)) return FALSE;
  return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) != 0;
}

int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  if (nMaxCount <= 0) return 0;
  return static_cast<int>(
      SendMessageW(hWnd, WM_GETTEXT, nMaxCount, reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthW(HWND hWnd) {
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r) return 0;
  switch (nIndex) {
    case GWL_STYLE:
      return r->style;
    case GWL_EXSTYLE:
      return r->ex_style;
    case GWL_ID:
      return r->id;
    case GWLP_USERDATA:
      return r->user_data;
  }
  return 0;
}

LONG_PTR SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR value) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r) return 0;
  LONG_PTR old = GetWindowLongPtrW(hWnd, nIndex);
  switch (nIndex) {
    case GWL_STYLE:
      r->style = static_cast<DWORD>(value);
      break;
    case GWL_EXSTYLE:
      r->ex_style = static_cast<DWORD>(value);
      break;
    case GWL_ID:
      r->id = static_cast<int>(value);
      break;
    case GWLP_USERDATA:
      r->user_data = value;
      break;
  }
  return old;
}

namespace {
// Only child windows sit inside their parent; the rectangle of a top-level or popup window
// (whose parent is its owner) is in screen coordinates already.
POINT ScreenOrigin(HWND hWnd) {
  POINT p{0, 0};
  for (WindowRecord* r = FindWindowRecord(hWnd); r; r = FindWindowRecord(r->parent)) {
    p.x += r->rect.left;
    p.y += r->rect.top;
    if (!(r->style & WS_CHILD)) break;
  }
  return p;
}
}  // namespace

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r || !lpRect) return FALSE;
  POINT o = ScreenOrigin(hWnd);
  *lpRect = RECT{o.x, o.y, o.x + r->rect.right - r->rect.left, o.y + r->rect.bottom - r->rect.top};
  return TRUE;
}

BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* wp) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r || !wp) return FALSE;
  wp->flags = 0;
  wp->showCmd = r->maximized
                    ? SW_SHOWMAXIMIZED
                    : ((r->style & WS_VISIBLE) ? SW_SHOWNORMAL : static_cast<UINT>(SW_HIDE));
  wp->ptMinPosition = POINT{-1, -1};
  wp->ptMaxPosition = POINT{-1, -1};
  wp->rcNormalPosition = r->maximized ? r->normal_rect : r->rect;
  return TRUE;
}

BOOL IsZoomed(HWND hWnd) {
  WindowRecord* r = FindWindowRecord(hWnd);
  return r && r->maximized;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r || !lpRect) return FALSE;
  *lpRect = RECT{0, 0, r->rect.right - r->rect.left, r->rect.bottom - r->rect.top};
  return TRUE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
  return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight, SWP_NOZORDER);
}

BOOL SetWindowPos(HWND hWnd, HWND, int X, int Y, int cx, int cy, UINT uFlags) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r) return FALSE;
  RECT old = r->rect;
  if (!(uFlags & SWP_NOMOVE)) {
    r->rect.right = X + (old.right - old.left);
    r->rect.bottom = Y + (old.bottom - old.top);
    r->rect.left = X;
    r->rect.top = Y;
  }
  if (!(uFlags & SWP_NOSIZE)) {
    r->rect.right = r->rect.left + cx;
    r->rect.bottom = r->rect.top + cy;
  }
  if (uFlags & SWP_SHOWWINDOW) ShowWindow(hWnd, SW_SHOW);
  if (uFlags & SWP_HIDEWINDOW) ShowWindow(hWnd, SW_HIDE);
  if (!(uFlags & SWP_NOSIZE) && (cx != old.right - old.left || cy != old.bottom - old.top)) {
    SendMessageW(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(cx, cy));
  }
  return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT p) {
  if (!FindWindowRecord(hWnd) || !p) return FALSE;
  POINT o = ScreenOrigin(hWnd);
  p->x -= o.x;
  p->y -= o.y;
  return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT p) {
  if (!FindWindowRecord(hWnd) || !p) return FALSE;
  POINT o = ScreenOrigin(hWnd);
  p->x += o.x;
  p->y += o.y;
  return TRUE;
}

BOOL InvalidateRect(HWND hWnd, const RECT*, BOOL) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r) return FALSE;
  ++r->invalidations;
  return TRUE;
}

BOOL RedrawWindow(HWND hWnd, const RECT* rc, void*, UINT flags) {
  return (flags & RDW_INVALIDATE) ? InvalidateRect(hWnd, rc, TRUE) : IsWindow(hWnd);
}

namespace {
POINT& Cursor() {
  static POINT p{-32000, -32000};  // far from every window until someone moves it
  return p;
}
}  // namespace

BOOL GetCursorPos(LPPOINT p) {
  if (!p) return FALSE;
  *p = Cursor();
  return TRUE;
}

BOOL SetCursorPos(int X, int Y) {
  Cursor() = POINT{X, Y};
  return TRUE;
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC proc) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r) return 0;
  r->timers[nIDEvent] = platform::mfc::TimerRecord{proc, uElapse};
  return nIDEvent ? nIDEvent : 1;
}

BOOL KillTimer(HWND hWnd, UINT_PTR id) {
  WindowRecord* r = FindWindowRecord(hWnd);
  return r && r->timers.erase(id) > 0;
}

BOOL CheckDlgButton(HWND hDlg, int id, UINT check) {
  HWND b = GetDlgItem(hDlg, id);
  if (!b) return FALSE;
  SendMessageW(b, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int id) {
  return static_cast<UINT>(SendMessageW(GetDlgItem(hDlg, id), BM_GETCHECK, 0, 0));
}

BOOL SetDlgItemTextW(HWND hDlg, int id, LPCWSTR text) {
  return SetWindowTextW(GetDlgItem(hDlg, id), text);
}

UINT GetDlgItemTextW(HWND hDlg, int id, LPWSTR text, int max) {
  return static_cast<UINT>(GetWindowTextW(GetDlgItem(hDlg, id), text, max));
}

HWND CreateWindowExW(DWORD ex, LPCWSTR cls, LPCWSTR name, DWORD style, int X, int Y, int w, int h,
                     HWND parent, HMENU menu, HINSTANCE, LPVOID) {
  if (X == CW_USEDEFAULT) X = 0;
  if (Y == CW_USEDEFAULT) Y = 0;
  if (w == CW_USEDEFAULT) w = 0;
  if (h == CW_USEDEFAULT) h = 0;
  int id = (style & WS_CHILD) ? static_cast<int>(reinterpret_cast<uintptr_t>(menu)) : 0;
  return platform::mfc::CreateWindowRecord(cls, name, style, ex, RECT{X, Y, X + w, Y + h}, parent,
                                           id);
}

DWORD GetSysColor(int nIndex) {
  switch (nIndex) {
    case COLOR_WINDOW:
      return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
      return RGB(0, 0, 0);
    case COLOR_BTNFACE:
      return RGB(240, 240, 240);
    case COLOR_BTNSHADOW:
      return RGB(160, 160, 160);
    case COLOR_BTNHIGHLIGHT:
      return RGB(255, 255, 255);
    case COLOR_BTNTEXT:
      return RGB(0, 0, 0);
    case COLOR_GRAYTEXT:
      return RGB(109, 109, 109);
    case COLOR_HIGHLIGHT:
      return RGB(0, 120, 215);
    case COLOR_HIGHLIGHTTEXT:
      return RGB(255, 255, 255);
    case COLOR_INFOBK:
      return RGB(255, 255, 225);
    case COLOR_INFOTEXT:
      return RGB(0, 0, 0);
    case COLOR_MENU:
      return RGB(240, 240, 240);
    case COLOR_MENUTEXT:
      return RGB(0, 0, 0);
    case COLOR_3DDKSHADOW:
      return RGB(105, 105, 105);
    case COLOR_3DLIGHT:
      return RGB(227, 227, 227);
    case COLOR_WINDOWFRAME:
      return RGB(100, 100, 100);
    case COLOR_APPWORKSPACE:
      return RGB(171, 171, 171);
  }
  return RGB(0, 0, 0);
}

HBRUSH GetSysColorBrush(int nIndex) {
  static std::map<int, std::unique_ptr<CBrush>> brushes;
  auto& b = brushes[nIndex];
  if (!b) b = std::make_unique<CBrush>(GetSysColor(nIndex));
  return *b;
}

int GetSystemMetrics(int nIndex) {
  switch (nIndex) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
      return 1920;
    case SM_CYSCREEN:
      return 1080;
    case SM_CYFULLSCREEN:
      return 1017;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
      return 17;
    case SM_CXHTHUMB:
    case SM_CYVTHUMB:
      return 17;
    case SM_CYCAPTION:
      return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CYMENU:
      return 20;
  }
  return 0;
}

BOOL OpenClipboard(HWND) {
  if (platform::mfc::Clip().open) return FALSE;
  platform::mfc::Clip().open = true;
  return TRUE;
}

BOOL CloseClipboard() {
  bool was = platform::mfc::Clip().open;
  platform::mfc::Clip().open = false;
  return was;
}

BOOL EmptyClipboard() {
  if (!platform::mfc::Clip().open) return FALSE;
  platform::mfc::Clip().data.clear();
  return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  auto& data = platform::mfc::Clip().data;
  // Windows converts between its text formats on demand.
  if (format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT) {
    return data.count(CF_TEXT) || data.count(CF_UNICODETEXT) || data.count(CF_OEMTEXT);
  }
  return data.count(format) > 0;
}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  auto block = std::make_unique<std::vector<char>>(bytes, 0);
  HGLOBAL h = block->data() ? static_cast<HGLOBAL>(block.get()) : nullptr;
  if (!h) return nullptr;
  platform::mfc::Clip().blocks[h] = std::move(block);
  return h;
}

LPVOID GlobalLock(HGLOBAL h) {
  auto& blocks = platform::mfc::Clip().blocks;
  auto it = blocks.find(h);
  return it == blocks.end() ? nullptr : it->second->data();
}

BOOL GlobalUnlock(HGLOBAL) {
  return FALSE;
}

HGLOBAL GlobalFree(HGLOBAL h) {
  platform::mfc::Clip().blocks.erase(h);
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL h) {
  auto& blocks = platform::mfc::Clip().blocks;
  auto it = blocks.find(h);
  return it == blocks.end() ? 0 : it->second->size();
}

HANDLE GetClipboardData(UINT format) {
  auto& clip = platform::mfc::Clip();
  if (!clip.open) return nullptr;
  std::wstring text;
  if (format == CF_UNICODETEXT && !clip.data.count(CF_UNICODETEXT) && clip.data.count(CF_TEXT)) {
    const auto& bytes = clip.data[CF_TEXT];
    text = platform::mfc::WidenNarrow(bytes.data(), std::strlen(bytes.data()));
    platform::mfc::SetClipboardText(text);
  }
  auto it = clip.data.find(format);
  if (it == clip.data.end()) return nullptr;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, it->second.size());
  std::memcpy(GlobalLock(h), it->second.data(), it->second.size());
  return h;
}

HANDLE SetClipboardData(UINT format, HANDLE hMem) {
  auto& clip = platform::mfc::Clip();
  if (!clip.open) return nullptr;
  auto it = clip.blocks.find(hMem);
  if (it == clip.blocks.end()) return nullptr;
  clip.data[format] = *it->second;
  clip.blocks.erase(it);
  return hMem;
}
