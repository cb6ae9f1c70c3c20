// Session scripts written from steps: the one line that the script reader reads back as the step,
// so that what a user does can be recorded and replayed.
//
// The contract: for every step that ReadScriptLine makes, ReadScriptLine(ScriptLineOf(step))
// makes one step equal to it in every field the reader sets (the line number aside). Steps built
// in code get the same when the reader could have made them: a command name and an expect TEXT
// are not empty, pick and preselect by handles have a handle at least, a preselect by rectangle
// has the text "window" or "crossing", coordinates are finite, an answer is one of the answer
// words, a template id is 0 or positive.
//
// The format is fixed so that recorded scripts read alike and diff well:
// - `@ID ` begins a window action whose template_id is not 0;
// - a TEXT, a menu item and each command word are quoted only when the reader would read them
//   differently bare (empty, blanks at either end or, for a word, inside; `"`, `\`, `#`, a line
//   end), with the escapes \" \\ \n. A CR has no escape: it stays as it is inside the quotes,
//   which ReadScriptLine reads back but a script file would take for the end of its line;
// - coordinates in the shortest decimal form that reads back as the same double ("-0.1",
//   "1e-07", "123456.789"); Z only when the point has one;
// - handles in upper-case hex, joined by commas; row numbers likewise in decimal;
// - a preselect by rectangle as `preselect window|crossing X1,Y1 X2,Y2`, its corners as points;
// - `menu CTRL` without an item, `rows CTRL` without rows, `colour` alone when it has no index;
//   an empty typed line is `typed ""`.
#pragma once

#include <string>

#include "platform/win/user_session.h"

#include "host/user/script.h"

namespace host {

// The script line of `action`, without a line end.
std::wstring ScriptLineOf(const platform::UserAction& action);

// The script line of `step`: its action's line, or the directive (`expect TEXT`,
// `show palette`, `show entity H`, `show drawing`, `help [VERB]`). Without a line end.
std::wstring ScriptLineOf(const ScriptStep& step);

}  // namespace host
