// The words of session script lines: quoting, numbers, points, handles and their messages.
#include "host/user/script_words.h"

#include <cerrno>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <utility>

#include "platform/win/wide_string.h"

namespace host {
namespace {

bool ParseNumber(std::wstring_view s, double* value) {
  if (s.empty()) return false;
  std::wstring str(s);
  wchar_t* end = nullptr;
  const double v = std::wcstod(str.c_str(), &end);
  if (end != str.c_str() + str.size()) return false;
  // wcstod also reads "inf" and "nan"; a coordinate is a plain number.
  for (wchar_t c : str) {
    if (!(std::iswdigit(c) || c == L'.' || c == L'-' || c == L'+' || c == L'e' || c == L'E')) {
      return false;
    }
  }
  *value = v;
  return true;
}

// Splits "a,b,c" (blanks around the commas allowed) into its parts.
std::vector<std::wstring> SplitCommas(std::wstring_view s) {
  std::vector<std::wstring> parts;
  std::wstring current;
  for (wchar_t c : s) {
    if (c == L',') {
      parts.emplace_back(platform::TrimBlanks(current));
      current.clear();
    } else {
      current += c;
    }
  }
  parts.emplace_back(platform::TrimBlanks(current));
  return parts;
}

}  // namespace

std::wstring AsciiLower(std::wstring_view s) {
  std::wstring out(s);
  for (auto& c : out) {
    if (c >= L'A' && c <= L'Z') c = c - L'A' + L'a';
  }
  return out;
}

std::wstring_view FirstWord(std::wstring_view s, std::wstring_view* rest) {
  s = platform::TrimBlanks(s);
  size_t end = 0;
  while (end < s.size() && !IsBlank(s[end])) ++end;
  *rest = s.substr(end);
  return s.substr(0, end);
}

bool ReadQuoted(std::wstring_view s, std::wstring* text, size_t* used, std::wstring* error) {
  text->clear();
  for (size_t i = 1; i < s.size(); ++i) {
    const wchar_t c = s[i];
    if (c == L'"') {
      *used = i + 1;
      return true;
    }
    if (c != L'\\') {
      *text += c;
      continue;
    }
    if (++i >= s.size()) break;
    switch (s[i]) {
      case L'"':
        *text += L'"';
        break;
      case L'\\':
        *text += L'\\';
        break;
      case L'n':
        *text += L'\n';
        break;
      default:
        *error = std::wstring(L"unknown escape \\") + s[i] + L" in quoted text";
        return false;
    }
  }
  *error = L"unterminated quoted text";
  return false;
}

bool ReadText(std::wstring_view rest, std::wstring* text, std::wstring* error) {
  rest = platform::TrimBlanks(rest);
  if (rest.empty() || rest.front() != L'"') {
    *text = std::wstring(rest);
    return true;
  }
  size_t used = 0;
  if (!ReadQuoted(rest, text, &used, error)) return false;
  if (!platform::TrimBlanks(rest.substr(used)).empty()) {
    *error = L"unexpected text after the closing quote";
    return false;
  }
  return true;
}

bool SplitWords(std::wstring_view s, std::vector<std::wstring>* words, std::wstring* error) {
  words->clear();
  size_t i = 0;
  while (true) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    if (i >= s.size()) return true;
    if (s[i] == L'"') {
      std::wstring word;
      size_t used = 0;
      if (!ReadQuoted(s.substr(i), &word, &used, error)) return false;
      i += used;
      if (i < s.size() && !IsBlank(s[i])) {
        *error = L"unexpected text after the closing quote";
        return false;
      }
      words->push_back(std::move(word));
    } else {
      const size_t start = i;
      while (i < s.size() && !IsBlank(s[i])) ++i;
      words->emplace_back(s.substr(start, i - start));
    }
  }
}

bool ParseInt(std::wstring_view s, int* value) {
  if (s.empty() || s.size() > 10) return false;
  std::wstring str(s);
  wchar_t* end = nullptr;
  errno = 0;
  const long v = std::wcstol(str.c_str(), &end, 10);
  if (errno != 0 || end != str.c_str() + str.size()) return false;
  *value = static_cast<int>(v);
  return true;
}

bool ParsePoint(std::wstring_view s, bool allow_z, platform::UserAction* a, std::wstring* error) {
  const auto parts = SplitCommas(platform::TrimBlanks(s));
  double v[3] = {0, 0, 0};
  const bool count_ok = parts.size() == 2 || (allow_z && parts.size() == 3);
  bool numbers_ok = count_ok;
  for (size_t i = 0; numbers_ok && i < parts.size(); ++i) numbers_ok = ParseNumber(parts[i], &v[i]);
  if (!numbers_ok) {
    *error = std::wstring(L"expected a point ") + (allow_z ? L"X,Y or X,Y,Z" : L"X,Y") +
             L", got \"" + std::wstring(platform::TrimBlanks(s)) + L"\"";
    return false;
  }
  a->x = v[0];
  a->y = v[1];
  a->z = v[2];
  a->has_z = parts.size() == 3;
  return true;
}

bool ParseHandles(std::wstring_view s, std::vector<uint64_t>* handles, std::wstring* error) {
  handles->clear();
  for (const auto& part : SplitCommas(platform::TrimBlanks(s))) {
    bool ok = !part.empty() && part.size() <= 16;
    for (wchar_t c : part) ok = ok && std::iswxdigit(c);
    if (!ok) {
      *error = L"expected entity handles in hex (H[,H...]), got \"" +
               std::wstring(platform::TrimBlanks(s)) + L"\"";
      return false;
    }
    handles->push_back(std::wcstoull(part.c_str(), nullptr, 16));
  }
  return true;
}

bool ParseIntList(std::wstring_view s, std::vector<int>* numbers, std::wstring* error) {
  numbers->clear();
  if (platform::TrimBlanks(s).empty()) return true;
  for (const auto& part : SplitCommas(platform::TrimBlanks(s))) {
    int v = 0;
    if (!ParseInt(part, &v) || v < 0) {
      *error =
          L"expected row numbers I[,I...], got \"" + std::wstring(platform::TrimBlanks(s)) + L"\"";
      return false;
    }
    numbers->push_back(v);
  }
  return true;
}

bool ExpectNothing(std::wstring_view verb, std::wstring_view rest, std::wstring* error) {
  if (platform::TrimBlanks(rest).empty()) return true;
  *error = std::wstring(verb) + L": unexpected text \"" + std::wstring(platform::TrimBlanks(rest)) +
           L"\"";
  return false;
}

std::wstring ListNames(std::span<const std::wstring_view> names, std::wstring_view last) {
  std::wstring text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? last : std::wstring_view(L", ");
    text += names[i];
  }
  return text;
}

}  // namespace host
