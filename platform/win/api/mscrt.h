// The Microsoft C runtime's additions that Windows code calls beside the standard library: the
// secure string copies, case-blind comparisons, _wtoi, 64-bit time, and printf with the
// Microsoft meaning of %s in wide formats (a wide string).
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <cwchar>
#include <string>

typedef int errno_t;
typedef int64_t __time64_t;

#ifndef _TRUNCATE
#define _TRUNCATE ((size_t)-1)
#endif
#ifndef STRUNCATE
#define STRUNCATE 80
#endif

// Case-blind comparison as Windows makes it (both sides upper-cased, UTF-16 order).
int _wcsicmp(const wchar_t* a, const wchar_t* b);
int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count);

// Secure copies: 0 on success; EINVAL for a null argument, ERANGE when the text does not fit
// (then dest is made empty), STRUNCATE when count is _TRUNCATE and the text was cut. dest is
// always terminated when its size is not 0.
errno_t wcscpy_s(wchar_t* dest, size_t size, const wchar_t* src);
errno_t wcsncpy_s(wchar_t* dest, size_t size, const wchar_t* src, size_t count);
errno_t wcscat_s(wchar_t* dest, size_t size, const wchar_t* src);
template <size_t N>
errno_t wcscpy_s(wchar_t (&dest)[N], const wchar_t* src) {
  return wcscpy_s(dest, N, src);
}
template <size_t N>
errno_t wcscat_s(wchar_t (&dest)[N], const wchar_t* src) {
  return wcscat_s(dest, N, src);
}

// Leading blanks, an optional sign, decimal digits up to the first other character; 0 when
// there are none or the argument is null.
int _wtoi(const wchar_t* text);
long _wtol(const wchar_t* text);

// printf into a wide buffer with Microsoft's rules for wide formats: %s and %c take wide
// arguments, %S and %C narrow ones, %hs narrow, %ls wide. Returns the number of characters
// written, or -1 (and an empty buffer) when they do not fit.
int swprintf_s(wchar_t* buffer, size_t size, const wchar_t* format, ...);
int vswprintf_s(wchar_t* buffer, size_t size, const wchar_t* format, va_list args);
template <size_t N>
int swprintf_s(wchar_t (&buffer)[N], const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  int n = vswprintf_s(buffer, N, format, args);
  va_end(args);
  return n;
}

namespace platform {
// The formatted text with Microsoft's rules for wide formats (see swprintf_s); no length limit.
std::wstring FormatMs(const wchar_t* format, va_list args);
// The C library's wide format that means the same as a Microsoft wide format.
std::wstring TranslateMsFormat(const wchar_t* format);
}  // namespace platform

// The current time, seconds since 1970 (the clock seam's time when fixed).
__time64_t _time64(__time64_t* timer);
// Local calendar time of *timer. 0, or EINVAL for null arguments.
errno_t _localtime64_s(struct tm* result, const __time64_t* timer);
