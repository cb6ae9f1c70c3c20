// Session scripts: lines cut at their comments and read into steps by the verbs' table.
#include "host/user/script.h"

#include <fstream>
#include <sstream>
#include <utility>

#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"

#include "host/user/script_verbs.h"
#include "host/user/script_words.h"

namespace host {
namespace {

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

bool ReadStep(std::wstring_view text, ScriptStep* step, std::wstring* error) {
  std::wstring_view rest;
  std::wstring_view first = FirstWord(text, &rest);
  int template_id = 0;
  const bool has_template = !first.empty() && first.front() == L'@';
  if (has_template) {
    if (!ParseInt(first.substr(1), &template_id) || template_id <= 0) {
      *error = L"expected a template id after @, got \"" + std::wstring(first) + L"\"";
      return false;
    }
    first = FirstWord(rest, &rest);
  }
  const ScriptVerb* verb = FindScriptVerb(first);
  if (has_template && (verb == nullptr || !verb->window_action())) {
    *error = L"expected a window action after @" + std::to_wstring(template_id) + L" (" +
             ListNames(WindowVerbNames(), L", ") + L")";
    return false;
  }
  if (verb == nullptr) {
    *error = L"unknown action \"" + std::wstring(first) + L"\"";
    return false;
  }
  if (!verb->parse(*verb, rest, step, error)) return false;
  if (verb->window_action()) step->action.template_id = template_id;
  return true;
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
