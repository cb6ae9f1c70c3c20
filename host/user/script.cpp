// Session scripts: reading lines into actions and directives.
#include "host/user/script.h"

#include <cerrno>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <sstream>
#include <utility>

#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"

#include "host/user/script_help.h"

namespace host {
namespace {

using platform::ActionKind;

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

// Cuts a line at its comment: a `#` outside double quotes. Quotes only count where a quoted
// text may begin (after a blank or at the start), so that `#` inside a quoted TEXT survives.
bool StripComment(std::wstring_view line, std::wstring_view* out, std::wstring* error) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const wchar_t c = line[i];
    if (quoted) {
      if (c == L'\\') {
        ++i;
      } else if (c == L'"') {
        quoted = false;
      }
    } else if (c == L'"' && (i == 0 || IsBlank(line[i - 1]))) {
      quoted = true;
    } else if (c == L'#') {
      *out = line.substr(0, i);
      return true;
    }
  }
  if (quoted) {
    *error = L"unterminated quoted text";
    return false;
  }
  *out = line;
  return true;
}

// Reads a double-quoted text starting at `s[0] == '"'`, with the escapes \" \\ \n. On success
// `*used` is the number of characters consumed, closing quote included.
bool ReadQuoted(std::wstring_view s, std::wstring* text, size_t* used, std::wstring* error) {
  text->clear();
  for (size_t i = 1; i < s.size(); ++i) {
    const wchar_t c = s[i];
    if (c == L'"') {
      *used = i + 1;
      return true;
    }
    if (c != L'\\') {
      *text += c;
      continue;
    }
    if (++i >= s.size()) break;
    switch (s[i]) {
      case L'"':
        *text += L'"';
        break;
      case L'\\':
        *text += L'\\';
        break;
      case L'n':
        *text += L'\n';
        break;
      default:
        *error = std::wstring(L"unknown escape \\") + s[i] + L" in quoted text";
        return false;
    }
  }
  *error = L"unterminated quoted text";
  return false;
}

// The rest of a line as one TEXT: a quoted text (nothing may follow it), or the trimmed rest.
bool ReadText(std::wstring_view rest, std::wstring* text, std::wstring* error) {
  rest = platform::TrimBlanks(rest);
  if (rest.empty() || rest.front() != L'"') {
    *text = std::wstring(rest);
    return true;
  }
  size_t used = 0;
  if (!ReadQuoted(rest, text, &used, error)) return false;
  if (!platform::TrimBlanks(rest.substr(used)).empty()) {
    *error = L"unexpected text after the closing quote";
    return false;
  }
  return true;
}

// Splits into words at blanks; quoted words may hold blanks and be empty.
bool SplitWords(std::wstring_view s, std::vector<std::wstring>* words, std::wstring* error) {
  words->clear();
  size_t i = 0;
  while (true) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    if (i >= s.size()) return true;
    if (s[i] == L'"') {
      std::wstring word;
      size_t used = 0;
      if (!ReadQuoted(s.substr(i), &word, &used, error)) return false;
      i += used;
      if (i < s.size() && !IsBlank(s[i])) {
        *error = L"unexpected text after the closing quote";
        return false;
      }
      words->push_back(std::move(word));
    } else {
      const size_t start = i;
      while (i < s.size() && !IsBlank(s[i])) ++i;
      words->emplace_back(s.substr(start, i - start));
    }
  }
}

bool ParseInt(std::wstring_view s, int* value) {
  if (s.empty() || s.size() > 10) return false;
  std::wstring str(s);
  wchar_t* end = nullptr;
  errno = 0;
  const long v = std::wcstol(str.c_str(), &end, 10);
  if (errno != 0 || end != str.c_str() + str.size()) return false;
  *value = static_cast<int>(v);
  return true;
}

