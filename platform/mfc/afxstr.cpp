// CString: buffer access, search, trim and edit operations. The formatter is in cstring_format.cpp.
#include <afxstr.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"

namespace platform::mfc {

std::wstring WidenNarrow(const char* text, size_t length) {
  std::wstring out;
  if (!text) return out;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  // Try UTF-8 first; any invalid sequence makes the whole text bytes-as-code-points.
  size_t i = 0;
  bool valid = true;
  while (valid && i < length) {
    unsigned c = p[i];
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + extra >= length + (extra == 0)) {
      valid = extra == 0;
      if (!valid) break;
    }
    uint32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k <= extra && valid; ++k) {
      valid = (p[i + k] & 0xC0) == 0x80;
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    if (!valid) break;
    out += static_cast<wchar_t>(cp);
    i += extra + 1;
  }
  if (valid) return out;
  out.clear();
  for (size_t k = 0; k < length; ++k) out += static_cast<wchar_t>(p[k]);
  return out;
}

std::wstring WidenAnsi(const char* text, size_t length) {
  if (!text) return {};
  return platform::Cp932ToWide(std::string_view(text, length));
}

}  // namespace platform::mfc

namespace {

bool IsTrimSpace(wchar_t c) {
  return c == L' ' || (c >= 9 && c <= 13) || c == 0x3000;
}

wchar_t AsciiLower(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? c + 32 : c;
}

bool InSet(wchar_t c, LPCWSTR set) {
  return set && c != 0 && std::wcschr(set, c) != nullptr;
}

}  // namespace

CString::CString(LPCSTR text) {
  if (text) s_ = platform::mfc::WidenAnsi(text, std::strlen(text));
}

LPWSTR CString::GetBuffer(int min_length) {
  if (min_length > GetLength()) {
    size_t old = s_.size();
    s_.resize(min_length);
    std::fill(s_.begin() + old, s_.end(), L'\0');
  }
  return s_.data();
}

LPWSTR CString::GetBufferSetLength(int length) {
  s_.resize(length > 0 ? length : 0);
  return s_.data();
}

void CString::ReleaseBuffer(int new_length) {
  if (new_length < 0) {
    new_length = static_cast<int>(std::wcslen(s_.c_str()));
  }
  if (new_length < GetLength()) s_.resize(new_length);
}

// Ordinal as on Windows, where wchar_t is a UTF-16 code unit: a character above U+FFFF sorts
// as its surrogate pair, below U+E000..U+FFFF.
int CString::Compare(LPCWSTR other) const {
  return platform::CompareUtf16(s_, other ? other : L"");
}

