// Session scripts: the scripted user's actions, one a line, read from text into steps.
//
// A step is either an action for the stand-ins (a platform::UserAction that some prompt, dialog
// or the main loop takes) or a directive that the scripted user handles itself when the input is
// next asked for: `expect TEXT` and `show palette|entity H|drawing`. Tests build the same steps
// with the helpers in namespace host::steps.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/user_session.h"

namespace host {

struct ScriptStep {
  enum class Kind {
    kAction,       // `action` goes to the stand-ins
    kExpect,       // `text` must appear in the transcript since the previous expect
    kShowPalette,  // print the palette's page
    kShowEntity,   // print the entity with drawing handle `handle`
    kShowDrawing,  // print every entity of model space
    kHelp,         // print the list of actions, or the syntax of the action named by `text`
  };
  Kind kind = Kind::kAction;
  int line = 0;  // script line number, 0 for steps built in C++
  platform::UserAction action;
  std::wstring text;
  uint64_t handle = 0;
};

// The result of reading a script: the steps, or the first error. `error` names the line
// ("line 7: ...") and is empty on success; on error `steps` holds the steps read before it.
struct ScriptReadResult {
  std::vector<ScriptStep> steps;
  std::wstring error;
  bool ok() const { return error.empty(); }
};

// Reads one line of a script. Returns true and appends zero steps (blank line, comment) or one
// step to `out`; returns false with a message (without the line prefix) in `error`.
bool ReadScriptLine(std::wstring_view line, int line_number, std::vector<ScriptStep>* out,
                    std::wstring* error);

// Reads a whole script given as text; lines end with LF, CRLF or CR. A leading BOM (U+FEFF) is
// skipped.
ScriptReadResult ReadScript(std::wstring_view text);

// Decodes the bytes of a script file: UTF-16LE with BOM, UTF-8 with BOM, valid UTF-8, else code
// page 932. Never fails.
std::wstring DecodeScriptBytes(std::string_view bytes);

// Reads a script file from disk. On an unreadable file the result's error says so.
ScriptReadResult ReadScriptFile(const std::string& path);

// Builders for steps in C++ (tests drive sessions with them). Window actions take the control id
// and an optional template id (the script's @ID prefix; 0 means the active window).
namespace steps {
// An action of `kind` with nothing else set yet; the builders below fill in the rest.
ScriptStep Action(platform::ActionKind kind);
ScriptStep Command(std::wstring name, std::vector<std::wstring> args = {});
ScriptStep Typed(std::wstring text);
ScriptStep Pick(std::vector<uint64_t> handles);
ScriptStep PickAt(double x, double y);
ScriptStep Point(double x, double y);
ScriptStep Point(double x, double y, double z);
ScriptStep Move(double x, double y);
ScriptStep Enter();
ScriptStep Esc();
ScriptStep Preselect(std::vector<uint64_t> handles);
// `preselect window X1,Y1 X2,Y2` and `preselect crossing X1,Y1 X2,Y2`.
ScriptStep PreselectWindow(double x1, double y1, double x2, double y2);
ScriptStep PreselectCrossing(double x1, double y1, double x2, double y2);
ScriptStep Break();
ScriptStep Click(int control, int template_id = 0);
ScriptStep Type(int control, std::wstring text, int template_id = 0);
ScriptStep Choose(int control, std::wstring text, int template_id = 0);
ScriptStep Rows(int control, std::vector<int> rows, int template_id = 0);
ScriptStep Header(int control, int column, int template_id = 0);
ScriptStep Menu(int control, std::wstring item, int template_id = 0);
ScriptStep Answer(std::wstring answer);  // "ok", "yes", "no" or "cancel"
ScriptStep Colour(int index);            // a colour index
ScriptStep ColourCancel();               // `colour` alone: the dialog is cancelled
ScriptStep Expect(std::wstring text);
ScriptStep ShowPalette();
ScriptStep ShowEntity(uint64_t handle);
ScriptStep ShowDrawing();
ScriptStep Help(std::wstring verb = L"");
}  // namespace steps

}  // namespace host
