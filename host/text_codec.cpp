// Text conversions at the host's edges: UTF-8, UTF-16LE and code page 932 to wide text and back.
#include "host/text_codec.h"

#include <iconv.h>

#include <cstdint>
#include <vector>

namespace host {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at `s[*i]`; false when it is not well formed (overlong forms,
// surrogates and values above U+10FFFF included).
bool NextUtf8(std::string_view s, size_t* i, char32_t* out) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = b(*i);
  int extra = 0;
  char32_t cp = 0;
  if (c < 0x80) {
    *out = c;
    ++*i;
    return true;
  } else if ((c & 0xE0) == 0xC0) {
    extra = 1;
    cp = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    extra = 2;
    cp = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    extra = 3;
    cp = c & 0x07;
  } else {
    return false;
  }
  if (*i + extra >= s.size()) return false;
  for (int k = 1; k <= extra; ++k) {
    if ((b(*i + k) & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (b(*i + k) & 0x3F);
  }
  static const char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  *out = cp;
  *i += extra + 1;
  return true;
}

bool IsValidUtf8(std::string_view s) {
  char32_t cp = 0;
  for (size_t i = 0; i < s.size();) {
    if (!NextUtf8(s, &i, &cp)) return false;
  }
  return true;
}

std::wstring Utf16LeToWide(std::string_view s) {
  std::wstring out;
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    const char16_t u =
        static_cast<unsigned char>(s[i]) | (static_cast<unsigned char>(s[i + 1]) << 8);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < s.size()) {
      const char16_t lo =
          static_cast<unsigned char>(s[i + 2]) | (static_cast<unsigned char>(s[i + 3]) << 8);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        out += static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
        i += 2;
        continue;
      }
    }
    out += (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : static_cast<wchar_t>(u);
  }
  return out;
}

// Code page 932 through iconv, one character at a time past any byte it cannot map.
std::wstring Cp932ToWide(std::string_view s) {
  std::wstring out;
  iconv_t cd = iconv_open("WCHAR_T", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    for (unsigned char c : s) out += c < 0x80 ? static_cast<wchar_t>(c) : kReplacement;
    return out;
  }
  std::string in(s);
  char* src = in.data();
  size_t src_left = in.size();
  std::vector<wchar_t> buf(in.size() + 1);
  while (src_left > 0) {
    char* dst = reinterpret_cast<char*>(buf.data());
    size_t dst_left = buf.size() * sizeof(wchar_t);
    const size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buf.data(), (reinterpret_cast<wchar_t*>(dst) - buf.data()));
    if (r == static_cast<size_t>(-1)) {
      // An unmappable or cut-off byte: replace it and go on after it.
      out += kReplacement;
      ++src;
      --src_left;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    if (NextUtf8(utf8, &i, &cp)) {
      out += static_cast<wchar_t>(cp);
    } else {
      out += kReplacement;
      ++i;
    }
  }
  return out;
}

std::string WideToUtf8(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (wchar_t wc : wide) {
    auto cp = static_cast<uint32_t>(wc);
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::wstring DecodeTextFile(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    return Utf16LeToWide(bytes.substr(2));
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    return Utf8ToWide(bytes.substr(3));
  }
  if (IsValidUtf8(bytes)) return Utf8ToWide(bytes);
  return Cp932ToWide(bytes);
}

}  // namespace host
