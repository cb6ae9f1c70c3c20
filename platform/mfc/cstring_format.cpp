// CString's formatter: the MFC and printf conversions (flags, width, precision, the length
// modifiers and %s/%S with wide and narrow arguments), as Format and AppendFormat give them.
#include <algorithm>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include <afxstr.h>
#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"

namespace {

// Pads a converted field to its width, left or right aligned.
void AppendPadded(std::wstring& out, std::wstring_view field, int width, bool left) {
  int pad = width - static_cast<int>(field.size());
  if (pad > 0 && !left) out.append(pad, L' ');
  out.append(field);
  if (pad > 0 && left) out.append(pad, L' ');
}

// One conversion directive: %[flags][width][.precision][length]type.
struct Spec {
  std::wstring flags;
  int width = -1;
  int precision = -1;
  enum Length { kNone, kShort, kLong, kLongLong } length = kNone;
  bool wide_forced = false;    // l on s/c
  bool narrow_forced = false;  // h on s/c, or S / C
  wchar_t type = 0;
};

std::wstring NumberFormat(const Spec& spec, const wchar_t* length, wchar_t type) {
  std::wstring f = L"%" + spec.flags;
  if (spec.width >= 0) f += std::to_wstring(spec.width);
  if (spec.precision >= 0) f += L"." + std::to_wstring(spec.precision);
  f += length;
  f += type;
  return f;
}

template <typename T>
void AppendNumber(std::wstring& out, const std::wstring& fmt, T value) {
  wchar_t buf[512];
  int n = std::swprintf(buf, 512, fmt.c_str(), value);
  if (n > 0) out.append(buf, std::min(n, 511));
}

void FormatInto(std::wstring& out, LPCWSTR format, va_list args) {
  if (!format) return;
  for (const wchar_t* p = format; *p;) {
    if (*p != L'%') {
      out += *p++;
      continue;
    }
    ++p;
    if (*p == L'%') {
      out += L'%';
      ++p;
      continue;
    }
    Spec spec;
    while (*p && std::wcschr(L"-+ #0", *p)) spec.flags += *p++;
    if (*p == L'*') {
      spec.width = va_arg(args, int);
      if (spec.width < 0) {
        spec.flags += L'-';
        spec.width = -spec.width;
      }
      ++p;
    } else {
      while (*p >= L'0' && *p <= L'9') spec.width = std::max(spec.width, 0) * 10 + (*p++ - L'0');
    }
    if (*p == L'.') {
      ++p;
      spec.precision = 0;
      if (*p == L'*') {
        spec.precision = va_arg(args, int);
        ++p;
      } else {
        while (*p >= L'0' && *p <= L'9') spec.precision = spec.precision * 10 + (*p++ - L'0');
      }
    }
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
      spec.length = Spec::kLongLong;
      p += 3;
    } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
      p += 3;
    } else if (p[0] == L'I') {  // pointer-sized
      spec.length = Spec::kLongLong;
      ++p;
    } else if (p[0] == L'l' && p[1] == L'l') {
      spec.length = Spec::kLongLong;
      p += 2;
    } else if (*p == L'l' || *p == L'w') {
      spec.length = Spec::kLong;
      spec.wide_forced = true;
      ++p;
    } else if (*p == L'h') {
      spec.length = Spec::kShort;
      spec.narrow_forced = true;
      ++p;
    } else if (*p == L'z' || *p == L'j' || *p == L't') {
      spec.length = Spec::kLongLong;
      ++p;
    }
    spec.type = *p;
    if (!*p) break;
    ++p;
    const bool left = spec.flags.find(L'-') != std::wstring::npos;
    switch (spec.type) {
      case L'd':
      case L'i':
        if (spec.length == Spec::kLongLong) {
          AppendNumber(out, NumberFormat(spec, L"ll", L'd'), va_arg(args, long long));
        } else {
          int v = va_arg(args, int);
          if (spec.length == Spec::kShort) v = static_cast<short>(v);
          AppendNumber(out, NumberFormat(spec, L"", L'd'), v);
        }
        break;
      case L'u':
      case L'x':
      case L'X':
      case L'o':
        if (spec.length == Spec::kLongLong) {
          AppendNumber(out, NumberFormat(spec, L"ll", spec.type), va_arg(args, unsigned long long));
        } else {
          unsigned v = va_arg(args, unsigned);
          if (spec.length == Spec::kShort) v = static_cast<unsigned short>(v);
          AppendNumber(out, NumberFormat(spec, L"", spec.type), v);
        }
        break;
      case L'f':
      case L'F':
      case L'e':
      case L'E':
      case L'g':
      case L'G':
      case L'a':
      case L'A':
        AppendNumber(out, NumberFormat(spec, L"", spec.type), va_arg(args, double));
        break;
      case L'p': {
        wchar_t buf[32];
        std::swprintf(buf, 32, L"%016" PRIX64,
                      static_cast<uint64_t>(reinterpret_cast<uintptr_t>(va_arg(args, void*))));
        AppendPadded(out, buf, spec.width, left);
        break;
      }
      case L'c':
      case L'C': {
        int v = va_arg(args, int);
        bool narrow = spec.narrow_forced || (spec.type == L'C' && !spec.wide_forced);
        if (narrow) {
          const char byte = static_cast<char>(v);
          AppendPadded(out, platform::mfc::WidenAnsi(&byte, 1), spec.width, left);
          break;
        }
        const wchar_t ch = static_cast<wchar_t>(v);
        AppendPadded(out, std::wstring_view(&ch, 1), spec.width, left);
        break;
      }
      case L's':
      case L'S': {
        bool narrow = spec.narrow_forced || (spec.type == L'S' && !spec.wide_forced);
        std::wstring text;
        if (narrow) {
          const char* s = va_arg(args, const char*);
          text = s ? platform::mfc::WidenAnsi(s, std::strlen(s)) : L"(null)";
        } else {
          const wchar_t* s = va_arg(args, const wchar_t*);
          text = s ? s : L"(null)";
        }
        if (spec.precision >= 0 && static_cast<int>(text.size()) > spec.precision)
          text.resize(spec.precision);
        AppendPadded(out, text, spec.width, left);
        break;
      }
      case L'n':
        (void)va_arg(args, int*);  // never written, as the secure CRT refuses it
        break;
      default:
        out += spec.type;
        break;
    }
  }
}

}  // namespace

void CString::FormatV(LPCWSTR format, va_list args) {
  std::wstring out;
  FormatInto(out, format, args);
  s_ = std::move(out);
}

void CString::AppendFormatV(LPCWSTR format, va_list args) {
  FormatInto(s_, format, args);
}

void CString::FormatCore(bool append, LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  if (append) {
    AppendFormatV(format, args);
  } else {
    FormatV(format, args);
  }
  va_end(args);
}
