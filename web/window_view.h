// The windows of a session as the page draws them: one JSON tree per top-level window, made from
// the window system's own records (class, position, size, text and the state of every control).
//
// A node:
//   {"hwnd": 65540, "class": "Button", "kind": "check", "ctrl": 221, "template": 0,
//    "text": "...", "x": 10, "y": 20, "w": 80, "h": 14, "visible": true, "enabled": true,
//    "focus": false, "children": [...], ...what the kind adds}
// Kinds and what they add:
//   dialog   (a "#32770" window)        "caption" (bool: it has a title bar), "template"
//   window   (any other window)         "caption"
//   push, default                       push buttons (default: BS_DEFPUSHBUTTON)
//   check, radio                        "check": 0 unchecked, 1 checked, 2 indeterminate
//   group                               a group box: its caption is "text"
//   edit                                "readonly", "multiline", "password", "align"
//   static                              "align": "left", "center" or "right"; "frame": etched
//                                       or sunken frames and lines
//   combo                               "list" (drop-down list: no typing), "items" [text],
//                                       "sel" (-1: none), "dropped"
//   list                                a list box: "items", "sel"
//   listview                            "columns" [{"text", "width"}], "rows" [{"cells":
//                                       [text...], "selected"}]
//   owner                               an owner-drawn button: "draw" [{"op", "args", "text"}],
//                                       what its owner draws (SelectPen, Rectangle, LineTo, ...)
//                                       with colours as COLORREF numbers (0x00bbggrr)
//   tooltip                             a tooltip window: "text" is the tip shown
// Colours a handler set for a control (WM_CTLCOLOR*) come as "color" and "background"
// ("#rrggbb"). Positions of top-level windows are screen coordinates; children's are in their
// parent's client area, which here is the whole window.
// Only windows of the session's own are shown: the host's frame, drawing window and command
// line are the page's own parts, and hidden top-level windows are left out.
#pragma once

#include <string>

#include <windows.h>
#include <nlohmann/json.hpp>

namespace web {

// A colour as the page writes it: "#rrggbb".
std::string HtmlColour(COLORREF colour);

// Every visible top-level window, in creation order (the last is on top). Main thread only.
nlohmann::json WindowsView();

}  // namespace web
