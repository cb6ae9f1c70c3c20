// The words of a session script line: blanks, quoted text, numbers, points and handle lists, read
// with the messages that a bad one gets.
//
// Every reader here that can fail returns false with a message in `*error` (without the "line N:"
// prefix, which the script reader adds) and leaves its outputs unspecified then. The verbs'
// parsers (host/script_verbs.cpp) are built from these, so that each verb words its faults alike.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/user_session.h"

namespace host {

inline bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

// `s` with the ASCII capitals made small: verbs, answers and command words are ASCII, and
// Japanese text passes unchanged.
std::wstring AsciiLower(std::wstring_view s);

// Splits off the first word of `s` (leading blanks skipped); `*rest` is what follows it, blanks
// and all. Both are empty for a blank `s`.
std::wstring_view FirstWord(std::wstring_view s, std::wstring_view* rest);

// Reads a double-quoted text starting at `s[0] == '"'`, with the escapes \" \\ \n. On success
// `*used` is the number of characters consumed, closing quote included.
bool ReadQuoted(std::wstring_view s, std::wstring* text, size_t* used, std::wstring* error);

// The rest of a line as one TEXT: a quoted text (nothing may follow it), or the trimmed rest
// (which may be empty: the caller decides whether a TEXT is required).
bool ReadText(std::wstring_view rest, std::wstring* text, std::wstring* error);

// Splits into words at blanks; quoted words may hold blanks and be empty.
bool SplitWords(std::wstring_view s, std::vector<std::wstring>* words, std::wstring* error);

// A decimal int of at most ten characters, nothing else; no message (callers word their own).
bool ParseInt(std::wstring_view s, int* value);

// `s` as a point X,Y (or X,Y,Z when `allow_z`) into a->x, y, z and has_z.
bool ParsePoint(std::wstring_view s, bool allow_z, platform::UserAction* a, std::wstring* error);

// `s` as hex handles H[,H...]: one at least, each of 1 to 16 hex digits.
bool ParseHandles(std::wstring_view s, std::vector<uint64_t>* handles, std::wstring* error);

// `s` as row numbers I[,I...], each 0 or more; a blank `s` is the empty list.
bool ParseIntList(std::wstring_view s, std::vector<int>* numbers, std::wstring* error);

// True when `rest` is blank; else the message "VERB: unexpected text ..." with `verb` as given.
bool ExpectNothing(std::wstring_view verb, std::wstring_view rest, std::wstring* error);

// The names as a reader would list them: "a, b or c" with `last` " or ", "a, b, c" with ", ".
std::wstring ListNames(std::span<const std::wstring_view> names, std::wstring_view last);

}  // namespace host
