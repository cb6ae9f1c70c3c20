// Comparing and measuring wide strings the way Windows does: UTF-16 order, case-blind names,
// East Asian width.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Ordinal comparison in UTF-16 code-unit order (negative, 0, positive), as Windows sorts strings
// ordinally: a character above U+FFFF compares as its surrogate pair, so below U+E000..U+FFFF.
// This is the one comparison to use for ordinal sorts.
int CompareUtf16(std::wstring_view a, std::wstring_view b);

// The upper-case form of one character as Windows' case mapping gives it for file names and
// profile keys (simple one-to-one mapping; characters without one stay as they are).
wchar_t UpperChar(wchar_t c);
std::wstring ToUpper(std::wstring_view text);
// Case-blind comparison: both sides upper-cased, then compared in UTF-16 order.
int CompareNoCase(std::wstring_view a, std::wstring_view b);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

// True for East Asian Wide and Fullwidth characters (CJK, kana, full-width forms, ...). The
// half-width katakana U+FF61..U+FF9F and everything else are narrow.
bool IsFullWidthChar(char32_t c);

// The text without the blanks (spaces and tabs) at either end, as profile files and scripts
// trim keys, values and words.
std::wstring_view TrimBlanks(std::wstring_view text);

}  // namespace platform
