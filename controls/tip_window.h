// The tracking tooltip that CXTipComboBox and CXTipListBox lay over a text too wide for them.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

// Creates the tooltip of `control` ("tooltips_class32", WS_EX_TOPMOST, TTS_NOPREFIX |
// TTS_ALWAYSTIP, owned by the control) with one tracking, transparent tool for the control (id
// 0, empty rectangle), kept in `info`: the highlight colours, margins left 0, top -1, right 0,
// bottom -1, a maximum width of 32767 and the control's font. Returns the tooltip's handle.
HWND CreateTipWindow(CWnd& control, TOOLINFO& info);
// Shows `text` in the tip with its top-left corner at `at` (screen coordinates).
void ShowTip(HWND tip, TOOLINFO& info, const CString& text, CPoint at);
// Hides the tip (stops tracking).
void HideTip(HWND tip, TOOLINFO& info);
// The width of `text` in the font of `window`, as it draws it.
int TextWidthIn(CWnd& window, const CString& text);