bool ParseNumber(std::wstring_view s, double* value) {
  if (s.empty()) return false;
  std::wstring str(s);
  wchar_t* end = nullptr;
  const double v = std::wcstod(str.c_str(), &end);
  if (end != str.c_str() + str.size()) return false;
  // wcstod also reads "inf" and "nan"; a coordinate is a plain number.
  for (wchar_t c : str) {
    if (!(std::iswdigit(c) || c == L'.' || c == L'-' || c == L'+' || c == L'e' || c == L'E')) {
      return false;
    }
  }
  *value = v;
  return true;
}

// Splits "a,b,c" (blanks around the commas allowed) into its parts.
std::vector<std::wstring> SplitCommas(std::wstring_view s) {
  std::vector<std::wstring> parts;
  std::wstring current;
  for (wchar_t c : s) {
    if (c == L',') {
      parts.emplace_back(platform::TrimBlanks(current));
      current.clear();
    } else {
      current += c;
    }
  }
  parts.emplace_back(platform::TrimBlanks(current));
  return parts;
}

bool ParsePoint(std::wstring_view s, bool allow_z, platform::UserAction* a, std::wstring* error) {
  const auto parts = SplitCommas(platform::TrimBlanks(s));
  double v[3] = {0, 0, 0};
  const bool count_ok = parts.size() == 2 || (allow_z && parts.size() == 3);
  bool numbers_ok = count_ok;
  for (size_t i = 0; numbers_ok && i < parts.size(); ++i) numbers_ok = ParseNumber(parts[i], &v[i]);
  if (!numbers_ok) {
    *error = std::wstring(L"expected a point ") + (allow_z ? L"X,Y or X,Y,Z" : L"X,Y") +
             L", got \"" + std::wstring(platform::TrimBlanks(s)) + L"\"";
    return false;
  }
  a->x = v[0];
  a->y = v[1];
  a->z = v[2];
  a->has_z = parts.size() == 3;
  return true;
}

bool ParseHandles(std::wstring_view s, std::vector<uint64_t>* handles, std::wstring* error) {
  handles->clear();
  for (const auto& part : SplitCommas(platform::TrimBlanks(s))) {
    bool ok = !part.empty() && part.size() <= 16;
    for (wchar_t c : part) ok = ok && std::iswxdigit(c);
    if (!ok) {
      *error = L"expected entity handles in hex (H[,H...]), got \"" +
               std::wstring(platform::TrimBlanks(s)) + L"\"";
      return false;
    }
    handles->push_back(std::wcstoull(part.c_str(), nullptr, 16));
  }
  return true;
}

bool ParseIntList(std::wstring_view s, std::vector<int>* numbers, std::wstring* error) {
  numbers->clear();
  if (platform::TrimBlanks(s).empty()) return true;
  for (const auto& part : SplitCommas(platform::TrimBlanks(s))) {
    int v = 0;
    if (!ParseInt(part, &v) || v < 0) {
      *error =
          L"expected row numbers I[,I...], got \"" + std::wstring(platform::TrimBlanks(s)) + L"\"";
      return false;
    }
    numbers->push_back(v);
  }
  return true;
}

// Splits off the first word of `s`; `*rest` is what follows it.
std::wstring_view FirstWord(std::wstring_view s, std::wstring_view* rest) {
  s = platform::TrimBlanks(s);
  size_t end = 0;
  while (end < s.size() && !IsBlank(s[end])) ++end;
  *rest = s.substr(end);
  return s.substr(0, end);
}

