// The one loop behind every wait of the command line: pulls the scripted user's next action for a
// prompt, hands window actions to the windows meanwhile, and writes the command line's echoes.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win/user_session.h"

namespace platform::acad {

// What ended a wait.
enum class InputOutcome {
  kAction,     // an action that the prompt accepts; it has been taken
  kCancelled,  // Esc, or a window asked the command line to cancel; the cancel echo is printed
  kEnded,      // the input ended, or the session stopped (also after a mismatch)
};

struct EditorInput {
  InputOutcome outcome = InputOutcome::kEnded;
  UserAction action;  // valid for kAction
};

// Whether a prompt takes an editor action. kEsc is always handled by the loop; a kMove that the
// prompt does not take is skipped (cursor motion answers nothing); any other action that the
// prompt does not take stops the session as a mismatch.
using ActionFilter = std::function<bool(const UserAction&)>;

// Waits for the next action that `accepts` takes. `what` names the prompt for the mismatch
// message, e.g. L"the point prompt \"\\n始点:\"".
// `input` says what the prompt takes (platform::Wait::input).
EditorInput AwaitEditorInput(const ActionFilter& accepts, std::wstring_view what,
                             const char* input = "value");

// What answers an entity or object pick: a pick by handle, a pointed point, or an empty
// response (Enter, or an empty typed line).
bool IsPickAnswer(const UserAction& action);

// Stops the session because `action` cannot answer `what`.
void ReportMismatch(const UserAction& action, std::wstring_view what);

// The command line's echoes.
void EchoCancel();                       // "\n*キャンセル*\n"
void EchoTyped(std::wstring_view text);  // text + "\n"
void EchoLineEnd();                      // "\n"

// How a prompt is named in messages: L"the point prompt \"...\"" with escapes for newlines.
std::wstring DescribePrompt(std::wstring_view kind, const wchar_t* prompt);

// Typed coordinates: "X,Y" or "X,Y,Z" (z = 0 when absent), or relative "@DX,DY[,DZ]" to `base`
// (only when `base` is not null). Blanks around numbers are allowed. Nothing else parses.
std::optional<std::array<double, 3>> ParseTypedPoint(std::wstring_view text, const double* base);
// A whole typed number; nothing else may follow.
std::optional<double> ParseTypedReal(std::wstring_view text);
std::optional<long> ParseTypedInt(std::wstring_view text);

}  // namespace platform::acad
