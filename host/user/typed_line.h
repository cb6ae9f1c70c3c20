// Lines typed at the keyboard in a session without a script file, read by what waits for them.
//
// A script file is strict: every line starts with an action. A typed line is read as a user at
// AutoCAD's command line means it:
//   - a first word that is an action (or an @ID prefix) reads as in a script file;
//   - at the command prompt anything else is a command line: "RQ_HARNEX" is "command RQ_HARNEX",
//     "ARXCOMMANDS HARNEX" is "command ARXCOMMANDS HARNEX"; a blank line does nothing;
//   - at a prompt the whole line is the typed answer ("" is Enter);
//   - at a question box "yes", "no", "ok" or "cancel" is the answer;
//   - in a modal dialog only actions are read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/user/script.h"
#include "platform/win/user_session.h"

namespace host {

// Appends the steps of one typed line to `out` (none for a blank line at the command prompt).
// False with a message in *error when the line is refused; nothing is appended then.
bool ReadTypedLine(std::wstring_view line, int line_number, const platform::Wait& wait,
                   std::vector<ScriptStep>* out, std::wstring* error);

// The answers a box of MB_* type `box_type` takes, e.g. {"yes", "no", "cancel"}.
std::vector<std::wstring> BoxAnswers(unsigned box_type);

}  // namespace host
