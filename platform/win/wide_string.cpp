// UTF-16 order, Windows case mapping and East Asian width of wide strings.
#include "platform/win/wide_string.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <iterator>

namespace platform {
namespace {

// The code unit that leads a character in UTF-16, mapped so that comparing these numbers
// orders like comparing UTF-16 code units: characters above U+FFFF start with a high surrogate
// (D800..DBFF), which sorts below E000..FFFF.
inline uint32_t Utf16SortKey(wchar_t c) {
  uint32_t u = static_cast<uint32_t>(c);
  if (u < 0xD800) return u << 11;
  if (u >= 0x10000) return (0xD800 << 11) + (u - 0x10000);  // surrogate pair order
  if (u >= 0xE000) return (u << 11) + 0x1000000;            // above every pair
  return u << 11;                                           // lone surrogates
}

locale_t Utf8Locale() {
  static locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return loc;
}

struct Range {
  char32_t first, last;
};
// East Asian Wide (W) and Fullwidth (F) ranges, sorted.
constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
    {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251}, {0x1F300, 0x1F320},
    {0x1F32D, 0x1F335}, {0x1F337, 0x1F37C}, {0x1F37E, 0x1F393}, {0x1F3A0, 0x1F3CA},
    {0x1F3CF, 0x1F3D3}, {0x1F3E0, 0x1F3F0}, {0x1F3F4, 0x1F3F4}, {0x1F3F8, 0x1F43E},
    {0x1F440, 0x1F440}, {0x1F442, 0x1F4FC}, {0x1F4FF, 0x1F53D}, {0x1F54B, 0x1F54E},
    {0x1F550, 0x1F567}, {0x1F57A, 0x1F57A}, {0x1F595, 0x1F596}, {0x1F5A4, 0x1F5A4},
    {0x1F5FB, 0x1F64F}, {0x1F680, 0x1F6C5}, {0x1F6CC, 0x1F6CC}, {0x1F6D0, 0x1F6D2},
    {0x1F6D5, 0x1F6D7}, {0x1F6EB, 0x1F6EC}, {0x1F6F4, 0x1F6FC}, {0x1F7E0, 0x1F7EB},
    {0x1F90C, 0x1F93A}, {0x1F93C, 0x1F945}, {0x1F947, 0x1F9FF}, {0x1FA70, 0x1FAFF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

}  // namespace

int CompareUtf16(std::wstring_view a, std::wstring_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;
    return Utf16SortKey(a[i]) < Utf16SortKey(b[i]) ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

wchar_t UpperChar(wchar_t c) {
  if (c < 0x80) return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 0x20) : c;
  // Windows' table keeps U+00FF and U+0131 ... one to one; glibc's simple mapping agrees on the
  // characters that file names and profile keys of this system use.
  locale_t loc = Utf8Locale();
  if (loc == static_cast<locale_t>(0)) return c;
  wint_t up = towupper_l(static_cast<wint_t>(c), loc);
  // Mappings that change the UTF-16 length (none in the BMP) would break buffer sizes.
  if ((static_cast<uint32_t>(c) < 0x10000) != (up < 0x10000)) return c;
  return static_cast<wchar_t>(up);
}

std::wstring ToUpper(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = UpperChar(c);
  return out;
}

int CompareNoCase(std::wstring_view a, std::wstring_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    wchar_t x = UpperChar(a[i]), y = UpperChar(b[i]);
    if (x == y) continue;
    return Utf16SortKey(x) < Utf16SortKey(y) ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

bool IsFullWidthChar(char32_t c) {
  if (c < 0x1100) return false;
  auto it = std::upper_bound(std::begin(kWide), std::end(kWide), c,
                             [](char32_t v, const Range& r) { return v < r.first; });
  if (it == std::begin(kWide)) return false;
  --it;
  return c <= it->last;
}

std::wstring_view TrimBlanks(std::wstring_view text) {
  auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace platform
