// The Microsoft C runtime additions: secure copies, case-blind comparisons, _wtoi and printf
// with Microsoft's wide-format rules.
#include <mscrt.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cwctype>

#include "platform/win/wide_string.h"

namespace platform {

std::wstring TranslateMsFormat(const wchar_t* format) {
  std::wstring out;
  for (const wchar_t* p = format; *p; ++p) {
    out += *p;
    if (*p != L'%') continue;
    ++p;
    if (*p == L'%') {
      out += L'%';
      continue;
    }
    while (*p && std::wcschr(L"-+ #0", *p)) out += *p++;
    while (*p && (std::iswdigit(*p) || *p == L'*' || *p == L'.')) out += *p++;
    // Size prefixes: h, l, ll, I64, I32, I.
    std::wstring size;
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
      size = L"ll";
      p += 3;
    } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
      p += 3;
    } else if (p[0] == L'I') {
      size = L"z";
      ++p;
    } else {
      while (*p == L'h' || *p == L'l' || *p == L'z' || *p == L'j' || *p == L't') size += *p++;
    }
    if (!*p) break;
    const wchar_t conv = *p;
    if (conv == L's' || conv == L'c') {
      // A wide format's %s is a wide string, %hs a narrow one.
      out += size == L"h" ? L"" : L"l";
      out += conv;
    } else if (conv == L'S' || conv == L'C') {
      out += size == L"l" ? L"l" : L"";
      out += static_cast<wchar_t>(conv == L'S' ? L's' : L'c');
    } else {
      out += size + conv;
    }
  }
  return out;
}

std::wstring FormatMs(const wchar_t* format, va_list args) {
  const std::wstring fmt = TranslateMsFormat(format ? format : L"");
  std::wstring buf(256, L'\0');
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vswprintf(buf.data(), buf.size(), fmt.c_str(), copy);
    va_end(copy);
    if (n >= 0 && static_cast<size_t>(n) < buf.size()) {
      buf.resize(static_cast<size_t>(n));
      return buf;
    }
    if (buf.size() > (1u << 24)) return {};  // an encoding error, not a short buffer
    buf.resize(buf.size() * 4);
  }
}

}  // namespace platform

int _wcsicmp(const wchar_t* a, const wchar_t* b) {
  return platform::CompareNoCase(a ? a : L"", b ? b : L"");
}

int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count) {
  std::wstring_view x = a ? a : L"", y = b ? b : L"";
  return platform::CompareNoCase(x.substr(0, std::min(count, x.size())),
                                 y.substr(0, std::min(count, y.size())));
}

errno_t wcsncpy_s(wchar_t* dest, size_t size, const wchar_t* src, size_t count) {
  if (!dest || size == 0) return EINVAL;
  if (!src) {
    dest[0] = L'\0';
    return EINVAL;
  }
  size_t len = 0;
  while (len < count && src[len]) ++len;
  if (len >= size) {
    if (count == _TRUNCATE) {
      std::wmemcpy(dest, src, size - 1);
      dest[size - 1] = L'\0';
      return STRUNCATE;
    }
    dest[0] = L'\0';
    return ERANGE;
  }
  std::wmemcpy(dest, src, len);
  dest[len] = L'\0';
  return 0;
}

errno_t wcscpy_s(wchar_t* dest, size_t size, const wchar_t* src) {
  return wcsncpy_s(dest, size, src, src ? std::wcslen(src) : 0);
}

errno_t wcscat_s(wchar_t* dest, size_t size, const wchar_t* src) {
  if (!dest || size == 0) return EINVAL;
  size_t used = 0;
  while (used < size && dest[used]) ++used;
  if (used == size) return EINVAL;  // dest was not terminated
  errno_t err = wcscpy_s(dest + used, size - used, src);
  if (err) dest[0] = L'\0';
  return err;
}

long _wtol(const wchar_t* text) {
  if (!text) return 0;
  const wchar_t* p = text;
  while (*p == L' ' || *p == L'\t' || *p == L'\n' || *p == L'\r' || *p == L'\v' || *p == L'\f') ++p;
  bool negative = *p == L'-';
  if (*p == L'-' || *p == L'+') ++p;
  long long n = 0;
  for (; *p >= L'0' && *p <= L'9'; ++p)
    n = std::min<long long>(n * 10 + (*p - L'0'), LLONG_MAX / 20);
  n = negative ? -n : n;
  return static_cast<long>(std::clamp<long long>(n, LONG_MIN, LONG_MAX));
}

int _wtoi(const wchar_t* text) {
  return static_cast<int>(std::clamp<long>(_wtol(text), INT_MIN, INT_MAX));
}

int vswprintf_s(wchar_t* buffer, size_t size, const wchar_t* format, va_list args) {
  if (!buffer || size == 0 || !format) return -1;
  std::wstring text = platform::FormatMs(format, args);
  if (text.size() >= size) {
    buffer[0] = L'\0';
    return -1;
  }
  std::wmemcpy(buffer, text.data(), text.size());
  buffer[text.size()] = L'\0';
  return static_cast<int>(text.size());
}

int swprintf_s(wchar_t* buffer, size_t size, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  int n = vswprintf_s(buffer, size, format, args);
  va_end(args);
  return n;
}
