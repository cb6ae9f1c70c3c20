// The session script's verbs: a parser for each, grouped by kind, then the table of them all.
#include "host/user/script_verbs.h"

#include <algorithm>

#include "platform/win/wide_string.h"

#include "host/user/script_words.h"

namespace host {
namespace {

using platform::ActionKind;

// ---- Editor actions: what a prompt, the command line or the main loop takes.

bool ParseCommand(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
                  std::wstring* error) {
  *step = steps::Action(ActionKind::kCommand);
  std::vector<std::wstring> words;
  if (!SplitWords(args, &words, error)) return false;
  if (words.empty() || words.front().empty()) {
    *error = std::wstring(verb.name) + L": expected a command name";
    return false;
  }
  step->action.text = words.front();
  step->action.args.assign(words.begin() + 1, words.end());
  return true;
}

// A line typed at a prompt, Enter included; an empty one is Enter alone.
bool ParseTyped(const ScriptVerb&, std::wstring_view args, ScriptStep* step, std::wstring* error) {
  *step = steps::Action(ActionKind::kTyped);
  return ReadText(args, &step->action.text, error);
}

bool ReadHandles(ActionKind kind, std::wstring_view args, ScriptStep* step, std::wstring* error) {
  *step = steps::Action(kind);
  return ParseHandles(args, &step->action.handles, error);
}
bool ParsePick(const ScriptVerb&, std::wstring_view args, ScriptStep* step, std::wstring* error) {
  return ReadHandles(ActionKind::kPick, args, step, error);
}

// The ways of dragging a box at the command prompt: left to right a window, right to left a
// crossing. They are the row's keywords, which Tab offers after `preselect`.
constexpr std::wstring_view kRectangleModes[] = {L"window", L"crossing"};

// The corners of a rectangle, `X1,Y1 X2,Y2`. Blanks beside a comma are dropped first, so that
// `0, 0 10, 10` is two corners as `point 1, 2` is one point.
bool ReadCorners(const std::wstring& name, std::wstring_view args, platform::UserAction* a,
                 std::wstring* error) {
  std::wstring squeezed;
  for (const wchar_t c : platform::TrimBlanks(args)) {
    const wchar_t last = squeezed.empty() ? L',' : squeezed.back();
    if (IsBlank(c)) {
      if (last != L' ' && last != L',') squeezed += L' ';
    } else if (c == L',' && last == L' ') {
      squeezed.back() = L',';
    } else {
      squeezed += c;
    }
  }
  std::vector<std::wstring_view> corners;
  std::wstring_view rest = squeezed;
  for (std::wstring_view word = FirstWord(rest, &rest); !word.empty();
       word = FirstWord(rest, &rest)) {
    corners.push_back(word);
  }
  if (corners.size() != 2) {
    *error = name + L": expected two corners X1,Y1 X2,Y2, got \"" +
             std::wstring(platform::TrimBlanks(args)) + L"\"";
    return false;
  }
  platform::UserAction points[2];
  for (int i = 0; i < 2; ++i) {
    std::wstring unused;
    if (!ParsePoint(corners[i], false, &points[i], &unused)) {
      *error = name + L": expected a corner X,Y, got \"" + std::wstring(corners[i]) + L"\"";
      return false;
    }
  }
  a->x = points[0].x;
  a->y = points[0].y;
  a->x2 = points[1].x;
  a->y2 = points[1].y;
  return true;
}

// A word of letters that cannot be a handle (not all of them hex digits): a mode misspelt.
bool IsModeWord(std::wstring_view word) {
  bool letters = !word.empty(), hex = true;
  for (const wchar_t c : word) {
    const wchar_t lower = c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c;
    letters = letters && lower >= L'a' && lower <= L'z';
    hex = hex && lower <= L'f';
  }
  return letters && !hex;
}

// `preselect H[,H...]` names the entities; `preselect window|crossing X1,Y1 X2,Y2` is a box the
// user drags, whose entities the session finds when the action comes, as the host would.
bool ParsePreselect(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
                    std::wstring* error) {
  std::wstring_view rest;
  const std::wstring_view first = FirstWord(args, &rest);
  const std::wstring mode = AsciiLower(first);
  if (std::find(std::begin(kRectangleModes), std::end(kRectangleModes), mode) ==
      std::end(kRectangleModes)) {
    if (!IsModeWord(first)) return ReadHandles(ActionKind::kPreselect, args, step, error);
    *error = std::wstring(verb.name) + L": expected H[,H...], " +
             ListNames(kRectangleModes, L" or ") + L", got \"" + std::wstring(first) + L"\"";
    return false;
  }
  *step = steps::Action(ActionKind::kPreselect);
  step->action.text = mode;
  return ReadCorners(std::wstring(verb.name) + L" " + mode, rest, &step->action, error);
}

// Pointing at the drawing picks in the plane; a picked point or a cursor sample keeps its height.
bool ReadPoint(ActionKind kind, bool allow_z, std::wstring_view args, ScriptStep* step,
               std::wstring* error) {
  *step = steps::Action(kind);
  return ParsePoint(args, allow_z, &step->action, error);
}
bool ParsePickAt(const ScriptVerb&, std::wstring_view args, ScriptStep* step, std::wstring* error) {
  return ReadPoint(ActionKind::kPickAt, false, args, step, error);
}
bool ParsePointAction(const ScriptVerb&, std::wstring_view args, ScriptStep* step,
                      std::wstring* error) {
  return ReadPoint(ActionKind::kPoint, true, args, step, error);
}
bool ParseMove(const ScriptVerb&, std::wstring_view args, ScriptStep* step, std::wstring* error) {
  return ReadPoint(ActionKind::kMove, true, args, step, error);
}

// A key press: nothing may follow the verb.
bool ReadKey(ActionKind kind, const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
             std::wstring* error) {
  *step = steps::Action(kind);
  return ExpectNothing(verb.name, args, error);
}
bool ParseEnter(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
                std::wstring* error) {
  return ReadKey(ActionKind::kEnter, verb, args, step, error);
}
bool ParseEsc(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
              std::wstring* error) {
  return ReadKey(ActionKind::kEsc, verb, args, step, error);
}
bool ParseBreak(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
                std::wstring* error) {
  return ReadKey(ActionKind::kBreak, verb, args, step, error);
}

// ---- Window actions: `[@ID] VERB CTRL ...`; the reader sets the template id.

// Starts the step and reads the control id; `*rest` is what follows it.
bool ReadControl(ActionKind kind, const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
                 std::wstring_view* rest, std::wstring* error) {
  *step = steps::Action(kind);
  const std::wstring_view control = FirstWord(args, rest);
  if (ParseInt(control, &step->action.control)) return true;
  *error =
      std::wstring(verb.name) + L": expected a control id, got \"" + std::wstring(control) + L"\"";
  return false;
}

bool ParseClick(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
                std::wstring* error) {
  std::wstring_view rest;
  if (!ReadControl(ActionKind::kClick, verb, args, step, &rest, error)) return false;
  if (platform::TrimBlanks(rest).empty()) return true;
  *error = std::wstring(verb.name) + L": unexpected text after the control id";
  return false;
}

// An edit box may be emptied, so its TEXT may be empty.
bool ParseType(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
               std::wstring* error) {
  std::wstring_view rest;
  if (!ReadControl(ActionKind::kType, verb, args, step, &rest, error)) return false;
  return ReadText(rest, &step->action.text, error);
}

// A list item is named by its text, which cannot be empty.
bool ParseChoose(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
                 std::wstring* error) {
  std::wstring_view rest;
  if (!ReadControl(ActionKind::kChoose, verb, args, step, &rest, error)) return false;
  if (!ReadText(rest, &step->action.text, error)) return false;
  if (!step->action.text.empty()) return true;
  *error = std::wstring(verb.name) + L": expected the item's text";
  return false;
}

// A menu item is named by its text; without one the menu is opened and left open, so that the
// next action can look at it or pick from it.
bool ParseMenu(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
               std::wstring* error) {
  std::wstring_view rest;
  if (!ReadControl(ActionKind::kMenu, verb, args, step, &rest, error)) return false;
  return ReadText(rest, &step->action.text, error);
}

bool ParseRows(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
               std::wstring* error) {
  std::wstring_view rest;
  if (!ReadControl(ActionKind::kRows, verb, args, step, &rest, error)) return false;
  return ParseIntList(rest, &step->action.numbers, error);
}

bool ParseHeader(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
                 std::wstring* error) {
  std::wstring_view rest;
  if (!ReadControl(ActionKind::kHeader, verb, args, step, &rest, error)) return false;
  int column = 0;
  if (!ParseInt(platform::TrimBlanks(rest), &column) || column < 0) {
    *error = std::wstring(verb.name) + L": expected a column number";
    return false;
  }
  step->action.numbers = {column};
  return true;
}

// ---- Answers to the host's own boxes and dialogs.

// The answer is one of the row's keywords, kept in lower case.
bool ParseAnswer(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
                 std::wstring* error) {
  const std::wstring answer = AsciiLower(platform::TrimBlanks(args));
  if (std::find(verb.keywords.begin(), verb.keywords.end(), answer) == verb.keywords.end()) {
    *error = std::wstring(verb.name) + L": expected " + ListNames(verb.keywords, L" or ") +
             L", got \"" + std::wstring(platform::TrimBlanks(args)) + L"\"";
    return false;
  }
  *step = steps::Action(ActionKind::kAnswer);
  step->action.text = answer;
  return true;
}

// 0 (by block) to 256 (by layer) as the colour dialog takes them; nothing cancels the dialog.
bool ParseColour(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
                 std::wstring* error) {
  *step = steps::Action(ActionKind::kColour);
  const std::wstring_view text = platform::TrimBlanks(args);
  if (text.empty()) return true;
  int index = 0;
  if (!ParseInt(text, &index) || index < 0 || index > 256) {
    *error = std::wstring(verb.name) + L": expected a colour index 0 to 256, got \"" +
             std::wstring(text) + L"\"";
    return false;
  }
  step->action.numbers = {index};
  return true;
}

// ---- Directives: checks and views that the scripted user handles itself.

bool ParseExpect(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
                 std::wstring* error) {
  step->kind = ScriptStep::Kind::kExpect;
  if (!ReadText(args, &step->text, error)) return false;
  if (!step->text.empty()) return true;
  *error = std::wstring(verb.name) + L": expected the text to look for";
  return false;
}

// Its keywords below are what Tab offers after `show`; a new view needs both.
bool ParseShow(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
               std::wstring* error) {
  std::wstring_view rest;
  const std::wstring what = AsciiLower(FirstWord(args, &rest));
  const std::wstring name = std::wstring(verb.name) + L" " + what;
  if (what == L"palette" || what == L"drawing") {
    step->kind =
        what == L"palette" ? ScriptStep::Kind::kShowPalette : ScriptStep::Kind::kShowDrawing;
    return ExpectNothing(name, rest, error);
  }
  if (what == L"entity") {
    step->kind = ScriptStep::Kind::kShowEntity;
    std::vector<uint64_t> handles;
    if (!ParseHandles(rest, &handles, error)) return false;
    if (handles.size() != 1) {
      *error = name + L": expected one handle";
      return false;
    }
    step->handle = handles.front();
    return true;
  }
  *error = std::wstring(verb.name) + L": expected palette, entity H or drawing";
  return false;
}

bool ParseHelp(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
               std::wstring* error) {
  step->kind = ScriptStep::Kind::kHelp;
  std::wstring_view rest;
  step->text = AsciiLower(FirstWord(args, &rest));
  if (!step->text.empty() && !IsScriptVerb(step->text)) {
    *error = std::wstring(verb.name) + L": no action \"" + step->text + L"\"";
    return false;
  }
  return ExpectNothing(std::wstring(verb.name) + L" " + step->text, rest, error);
}

constexpr std::wstring_view kAnswers[] = {L"ok", L"yes", L"no", L"cancel"};
constexpr std::wstring_view kViews[] = {L"palette", L"entity", L"drawing"};

constexpr ScriptVerb kScriptVerbs[] = {
    // Editor actions.
    {.name = L"command",
     .syntax = L"command NAME [ARG...]",
     .summary = L"types NAME at the command line; each ARG answers one of its first prompts",
     .parse = ParseCommand},
    {.name = L"typed",
     .syntax = L"typed [TEXT]",
     .summary = L"types TEXT at a prompt and presses Enter (alone: an empty line, Enter)",
     .parse = ParseTyped},
    {.name = L"pick",
     .syntax = L"pick H[,H...]",
     .summary = L"answers an entity prompt with these entities (hex handles)",
     .parse = ParsePick},
    {.name = L"pickat",
     .syntax = L"pickat X,Y",
     .summary = L"answers an entity prompt by pointing at X,Y",
     .parse = ParsePickAt},
    {.name = L"point",
     .syntax = L"point X,Y[,Z]",
     .summary = L"answers a point prompt; during a drag it is the pick",
     .parse = ParsePointAction},
    {.name = L"move",
     .syntax = L"move X,Y",
     .summary = L"one cursor sample during a drag",
     .parse = ParseMove},
    {.name = L"enter",
     .syntax = L"enter",
     .summary = L"empty response (at the command prompt: repeats the last command)",
     .parse = ParseEnter},
    {.name = L"esc",
     .syntax = L"esc",
     .summary = L"cancels the prompt (Ctrl-C in a typed session)",
     .parse = ParseEsc},
    {.name = L"preselect",
     .syntax = L"preselect H[,H...]|window X1,Y1 X2,Y2|crossing X1,Y1 X2,Y2",
     .summary = L"the pick-first selection of the next command: these entities, or what a window "
                L"or crossing rectangle takes",
     .parse = ParsePreselect,
     .argument = VerbArgument::kKeyword,
     .keywords = kRectangleModes},
    {.name = L"break",
     .syntax = L"break",
     .summary = L"Esc pressed during a long loop",
     .parse = ParseBreak},
    // Window actions.
    {.name = L"click",
     .syntax = L"[@ID] click CTRL",
     .summary = L"clicks a control of the active window; click 1 / click 2 are Enter / Esc",
     .parse = ParseClick,
     .argument = VerbArgument::kControl},
    {.name = L"type",
     .syntax = L"[@ID] type CTRL TEXT",
     .summary = L"replaces the text of an edit or combo box",
     .parse = ParseType,
     .argument = VerbArgument::kControl},
    {.name = L"choose",
     .syntax = L"[@ID] choose CTRL TEXT",
     .summary = L"selects a combo box item",
     .parse = ParseChoose,
     .argument = VerbArgument::kControl},
    {.name = L"rows",
     .syntax = L"[@ID] rows CTRL [I[,I...]]",
     .summary = L"selects list view rows (none: clears them)",
     .parse = ParseRows,
     .argument = VerbArgument::kControl},
    {.name = L"header",
     .syntax = L"[@ID] header CTRL COL",
     .summary = L"clicks a list view column header",
     .parse = ParseHeader,
     .argument = VerbArgument::kControl},
    {.name = L"menu",
     .syntax = L"[@ID] menu CTRL [ITEM]",
     .summary = L"opens a control's context menu and picks ITEM; without ITEM the menu stays open "
                L"for the next action",
     .parse = ParseMenu,
     .argument = VerbArgument::kControl},
    // Answers.
    {.name = L"answer",
     .syntax = L"answer ok|yes|no|cancel",
     .summary = L"answers the next message box",
     .parse = ParseAnswer,
     .argument = VerbArgument::kKeyword,
     .keywords = kAnswers},
    {.name = L"colour",
     .alias = L"color",
     .syntax = L"colour [N]",
     .summary = L"answers the next colour dialog (alone: cancels it)",
     .parse = ParseColour},
    // Directives.
    {.name = L"expect",
     .syntax = L"expect TEXT",
     .summary = L"the transcript since the previous expect must contain TEXT",
     .parse = ParseExpect},
    {.name = L"show",
     .syntax = L"show palette|entity H|drawing",
     .summary = L"prints a plain-text view",
     .parse = ParseShow,
     .argument = VerbArgument::kKeyword,
     .keywords = kViews},
    {.name = L"help",
     .syntax = L"help [VERB]",
     .summary = L"lists the actions, or shows the syntax of one",
     .parse = ParseHelp,
     .argument = VerbArgument::kVerb},
};

}  // namespace

std::span<const ScriptVerb> ScriptVerbs() {
  return kScriptVerbs;
}

const ScriptVerb* FindScriptVerb(std::wstring_view word) {
  const std::wstring lower = AsciiLower(word);
  for (const auto& verb : kScriptVerbs) {
    // An empty word is no verb, though most rows have an empty alias.
    if (!lower.empty() && (lower == verb.name || lower == verb.alias)) return &verb;
  }
  return nullptr;
}

bool IsScriptVerb(std::wstring_view word) {
  return FindScriptVerb(word) != nullptr;
}

std::vector<std::wstring_view> WindowVerbNames() {
  std::vector<std::wstring_view> names;
  for (const auto& verb : kScriptVerbs) {
    if (verb.window_action()) names.push_back(verb.name);
  }
  return names;
}

std::wstring HelpText(std::wstring_view verb) {
  std::wstring text;
  if (verb.empty()) {
    size_t width = 0;
    for (const auto& v : kScriptVerbs) width = std::max(width, v.name.size());
    for (const auto& v : kScriptVerbs) {
      text += std::wstring(v.name) + std::wstring(width + 2 - v.name.size(), L' ') +
              std::wstring(v.summary) + L"\n";
    }
    return text;
  }
  const ScriptVerb* found = FindScriptVerb(verb);
  if (found == nullptr) return text;
  return std::wstring(found->syntax) + L"\n  " + std::wstring(found->summary) + L"\n";
}

}  // namespace host
