// The Win32 window functions of the headless window system: messages, visibility and
// enabling, focus, texts, window longs, rectangles and positions, the cursor, timers, dialog
// items, system colours and metrics.
#include <cwctype>
#include <map>
#include <string>
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <utility>

#include "platform/win/wide_string.h"
#include "platform/mfc/window_state.h"
#include "platform/mfc/window_system.h"

using platform::mfc::FindWindowRecord;
using platform::mfc::S;
using platform::mfc::WindowRecord;

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r) return 0;
  if (r->wnd) return r->wnd->WindowProc(Msg, wParam, lParam);
  return platform::mfc::ClassWindowProc(hWnd, Msg, wParam, lParam);
}

UINT RegisterWindowMessageW(LPCWSTR lpString) {
  if (lpString == nullptr || *lpString == L'\0') return 0;
  static std::map<std::wstring, UINT> registered;
  std::wstring key(lpString);
  for (wchar_t& c : key) c = static_cast<wchar_t>(std::towupper(c));
  const auto it = registered.find(key);
  if (it != registered.end()) return it->second;
  const UINT id = 0xC000 + static_cast<UINT>(registered.size());
  registered.emplace(std::move(key), id);
  return id;
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