// The window actions: `[@ID] VERB CTRL ...`.
bool ReadWindowAction(std::wstring_view verb, std::wstring_view rest, int template_id,
                      ScriptStep* step, std::wstring* error) {
  static const std::pair<const wchar_t*, ActionKind> kVerbs[] = {
      {L"click", ActionKind::kClick},   {L"type", ActionKind::kType},
      {L"choose", ActionKind::kChoose}, {L"rows", ActionKind::kRows},
      {L"header", ActionKind::kHeader}, {L"menu", ActionKind::kMenu}};
  ActionKind kind{};
  bool found = false;
  for (const auto& [name, k] : kVerbs) {
    if (verb == name) {
      kind = k;
      found = true;
    }
  }
  if (!found) {
    *error = L"expected a window action after @" + std::to_wstring(template_id) +
             L" (click, type, choose, rows, header, menu)";
    return false;
  }
  *step = steps::Action(kind);
  step->action.template_id = template_id;
  std::wstring_view args;
  const std::wstring_view control = FirstWord(rest, &args);
  if (!ParseInt(control, &step->action.control)) {
    *error =
        std::wstring(verb) + L": expected a control id, got \"" + std::wstring(control) + L"\"";
    return false;
  }
  switch (kind) {
    case ActionKind::kClick:
      if (!platform::TrimBlanks(args).empty()) {
        *error = L"click: unexpected text after the control id";
        return false;
      }
      return true;
    case ActionKind::kType:
      return ReadText(args, &step->action.text, error);
    case ActionKind::kChoose:
    case ActionKind::kMenu:
      if (!ReadText(args, &step->action.text, error)) return false;
      if (step->action.text.empty()) {
        *error = std::wstring(verb) + L": expected the item's text";
        return false;
      }
      return true;
    case ActionKind::kRows:
      return ParseIntList(args, &step->action.numbers, error);
    case ActionKind::kHeader: {
      int column = 0;
      if (!ParseInt(platform::TrimBlanks(args), &column) || column < 0) {
        *error = L"header: expected a column number";
        return false;
      }
      step->action.numbers = {column};
      return true;
    }
    default:
      return false;
  }
}

bool ExpectNothing(std::wstring_view verb, std::wstring_view rest, std::wstring* error) {
  if (platform::TrimBlanks(rest).empty()) return true;
  *error = std::wstring(verb) + L": unexpected text \"" + std::wstring(platform::TrimBlanks(rest)) +
           L"\"";
  return false;
}

bool ReadStep(std::wstring_view text, ScriptStep* step, std::wstring* error) {
  std::wstring_view rest;
  std::wstring_view first = FirstWord(text, &rest);
  int template_id = 0;
  if (!first.empty() && first.front() == L'@') {
    if (!ParseInt(first.substr(1), &template_id) || template_id <= 0) {
      *error = L"expected a template id after @, got \"" + std::wstring(first) + L"\"";
      return false;
    }
    first = FirstWord(rest, &rest);
    return ReadWindowAction(AsciiLower(first), rest, template_id, step, error);
  }
  const std::wstring verb = AsciiLower(first);
  if (verb == L"click" || verb == L"type" || verb == L"choose" || verb == L"rows" ||
      verb == L"header" || verb == L"menu") {
    return ReadWindowAction(verb, rest, 0, step, error);
  }
  if (verb == L"command") {
    *step = steps::Action(ActionKind::kCommand);
    std::vector<std::wstring> words;
    if (!SplitWords(rest, &words, error)) return false;
    if (words.empty() || words.front().empty()) {
      *error = L"command: expected a command name";
      return false;
    }
    step->action.text = words.front();
    step->action.args.assign(words.begin() + 1, words.end());
    return true;
  }
  if (verb == L"pick" || verb == L"preselect") {
    *step = steps::Action(verb == L"pick" ? ActionKind::kPick : ActionKind::kPreselect);
    return ParseHandles(rest, &step->action.handles, error);
  }
  if (verb == L"pickat") {
    *step = steps::Action(ActionKind::kPickAt);
    return ParsePoint(rest, false, &step->action, error);
  }
  if (verb == L"move") {
    *step = steps::Action(ActionKind::kMove);
    return ParsePoint(rest, true, &step->action, error);
  }
  if (verb == L"point") {
    *step = steps::Action(ActionKind::kPoint);
    return ParsePoint(rest, true, &step->action, error);
  }
  if (verb == L"enter" || verb == L"esc" || verb == L"break") {
    *step = steps::Action(verb == L"enter" ? ActionKind::kEnter
                          : verb == L"esc" ? ActionKind::kEsc
                                           : ActionKind::kBreak);
    return ExpectNothing(verb, rest, error);
  }
  if (verb == L"answer") {
    const std::wstring answer = AsciiLower(platform::TrimBlanks(rest));
    if (answer != L"ok" && answer != L"yes" && answer != L"no" && answer != L"cancel") {
      *error = L"answer: expected ok, yes, no or cancel, got \"" +
               std::wstring(platform::TrimBlanks(rest)) + L"\"";
      return false;
    }
    *step = steps::Action(ActionKind::kAnswer);
    step->action.text = answer;
    return true;
  }
  if (verb == L"colour" || verb == L"color") {
    *step = steps::Action(ActionKind::kColour);
    if (platform::TrimBlanks(rest).empty()) return true;
    int index = 0;
    if (!ParseInt(platform::TrimBlanks(rest), &index) || index < 0 || index > 256) {
      *error = L"colour: expected a colour index 0 to 256, got \"" +
               std::wstring(platform::TrimBlanks(rest)) + L"\"";
      return false;
    }
    step->action.numbers = {index};
    return true;
  }
  if (verb == L"expect") {
    step->kind = ScriptStep::Kind::kExpect;
    if (!ReadText(rest, &step->text, error)) return false;
    if (step->text.empty()) {
      *error = L"expect: expected the text to look for";
      return false;
    }
    return true;
  }
  if (verb == L"show") {
    std::wstring_view args;
    const std::wstring what = AsciiLower(FirstWord(rest, &args));
    if (what == L"palette" || what == L"drawing") {
      step->kind =
          what == L"palette" ? ScriptStep::Kind::kShowPalette : ScriptStep::Kind::kShowDrawing;
      return ExpectNothing(L"show " + what, args, error);
    }
    if (what == L"entity") {
      step->kind = ScriptStep::Kind::kShowEntity;
      std::vector<uint64_t> handles;
      if (!ParseHandles(args, &handles, error)) return false;
      if (handles.size() != 1) {
        *error = L"show entity: expected one handle";
        return false;
      }
      step->handle = handles.front();
      return true;
    }
    *error = L"show: expected palette, entity H or drawing";
    return false;
  }
  if (verb == L"help") {
    step->kind = ScriptStep::Kind::kHelp;
    std::wstring_view args;
    step->text = AsciiLower(FirstWord(rest, &args));
    if (!step->text.empty() && !IsScriptVerb(step->text)) {
      *error = L"help: no action \"" + step->text + L"\"";
      return false;
    }
    return ExpectNothing(L"help " + step->text, args, error);
  }
  *error = L"unknown action \"" + std::wstring(first) + L"\"";
  return false;
}

}  // namespace