int CString::CompareNoCase(LPCWSTR other) const {
  const wchar_t* a = s_.c_str();
  const wchar_t* b = other ? other : L"";
  for (;; ++a, ++b) {
    wchar_t ca = AsciiLower(*a), cb = AsciiLower(*b);
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

int CString::Find(wchar_t ch, int start) const {
  if (start < 0) start = 0;
  if (start >= GetLength()) return -1;
  size_t pos = s_.find(ch, start);
  return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCWSTR sub, int start) const {
  if (!sub) return -1;
  if (start < 0) start = 0;
  if (start > GetLength()) return -1;
  size_t pos = s_.find(sub, start);
  return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const {
  size_t pos = s_.rfind(ch);
  return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(LPCWSTR chars) const {
  if (!chars || !*chars) return -1;
  size_t pos = s_.find_first_of(chars);
  return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

CString CString::Mid(int first) const {
  return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
  if (first < 0) first = 0;
  if (count < 0) count = 0;
  if (first > GetLength()) first = GetLength();
  if (count > GetLength() - first) count = GetLength() - first;
  return CString(s_.substr(first, count));
}

CString CString::Left(int count) const {
  return Mid(0, count);
}

CString CString::Right(int count) const {
  if (count < 0) count = 0;
  if (count > GetLength()) count = GetLength();
  return CString(s_.substr(GetLength() - count));
}

CString CString::SpanIncluding(LPCWSTR chars) const {
  int n = 0;
  while (n < GetLength() && InSet(s_[n], chars)) ++n;
  return Left(n);
}

CString CString::SpanExcluding(LPCWSTR chars) const {
  int n = 0;
  while (n < GetLength() && !InSet(s_[n], chars)) ++n;
  return Left(n);
}

CString CString::Tokenize(LPCWSTR delimiters, int& start) const {
  if (start < 0) return CString();
  if (!delimiters || !*delimiters) {
    if (start < GetLength()) {
      CString rest = Mid(start);
      start = GetLength();
      return rest;
    }
    start = -1;
    return CString();
  }
  int pos = start;
  while (pos < GetLength() && InSet(s_[pos], delimiters)) ++pos;
  if (pos < GetLength()) {
    int end = pos;
    while (end < GetLength() && !InSet(s_[end], delimiters)) ++end;
    start = end + 1;
    return Mid(pos, end - pos);
  }
  start = -1;
  return CString();
}

CString& CString::MakeUpper() {
  for (auto& c : s_) {
    if ((c >= L'a' && c <= L'z') || (c >= 0xFF41 && c <= 0xFF5A)) c -= 32;
  }
  return *this;
}

CString& CString::MakeLower() {
  for (auto& c : s_) {
    if ((c >= L'A' && c <= L'Z') || (c >= 0xFF21 && c <= 0xFF3A)) c += 32;
  }
  return *this;
}

CString& CString::MakeReverse() {
  std::reverse(s_.begin(), s_.end());
  return *this;
}

CString& CString::Trim() {
  return TrimRight().TrimLeft();
}
CString& CString::Trim(wchar_t ch) {
  return TrimRight(ch).TrimLeft(ch);
}
CString& CString::Trim(LPCWSTR chars) {
  return TrimRight(chars).TrimLeft(chars);
}

CString& CString::TrimLeft() {
  size_t n = 0;
  while (n < s_.size() && IsTrimSpace(s_[n])) ++n;
  s_.erase(0, n);
  return *this;
}

CString& CString::TrimLeft(wchar_t ch) {
  size_t n = 0;
  while (n < s_.size() && s_[n] == ch) ++n;
  s_.erase(0, n);
  return *this;
}

CString& CString::TrimLeft(LPCWSTR chars) {
  size_t n = 0;
  while (n < s_.size() && InSet(s_[n], chars)) ++n;
  s_.erase(0, n);
  return *this;
}

CString& CString::TrimRight() {
  while (!s_.empty() && IsTrimSpace(s_.back())) s_.pop_back();
  return *this;
}

CString& CString::TrimRight(wchar_t ch) {
  while (!s_.empty() && s_.back() == ch) s_.pop_back();
  return *this;
}

CString& CString::TrimRight(LPCWSTR chars) {
  while (!s_.empty() && InSet(s_.back(), chars)) s_.pop_back();
  return *this;
}

int CString::Replace(wchar_t old_ch, wchar_t new_ch) {
  int count = 0;
  if (old_ch == new_ch) return 0;
  for (auto& c : s_) {
    if (c == old_ch) {
      c = new_ch;
      ++count;
    }
  }
  return count;
}

int CString::Replace(LPCWSTR old_text, LPCWSTR new_text) {
  if (!old_text || !*old_text) return 0;
  std::wstring_view from(old_text);
  std::wstring_view to(new_text ? new_text : L"");
  std::wstring out;
  int count = 0;
  size_t pos = 0;
  for (;;) {
    size_t hit = s_.find(from, pos);
    if (hit == std::wstring::npos) break;
    out.append(s_, pos, hit - pos);
    out.append(to);
    pos = hit + from.size();
    ++count;
  }
  if (count == 0) return 0;
  out.append(s_, pos, std::wstring::npos);
  s_ = std::move(out);
  return count;
}

int CString::Remove(wchar_t ch) {
  size_t before = s_.size();
  std::erase(s_, ch);
  return static_cast<int>(before - s_.size());
}

int CString::Insert(int index, wchar_t ch) {
  index = std::clamp(index, 0, GetLength());
  s_.insert(s_.begin() + index, ch);
  return GetLength();
}

int CString::Insert(int index, LPCWSTR text) {
  index = std::clamp(index, 0, GetLength());
  if (text) s_.insert(index, text);
  return GetLength();
}

int CString::Delete(int index, int count) {
  if (index < 0) index = 0;
  if (count > 0 && index < GetLength()) s_.erase(index, count);
  return GetLength();
}

BOOL CString::LoadString(UINT id) {
  std::wstring text;
  if (!platform::mfc::LookupResourceString(id, &text)) return FALSE;
  s_ = std::move(text);
  return TRUE;
}
