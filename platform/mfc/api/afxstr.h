// CString: MFC's wide-character string class (Unicode build), with its search, trim and Format
// rules.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>
#include <type_traits>

#include <windef.h>

class CString;

namespace platform::mfc {
// Decodes narrow text of the stand-ins' own files (resource scripts, the clipboard's CF_TEXT):
// UTF-8 when it is valid UTF-8, otherwise each byte as its own code point. Never fails.
std::wstring WidenNarrow(const char* text, size_t length);
// Decodes narrow text handed to CString (constructors, %hs / %S / %hc / %C) as Unicode MFC does:
// in the ANSI code page of the system, 932 on the systems Harnex serves. Never fails.
std::wstring WidenAnsi(const char* text, size_t length);

// The string with this id in the STRINGTABLE of the current resource module (or of a registered
// extension module); false when none has it.
bool LookupResourceString(UINT id, std::wstring* out);

// Variadic arguments of Format as MFC callers write them: a CString passed by value is read as
// its character pointer, as MFC's own layout makes it behave.
template <typename T>
inline decltype(auto) FormatArg(const T& value) {
  if constexpr (std::is_same_v<T, CString>) {
    return static_cast<const wchar_t*>(value);
  } else {
    return value;
  }
}
}  // namespace platform::mfc

class CString {
 public:
  CString() = default;
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  // A null pointer makes an empty string, as in MFC.
  CString(LPCWSTR text) : s_(text ? text : L"") {}  // NOLINT: implicit as in MFC
  CString(LPCWSTR text, int length)
      : s_(text ? std::wstring(text, length > 0 ? length : 0) : L"") {}
  CString(wchar_t ch, int repeat = 1) : s_(repeat > 0 ? repeat : 0, ch) {}  // NOLINT
  // Narrow text is widened in the ANSI code page (see platform::mfc::WidenAnsi).
  CString(LPCSTR text);                            // NOLINT: implicit as in MFC
  CString(const std::wstring& text) : s_(text) {}  // NOLINT
  CString(std::wstring_view text) : s_(text) {}    // NOLINT

  CString& operator=(LPCWSTR text) {
    s_ = text ? text : L"";
    return *this;
  }
  CString& operator=(wchar_t ch) {
    s_.assign(1, ch);
    return *this;
  }

  int GetLength() const { return static_cast<int>(s_.size()); }
  bool IsEmpty() const { return s_.empty(); }
  void Empty() { s_.clear(); }
  // Index out of range: returns 0 (MFC asserts).
  wchar_t GetAt(int index) const { return index >= 0 && index < GetLength() ? s_[index] : L'\0'; }
  void SetAt(int index, wchar_t ch) {
    if (index >= 0 && index < GetLength()) s_[index] = ch;
  }
  wchar_t operator[](int index) const { return GetAt(index); }

  operator LPCWSTR() const { return s_.c_str(); }  // NOLINT: implicit as in MFC
  LPCWSTR GetString() const { return s_.c_str(); }
  const std::wstring& str() const { return s_; }

  // A writable buffer of at least min_length characters (plus the terminator) holding the
  // current text; valid until the next call on this string. ReleaseBuffer(-1) takes the length
  // from the terminating zero.
  LPWSTR GetBuffer(int min_length = 0);
  LPWSTR GetBufferSetLength(int length);
  void ReleaseBuffer(int new_length = -1);
  void Preallocate(int length) { s_.reserve(length > 0 ? length : 0); }

  CString& operator+=(const CString& other) {
    s_ += other.s_;
    return *this;
  }
  CString& operator+=(LPCWSTR text) {
    if (text) s_ += text;
    return *this;
  }
  CString& operator+=(wchar_t ch) {
    s_ += ch;
    return *this;
  }
  void Append(LPCWSTR text) { *this += text; }
  void Append(LPCWSTR text, int length) {
    if (text && length > 0) s_.append(text, length);
  }
  void AppendChar(wchar_t ch) { s_ += ch; }

