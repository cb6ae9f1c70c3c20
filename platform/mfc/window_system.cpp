// The headless window system: window records, the edit and button class procedures, the
// posted-message queue and timers. The list and combo box procedure is in list_control.cpp, the
// Win32 window functions over them in window_api.cpp, the clipboard in clipboard.cpp.
#include "platform/mfc/window_system.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <deque>
#include <unordered_map>
#include <utility>

#include "platform/win/wide_string.h"
#include "platform/mfc/window_state.h"

namespace platform::mfc {

WindowState& S() {
  static WindowState state;
  return state;
}

bool IsCombo(const WindowRecord& r) {
  return r.class_name == L"ComboBox";
}
DWORD ComboKind(const WindowRecord& r) {
  return r.style & 3;
}
int Len(const std::wstring& s) {
  return static_cast<int>(s.size());
}
void SetEditText(WindowRecord& r, std::wstring text) {
  r.text = std::move(text);
  r.sel_start = r.sel_end = 0;
}

namespace {

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

LRESULT CopyText(const std::wstring& text, WPARAM max, LPARAM buffer) {
  auto* out = reinterpret_cast<wchar_t*>(buffer);
  if (!out || max == 0) return 0;
  size_t n = std::min<size_t>(text.size(), max - 1);
  std::wmemcpy(out, text.data(), n);
  out[n] = 0;
  return static_cast<LRESULT>(n);
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

namespace {

DispatchObserver*& Observer() {
  static DispatchObserver* observer = nullptr;
  return observer;
}

std::wstring HexMessage(UINT message) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%04X", message);
  return text;
}

}  // namespace

void SetDispatchObserver(DispatchObserver* observer) {
  Observer() = observer;
}

ObservedHandler::ObservedHandler(std::function<std::wstring()> what) : what_(std::move(what)) {
  if (Observer()) Observer()->BeforeHandler();
}

ObservedHandler::~ObservedHandler() {
  if (Observer()) Observer()->AfterHandler(what_());
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
    if (!swallowed) {
      ObservedHandler observed([&] { return L"message " + HexMessage(msg.message); });
      SendMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
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
    ObservedHandler observed([id = id] { return L"timer " + std::to_wstring(id); });
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
