// Lines typed at the keyboard: actions, bare command lines, typed answers and box answers.
#include "host/user/typed_line.h"

#include <algorithm>

#include "platform/win/wide_string.h"

#include "host/user/script_verbs.h"
#include "host/user/script_words.h"

namespace host {

std::vector<std::wstring> BoxAnswers(unsigned box_type) {
  switch (box_type & 0xF) {
    case 1:  // MB_OKCANCEL
      return {L"ok", L"cancel"};
    case 3:  // MB_YESNOCANCEL
      return {L"yes", L"no", L"cancel"};
    case 4:  // MB_YESNO
      return {L"yes", L"no"};
    default:
      return {L"ok"};
  }
}

bool ReadTypedLine(std::wstring_view line, int line_number, const platform::Wait& wait,
                   std::vector<ScriptStep>* out, std::wstring* error) {
  const std::wstring_view text = platform::TrimBlanks(line);
  std::wstring_view rest;
  const std::wstring_view first = FirstWord(text, &rest);
  if ((!first.empty() && first.front() == L'@') || IsScriptVerb(first)) {
    return ReadScriptLine(line, line_number, out, error);
  }
  switch (wait.kind) {
    case platform::WaitKind::kCommandPrompt:
      if (text.empty()) return true;
      return ReadScriptLine(L"command " + std::wstring(text), line_number, out, error);
    case platform::WaitKind::kPrompt: {
      ScriptStep step = steps::Typed(std::wstring(line));
      step.line = line_number;
      step.action.line = line_number;
      out->push_back(std::move(step));
      return true;
    }
    case platform::WaitKind::kBox: {
      const auto answers = BoxAnswers(wait.box_type);
      if (std::find(answers.begin(), answers.end(), AsciiLower(text)) != answers.end()) {
        return ReadScriptLine(L"answer " + AsciiLower(text), line_number, out, error);
      }
      *error = L"the box waits for an answer:";
      for (const auto& a : answers) *error += L" " + a;
      return false;
    }
    case platform::WaitKind::kDialog:
      *error =
          L"a dialog waits: " + ListNames(WindowVerbNames(), L" or ") + L" (Ctrl-C cancels it)";
      return false;
    case platform::WaitKind::kMenu:
      *error = L"a menu waits: menu " + std::to_wstring(wait.control) + L" ITEM (Ctrl-C closes it)";
      return false;
    case platform::WaitKind::kColour:
      *error = L"the colour dialog waits: colour N (Ctrl-C cancels it)";
      return false;
  }
  return false;
}

}  // namespace host
