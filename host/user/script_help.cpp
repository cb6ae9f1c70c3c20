// The actions of session scripts by name, for help, typed lines and completion.
#include "host/user/script_help.h"

#include <algorithm>
#include <cwchar>

namespace host {

std::wstring AsciiLower(std::wstring_view s) {
  std::wstring out(s);
  for (auto& c : out) {
    if (c >= L'A' && c <= L'Z') c = c - L'A' + L'a';
  }
  return out;
}

const std::vector<ScriptVerb>& ScriptVerbs() {
  static const std::vector<ScriptVerb> kVerbs = {
      {L"command", L"command NAME [ARG...]",
       L"types NAME at the command line; each ARG answers one of its first prompts"},
      {L"pick", L"pick H[,H...]", L"answers an entity prompt with these entities (hex handles)"},
      {L"pickat", L"pickat X,Y", L"answers an entity prompt by pointing at X,Y"},
      {L"point", L"point X,Y[,Z]", L"answers a point prompt; during a drag it is the pick"},
      {L"move", L"move X,Y", L"one cursor sample during a drag"},
      {L"enter", L"enter", L"empty response (at the command prompt: repeats the last command)"},
      {L"esc", L"esc", L"cancels the prompt (Ctrl-C in a typed session)"},
      {L"preselect", L"preselect H[,H...]", L"the pick-first selection of the next command"},
      {L"break", L"break", L"Esc pressed during a long loop"},
      {L"click", L"[@ID] click CTRL",
       L"clicks a control of the active window; click 1 / click 2 are Enter / Esc"},
      {L"type", L"[@ID] type CTRL TEXT", L"replaces the text of an edit or combo box"},
      {L"choose", L"[@ID] choose CTRL TEXT", L"selects a combo box item"},
      {L"rows", L"[@ID] rows CTRL [I[,I...]]", L"selects list view rows (none: clears them)"},
      {L"header", L"[@ID] header CTRL COL", L"clicks a list view column header"},
      {L"menu", L"[@ID] menu CTRL ITEM", L"picks an item of a control's context menu"},
      {L"answer", L"answer ok|yes|no|cancel", L"answers the next message box"},
      {L"colour", L"colour [N]", L"answers the next colour dialog (alone: cancels it)"},
      {L"expect", L"expect TEXT", L"the transcript since the previous expect must contain TEXT"},
      {L"show", L"show palette|entity H|drawing", L"prints a plain-text view"},
      {L"help", L"help [VERB]", L"lists the actions, or shows the syntax of one"},
  };
  return kVerbs;
}

bool IsScriptVerb(std::wstring_view word) {
  const std::wstring lower = AsciiLower(word);
  if (lower == L"color") return true;
  const auto& verbs = ScriptVerbs();
  return std::any_of(verbs.begin(), verbs.end(),
                     [&](const ScriptVerb& v) { return lower == v.name; });
}

std::wstring HelpText(std::wstring_view verb) {
  std::wstring lower = AsciiLower(verb);
  if (lower == L"color") lower = L"colour";
  std::wstring text;
  if (lower.empty()) {
    size_t width = 0;
    for (const auto& v : ScriptVerbs()) width = std::max(width, std::wcslen(v.name));
    for (const auto& v : ScriptVerbs()) {
      text += v.name + std::wstring(width + 2 - std::wcslen(v.name), L' ') + v.summary + L"\n";
    }
    return text;
  }
  for (const auto& v : ScriptVerbs()) {
    if (lower == v.name) return std::wstring(v.syntax) + L"\n  " + v.summary + L"\n";
  }
  return text;
}

}  // namespace host
