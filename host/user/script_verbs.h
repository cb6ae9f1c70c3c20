// The vocabulary of session scripts as one table: each verb's name, syntax, help and parser.
//
// Everything that knows the verbs asks this table: the script reader dispatches on it, `help`
// prints it, a typed line's first word is checked against it and Tab completes from it. To add a
// verb, add its row to kScriptVerbs in script_verbs.cpp and its parser beside the rows of its
// kind; nothing else lists verbs.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/user/script.h"

namespace host {

struct ScriptVerb;

// Reads what follows the verb on a line (`args`, blanks and all, comment already cut) into
// `*step`, which comes in default-constructed. False with a message (without the "line N:"
// prefix) in `*error` when the arguments do not fit; `*step` is thrown away then. A window
// action's parser leaves template_id alone: the reader sets it from the line's @ID.
using VerbParser = bool (*)(const ScriptVerb& verb, std::wstring_view args, ScriptStep* step,
                            std::wstring* error);

// What the word after a verb is, for the reader of a line and for Tab.
enum class VerbArgument {
  kOther,    // whatever the parser reads (a name, numbers, a point, a text); Tab offers nothing
  kKeyword,  // one of the row's `keywords` first (preselect: or its handles); Tab offers them
  kVerb,     // a verb or nothing (help); Tab offers the verbs
  kControl,  // a window action, `[@ID] VERB CTRL ...`: the line may begin with @ID, and Tab
             // offers the control ids of the window that the action goes to
};

// One row. The members without a default must be given (a row that leaves one out does not
// compile with the project's warnings as errors).
struct ScriptVerb {
  std::wstring_view name;        // "colour": lower case, as help lists it and errors name it
  std::wstring_view alias = {};  // another spelling read the same ("color"), or empty
  std::wstring_view syntax;      // "colour [N]", as help shows it
  std::wstring_view summary;     // one line
  VerbParser parse;
  VerbArgument argument = VerbArgument::kOther;
  std::span<const std::wstring_view> keywords = {};  // for VerbArgument::kKeyword

  bool window_action() const { return argument == VerbArgument::kControl; }
};

// Every verb, in the order `help` lists them.
std::span<const ScriptVerb> ScriptVerbs();

// The row whose name or alias is `word` in any case; nullptr when there is none.
const ScriptVerb* FindScriptVerb(std::wstring_view word);

// Whether `word` (any case) names a verb ("color" as well as "colour").
bool IsScriptVerb(std::wstring_view word);

// The names of the window actions in table order (click, type, choose, ...), for the messages
// that tell what a dialog or an @ID prefix takes.
std::vector<std::wstring_view> WindowVerbNames();

// What `help` prints: with an empty verb, one line per verb ("VERB  summary", names aligned);
// with a verb (any case, or an alias), its syntax on the first line and the summary indented
// below. Ends with "\n". Empty when the verb is unknown.
std::wstring HelpText(std::wstring_view verb);

}  // namespace host