bool ReadScriptLine(std::wstring_view line, int line_number, std::vector<ScriptStep>* out,
                    std::wstring* error) {
  std::wstring_view text;
  if (!StripComment(line, &text, error)) return false;
  if (platform::TrimBlanks(text).empty()) return true;
  ScriptStep step;
  if (!ReadStep(platform::TrimBlanks(text), &step, error)) return false;
  step.line = line_number;
  step.action.line = line_number;
  out->push_back(std::move(step));
  return true;
}

ScriptReadResult ReadScript(std::wstring_view text) {
  ScriptReadResult result;
  if (!text.empty() && text.front() == L'\uFEFF') text.remove_prefix(1);
  int line_number = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of(L"\r\n", pos);
    if (end == std::wstring_view::npos) end = text.size();
    ++line_number;
    std::wstring error;
    if (!ReadScriptLine(text.substr(pos, end - pos), line_number, &result.steps, &error)) {
      result.error = L"line " + std::to_wstring(line_number) + L": " + error;
      return result;
    }
    pos = end;
    if (pos < text.size() && text[pos] == L'\r') {
      ++pos;
      if (pos < text.size() && text[pos] == L'\n') ++pos;
    } else if (pos < text.size()) {
      ++pos;
    }
  }
  return result;
}

std::wstring DecodeScriptBytes(std::string_view bytes) {
  return platform::DecodeText(bytes);
}

ScriptReadResult ReadScriptFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    ScriptReadResult result;
    result.error = L"cannot open the script " + platform::Utf8ToWide(path);
    return result;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return ReadScript(DecodeScriptBytes(bytes.str()));
}

}  // namespace host
