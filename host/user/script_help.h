// The actions of session scripts by name: what `help` prints, what a typed line's first word is
// checked against and what Tab completes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

struct ScriptVerb {
  const wchar_t* name;     // "click"
  const wchar_t* syntax;   // "[@ID] click CTRL"
  const wchar_t* summary;  // one line
};

// `s` with the ASCII capitals made small: verbs, answers and command words are ASCII, and
// Japanese text passes unchanged.
std::wstring AsciiLower(std::wstring_view s);

// Every action and directive of a script, in the order `help` lists them.
const std::vector<ScriptVerb>& ScriptVerbs();

// Whether `word` (any case) names an action or directive ("color" as well as "colour").
bool IsScriptVerb(std::wstring_view word);

// What `help` prints: with an empty verb, one line per action ("VERB  summary", names aligned);
// with a verb, its syntax on the first line and the summary indented below. Ends with "\n".
// Empty when the verb is unknown.
std::wstring HelpText(std::wstring_view verb);

}  // namespace host
