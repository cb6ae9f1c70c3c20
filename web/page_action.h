// The page's input read into the session's actions, and the check that refuses an action the
// session cannot take now, before it reaches the session (so that a refused action changes
// nothing).
//
// What the page sends (POST /action), one object a request:
//   {"action": "click",  "window": ID, "ctrl": N}             ID: the window's template id; 0 or
//   {"action": "type",   "window": ID, "ctrl": N, "text": T}  absent: the active window
//   {"action": "choose", "window": ID, "ctrl": N, "text": T}
//   {"action": "rows",   "window": ID, "ctrl": N, "rows": [I, ...]}
//   {"action": "header", "window": ID, "ctrl": N, "column": C}
//   {"action": "menu",   "window": ID, "ctrl": N [, "item": T]}  no item: the menu opens and waits
//   {"action": "answer", "answer": "ok" | "yes" | "no" | "cancel"}
//   {"action": "colour" [, "colour": N]}                      no colour: the dialog is cancelled
//   {"action": "enter"} / {"action": "esc"}
//   {"action": "pickat", "x": X, "y": Y}   a click on the drawing at an entity or object prompt
//   {"action": "point",  "x": X, "y": Y}   a click at a point prompt or in a drag
//   {"action": "move",   "x": X, "y": Y}   a cursor sample while a prompt waits (a drag follows it)
//   {"action": "preselect", "mode": "window" | "crossing", "from": [X, Y], "to": [X, Y]}
//                                           a rectangle dragged at the command prompt
// and each is the session-script action of the same name.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "platform/win/user_session.h"

namespace web {

// Reads one action. False with a message when `body` is no action of the list above (a missing
// or mistyped field, an unknown action).
bool ReadPageAction(const nlohmann::json& body, platform::UserAction* out, std::string* error);

// Why the session cannot take `action` now (empty: it can), with the HTTP status to answer:
// 404 for a window or control that does not exist, 409 for an action that nothing waits for or
// that the control refuses (hidden, disabled, not a button, no such item or row). Main thread.
std::string RefusalOf(const platform::UserAction& action, int* status);

}  // namespace web
