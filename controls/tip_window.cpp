// The tracking tooltip of the tip controls.
#include "controls/tip_window.h"

#include <windows.h>

HWND CreateTipWindow(CWnd& control, TOOLINFO& info) {
  HWND tip = ::CreateWindowEx(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              control.m_hWnd, nullptr, nullptr, nullptr);
  info = TOOLINFO{};
  info.cbSize = sizeof(TOOLINFO);
  info.uFlags = TTF_TRACK | TTF_TRANSPARENT;
  info.hwnd = control.m_hWnd;
  info.uId = 0;
  info.rect = RECT{0, 0, 0, 0};
  info.lpszText = nullptr;
  ::SendMessage(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  ::SendMessage(tip, TTM_SETMAXTIPWIDTH, 0, 32767);
  // Highlight colours without margins to speak of: the tip reads as the control's text carried
  // on past its edge.
  ::SendMessage(tip, TTM_SETTIPBKCOLOR, GetSysColor(COLOR_HIGHLIGHT), 0);
  ::SendMessage(tip, TTM_SETTIPTEXTCOLOR, GetSysColor(COLOR_HIGHLIGHTTEXT), 0);
  RECT margin{0, -1, 0, -1};
  ::SendMessage(tip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
  ::SendMessage(tip, WM_SETFONT, control.SendMessage(WM_GETFONT), FALSE);
  return tip;
}

void ShowTip(HWND tip, TOOLINFO& info, const CString& text, CPoint at) {
  CString copy = text;  // the tooltip keeps its own copy of the text
  info.lpszText = copy.GetBuffer();
  ::SendMessage(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  copy.ReleaseBuffer();
  info.lpszText = nullptr;
  ::SendMessage(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  ::SendMessage(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}

void HideTip(HWND tip, TOOLINFO& info) {
  ::SendMessage(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
}

int TextWidthIn(CWnd& window, const CString& text) {
  CClientDC dc(&window);
  CFont* old = dc.SelectObject(window.GetFont());
  const int width = dc.GetTextExtent(text).cx;
  dc.SelectObject(old);
  return width;
}