  friend CString operator+(const CString& a, const CString& b) { return CString(a.s_ + b.s_); }
  friend CString operator+(const CString& a, LPCWSTR b) {
    CString r(a);
    r += b;
    return r;
  }
  friend CString operator+(LPCWSTR a, const CString& b) {
    CString r(a);
    r += b;
    return r;
  }
  friend CString operator+(const CString& a, wchar_t b) {
    CString r(a);
    r += b;
    return r;
  }
  friend CString operator+(wchar_t a, const CString& b) {
    CString r(a);
    r += b;
    return r;
  }

  // Ordinal comparison in UTF-16 code-unit order: <0, 0, >0.
  int Compare(LPCWSTR other) const;
  // Ignores the case of A-Z / a-z only, as the C locale does.
  int CompareNoCase(LPCWSTR other) const;
  int Collate(LPCWSTR other) const { return Compare(other); }
  int CollateNoCase(LPCWSTR other) const { return CompareNoCase(other); }

  friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }
  friend bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
  friend bool operator==(LPCWSTR a, const CString& b) { return b.Compare(a) == 0; }
  friend bool operator==(const CString& a, wchar_t b) { return a.s_.size() == 1 && a.s_[0] == b; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, LPCWSTR b) { return !(a == b); }
  friend bool operator!=(LPCWSTR a, const CString& b) { return !(b == a); }
  friend bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
  friend bool operator<(const CString& a, LPCWSTR b) { return a.Compare(b) < 0; }
  friend bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
  friend bool operator>(const CString& a, LPCWSTR b) { return a.Compare(b) > 0; }
  friend bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
  friend bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

  // Searches: the zero-based index, or -1 when not found (or start beyond the end).
  int Find(wchar_t ch, int start = 0) const;
  int Find(LPCWSTR sub, int start = 0) const;
  int ReverseFind(wchar_t ch) const;
  int FindOneOf(LPCWSTR chars) const;

  // Substrings; counts and positions are clamped to the string as MFC does.
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;
  CString SpanIncluding(LPCWSTR chars) const;
  CString SpanExcluding(LPCWSTR chars) const;
  // The next token after start, skipping leading delimiters; at the end returns "" and sets
  // start to -1.
  CString Tokenize(LPCWSTR delimiters, int& start) const;

  // Case mapping of A-Z / a-z and of full-width Latin letters.
  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  // Without an argument: white space (space, tab, line breaks, ideographic space).
  CString& Trim();
  CString& Trim(wchar_t ch);
  CString& Trim(LPCWSTR chars);
  CString& TrimLeft();
  CString& TrimLeft(wchar_t ch);
  CString& TrimLeft(LPCWSTR chars);
  CString& TrimRight();
  CString& TrimRight(wchar_t ch);
  CString& TrimRight(LPCWSTR chars);

  // Edits; each returns the count (replacements, removed characters) or the new length.
  int Replace(wchar_t old_ch, wchar_t new_ch);
  int Replace(LPCWSTR old_text, LPCWSTR new_text);
  int Remove(wchar_t ch);
  int Insert(int index, wchar_t ch);
  int Insert(int index, LPCWSTR text);
  int Delete(int index, int count = 1);

  // printf-style formatting with MFC's Unicode rules: %s and %c take wide arguments, %S / %hs /
  // %hc narrow ones, %ls / %lc wide; %ld and %lu are 32-bit as on Windows; %I64d, %lld; %p
  // prints 16 upper-case hex digits.
  template <typename... Args>
  void Format(LPCWSTR format, const Args&... args) {
    FormatCore(false, format, platform::mfc::FormatArg(args)...);
  }
  template <typename... Args>
  void AppendFormat(LPCWSTR format, const Args&... args) {
    FormatCore(true, format, platform::mfc::FormatArg(args)...);
  }
  void FormatV(LPCWSTR format, va_list args);
  void AppendFormatV(LPCWSTR format, va_list args);

  // The string with this id from the resource module's STRINGTABLE; FALSE when there is none.
  BOOL LoadString(UINT id);

 private:
  void FormatCore(bool append, LPCWSTR format, ...);

  std::wstring s_;
};

typedef CString CStringW;
