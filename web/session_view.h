// What the page shows of a session, as one JSON object made on the session's thread each time
// the session waits:
//   {"wait": {"kind": "command" | "prompt" | "dialog" | "box" | "menu" | "colour", ...},
//             a prompt adds "input": what it takes (platform::Wait::input)
//    "prompt": "コマンド: ",   the command line's last line (what a prompt asks)
//    "windows": [...]}         web/window_view.h
// A box adds "box": {"text", "icon": "stop" | "question" | "warning" | "information" | "none",
// "answers": ["yes", "no", "cancel"]}; a menu that waits adds "menu": {"ctrl", "window" (the
// template id of the owner's window), "x", "y" (screen), "items": [{"text", "label", "greyed",
// "separator"}]}; the colour dialog adds "colour": {"colour", "allow_meta", "table": ["#rrggbb"
// x 256]}.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace web {

nlohmann::json SessionView(const std::wstring& transcript);

}  // namespace web
