// Session script lines written from steps, in the form that the script reader reads back.
#include "host/user/script_writer.h"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <system_error>
#include <vector>

#include "host/user/script_words.h"

namespace host {
namespace {

using platform::ActionKind;

// Characters that bare text cannot hold: a quote would open a quoted text (or stray after
// one), `#` opens a comment, a backslash is kept out of bare text so that a written line never
// hinges on where a quote happens to stand, and a line end would end the line.
bool HasSpecial(std::wstring_view text) {
  return text.find_first_of(L"\"\\#\n\r") != std::wstring_view::npos;
}

std::wstring Quoted(std::wstring_view text) {
  std::wstring out = L"\"";
  for (const wchar_t c : text) {
    switch (c) {
      case L'"':
        out += L"\\\"";
        break;
      case L'\\':
        out += L"\\\\";
        break;
      case L'\n':
        out += L"\\n";
        break;
      default:
        out += c;
    }
  }
  out += L'"';
  return out;
}

// The rest of a line as one TEXT: the reader trims it, so blanks at either end need quotes, and
// an empty text is written `""` to show that it is meant.
std::wstring Text(std::wstring_view text) {
  const bool bare =
      !text.empty() && !IsBlank(text.front()) && !IsBlank(text.back()) && !HasSpecial(text);
  return bare ? std::wstring(text) : Quoted(text);
}

// One word of a command line: the reader splits at blanks, so a blank anywhere needs quotes.
std::wstring Word(std::wstring_view word) {
  bool bare = !word.empty() && !HasSpecial(word);
  for (const wchar_t c : word) bare = bare && !IsBlank(c);
  return bare ? std::wstring(word) : Quoted(word);
}

// The shortest decimal form that reads back as the same double; it is ASCII.
std::wstring Number(double v) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  if (ec != std::errc()) return L"0";  // 64 characters hold every double; not reached
  return std::wstring(buf, end);
}

std::wstring Hex(uint64_t v) {
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, 16);
  std::wstring out(buf, ec == std::errc() ? end : buf);
  for (auto& c : out) {
    if (c >= L'a' && c <= L'f') c = c - L'a' + L'A';
  }
  return out;
}

std::wstring Handles(const std::vector<uint64_t>& handles) {
  std::wstring out;
  for (size_t i = 0; i < handles.size(); ++i) out += (i ? L"," : L"") + Hex(handles[i]);
  return out;
}

std::wstring Point(const platform::UserAction& a, bool with_z) {
  std::wstring out = Number(a.x) + L"," + Number(a.y);
  if (with_z) out += L"," + Number(a.z);
  return out;
}

// `[@ID ]VERB CTRL`, what every window action begins with.
std::wstring Window(const platform::UserAction& a, std::wstring_view verb) {
  std::wstring out = a.template_id != 0 ? L"@" + std::to_wstring(a.template_id) + L" " : L"";
  out += verb;
  out += L" " + std::to_wstring(a.control);
  return out;
}

}  // namespace

std::wstring ScriptLineOf(const platform::UserAction& a) {
  switch (a.kind) {
    case ActionKind::kCommand: {
      std::wstring out = L"command " + Word(a.text);
      for (const auto& arg : a.args) out += L" " + Word(arg);
      return out;
    }
    case ActionKind::kTyped:
      return L"typed " + Text(a.text);
    case ActionKind::kPick:
      return L"pick " + Handles(a.handles);
    case ActionKind::kPickAt:
      return L"pickat " + Point(a, false);
    case ActionKind::kPoint:
      return L"point " + Point(a, a.has_z);
    case ActionKind::kMove:
      return L"move " + Point(a, a.has_z);
    case ActionKind::kEnter:
      return L"enter";
    case ActionKind::kEsc:
      return L"esc";
    case ActionKind::kPreselect:
      // A rectangle names its mode; the handle form has none.
      if (!a.text.empty()) {
        return L"preselect " + a.text + L" " + Number(a.x) + L"," + Number(a.y) + L" " +
               Number(a.x2) + L"," + Number(a.y2);
      }
      return L"preselect " + Handles(a.handles);
    case ActionKind::kBreak:
      return L"break";
    case ActionKind::kClick:
      return Window(a, L"click");
    case ActionKind::kType:
      return Window(a, L"type") + L" " + Text(a.text);
    case ActionKind::kChoose:
      return Window(a, L"choose") + L" " + Text(a.text);
    case ActionKind::kRows: {
      std::wstring out = Window(a, L"rows");
      for (size_t i = 0; i < a.numbers.size(); ++i) {
        out += (i ? L"," : L" ") + std::to_wstring(a.numbers[i]);
      }
      return out;
    }
    case ActionKind::kHeader: {
      std::wstring out = Window(a, L"header");
      if (!a.numbers.empty()) out += L" " + std::to_wstring(a.numbers.front());
      return out;
    }
    case ActionKind::kMenu: {
      // No item: the menu is only opened, and the line says nothing more.
      std::wstring out = Window(a, L"menu");
      if (!a.text.empty()) out += L" " + Text(a.text);
      return out;
    }
    case ActionKind::kAnswer:
      return L"answer " + a.text;
    case ActionKind::kColour:
      return a.numbers.empty() ? L"colour" : L"colour " + std::to_wstring(a.numbers.front());
  }
  return L"";
}

std::wstring ScriptLineOf(const ScriptStep& step) {
  switch (step.kind) {
    case ScriptStep::Kind::kAction:
      return ScriptLineOf(step.action);
    case ScriptStep::Kind::kExpect:
      return L"expect " + Text(step.text);
    case ScriptStep::Kind::kShowPalette:
      return L"show palette";
    case ScriptStep::Kind::kShowEntity:
      return L"show entity " + Hex(step.handle);
    case ScriptStep::Kind::kShowDrawing:
      return L"show drawing";
    case ScriptStep::Kind::kHelp:
      return step.text.empty() ? L"help" : L"help " + step.text;
  }
  return L"";
}

}  // namespace host
