// Tab completion of a line typed at the keyboard.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

struct Completion {
  size_t word_start = 0;  // where the word being completed begins in the line
  // What the word may become, sorted and without duplicates; each is inserted as it is.
  std::vector<std::wstring> candidates;
  // For listing: one line per candidate (a control id with its text: "201 読込み").
  std::vector<std::wstring> labels;
};

// Completes the last word of `before_cursor` (the line up to the cursor):
//   first word             the verbs and the command names of the host and of the loaded
//                          applications (global names), ignoring case; after "@ID" only the
//                          window actions
//   after a window action  the control ids of the active window, or of the window made from
//                          template ID after "@ID VERB"
//   after another verb     what its row in the verbs' table (host/script_verbs.h) says comes
//                          first: the verbs after help, the keywords after show and answer
// Nothing elsewhere.
Completion CompleteTypedLine(std::wstring_view before_cursor);

// The longest text that every candidate begins with.
std::wstring CommonPrefix(const std::vector<std::wstring>& candidates);

}  // namespace host
