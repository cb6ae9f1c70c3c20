// Text encodings: UTF-8 and UTF-16LE by hand, code page 932 through glibc's iconv.
#include "platform/win/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;
// Windows turns a byte sequence of code page 932 that has no character into KATAKANA MIDDLE DOT.
constexpr wchar_t kCp932NoChar = 0x30FB;

bool IsAscii(std::string_view bytes) {
  for (unsigned char c : bytes)
    if (c >= 0x80) return false;
  return true;
}

// Decodes one UTF-8 sequence at bytes[i]; returns its length, 0 when it is not well-formed.
size_t DecodeUtf8At(std::string_view bytes, size_t i, char32_t* cp) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
  unsigned char c = b(i);
  if (c < 0x80) {
    *cp = c;
    return 1;
  }
  size_t len;
  char32_t value, min;
  if ((c & 0xE0) == 0xC0) {
    len = 2, value = c & 0x1F, min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3, value = c & 0x0F, min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4, value = c & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > bytes.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (b(i + k) & 0x3F);
  }
  if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *cp = value;
  return len;
}

void AppendUtf8(char32_t cp, std::string* out) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// One iconv conversion direction, shared by the whole process. An iconv descriptor keeps state
// between calls, so a conversion holds the lock from its reset to its end.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as possible; *in advances past what was converted. Returns errno of the
  // stop (0 when everything was converted).
  int Convert(const char** in, size_t* in_left, std::string* out) {
    std::lock_guard<std::mutex> hold(mutex_);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buf[1024];
    while (*in_left > 0) {
      char* in_ptr = const_cast<char*>(*in);
      char* out_ptr = buf;
      size_t out_left = sizeof buf;
      size_t r = iconv(cd_, &in_ptr, in_left, &out_ptr, &out_left);
      *in = in_ptr;
      out->append(buf, out_ptr - buf);
      if (r == static_cast<size_t>(-1) && errno != E2BIG) return errno;
    }
    return 0;
  }

 private:
  std::mutex mutex_;
  iconv_t cd_;
};

// The converters are never destroyed, on purpose: the profile cache writes its unflushed files
// while static objects are being destroyed at the end of the process, and it needs them then.
// Objects of thread or static storage would be gone by that time in an order that the cache
// cannot control (thread_local ones are destroyed before any static one). Two descriptors,
// released by the system with the process.
Converter& Cp932Decoder() {
  static Converter* const c = new Converter("WCHAR_T", "CP932");
  return *c;
}
Converter& Cp932Encoder() {
  static Converter* const c = new Converter("CP932", "WCHAR_T");
  return *c;
}

// Bytes of one character in code page 932, or empty when the code page has none for it.
std::string EncodeCp932Char(wchar_t c) {
  std::string out;
  const char* in = reinterpret_cast<const char*>(&c);
  size_t left = sizeof c;
  if (!Cp932Encoder().ok() || Cp932Encoder().Convert(&in, &left, &out) != 0) return {};
  return out;
}

// Code page 932 is stateless: a character's bytes never depend on its neighbours, and a byte
// sequence's character never depends on what stands around it. So each character is asked of
// iconv once and remembered; profile files of tens of thousands of values would otherwise make
// one iconv call per character. The tables are never freed, like the converters.
struct Cp932Encoding {
  bool known = false;
  bool exact = false;  // the bytes decode back to the character itself
  std::string bytes;   // iconv's bytes for it; empty when the code page has none
};

const Cp932Encoding& EncodingOf(wchar_t c) {
  // The code page holds nothing outside the Basic Multilingual Plane.
  static const Cp932Encoding kNone{true, false, {}};
  if (c < 0 || c >= 0x10000) return kNone;
  static auto* const bmp = new std::vector<Cp932Encoding>(0x10000);
  Cp932Encoding& e = (*bmp)[static_cast<size_t>(c)];
  if (!e.known) {
    e.known = true;
    e.bytes = EncodeCp932Char(c);
    if (!e.bytes.empty()) {
      std::string wide;
      const char* in = e.bytes.data();
      size_t left = e.bytes.size();
      e.exact = Cp932Decoder().Convert(&in, &left, &wide) == 0 && wide.size() == sizeof(wchar_t) &&
                *reinterpret_cast<const wchar_t*>(wide.data()) == c;
    }
  }
  return e;
}

// What one or two bytes decode to, as iconv decodes them; remembered per lead byte and pair.
enum class Cp932Unit : uint8_t { kUnknown, kSingle, kLead, kInvalid };
struct Cp932Lead {
  Cp932Unit unit = Cp932Unit::kUnknown;
  wchar_t single = 0;  // kSingle: the character
};

// The one character of the bytes; false (with iconv's errno) when they are not exactly one.
bool DecodeWithIconv(const char* bytes, size_t size, wchar_t* out, int* err) {
  std::string wide;
  const char* in = bytes;
  size_t left = size;
  *err = Cp932Decoder().ok() ? Cp932Decoder().Convert(&in, &left, &wide) : EILSEQ;
  if (*err != 0 || wide.size() != sizeof(wchar_t)) return false;
  *out = *reinterpret_cast<const wchar_t*>(wide.data());
  return true;
}

const Cp932Lead& LeadOf(unsigned char b) {
  static auto* const leads = new std::vector<Cp932Lead>(256);
  Cp932Lead& l = (*leads)[b];
  if (l.unit == Cp932Unit::kUnknown) {
    const char byte = static_cast<char>(b);
    int err = 0;
    if (DecodeWithIconv(&byte, 1, &l.single, &err)) {
      l.unit = Cp932Unit::kSingle;
    } else {
      // An incomplete sequence is a lead byte waiting for its second byte.
      l.unit = err == EINVAL ? Cp932Unit::kLead : Cp932Unit::kInvalid;
    }
  }
  return l;
}

// The character of a lead byte and its second byte, or kCp932NoChar when the pair is none.
// Second bytes below 0x40 are never part of a pair; 0 is never a valid character either, so
// it marks "not asked yet".
wchar_t PairOf(unsigned char lead, unsigned char trail, bool* valid) {
  static auto* const pairs = new std::vector<wchar_t>(0x10000, 0);
  static auto* const bad = new std::vector<bool>(0x10000, false);
  const size_t key = (static_cast<size_t>(lead) << 8) | trail;
  if ((*pairs)[key] == 0 && !(*bad)[key]) {
    const char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    wchar_t c = 0;
    int err = 0;
    if (DecodeWithIconv(two, 2, &c, &err) && c != 0) {
      (*pairs)[key] = c;
    } else {
      (*bad)[key] = true;
    }
  }
  *valid = !(*bad)[key];
  return (*pairs)[key];
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp;
    size_t len = DecodeUtf8At(utf8, i, &cp);
    if (len == 0) {
      out.push_back(kReplacement);
      ++i;
    } else {
      out.push_back(static_cast<wchar_t>(cp));
      i += len;
    }
  }
  return out;
}

std::string WideToUtf8(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (wchar_t c : wide) AppendUtf8(static_cast<char32_t>(c), &out);
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  char32_t cp;
  for (size_t i = 0; i < bytes.size();) {
    size_t len = DecodeUtf8At(bytes, i, &cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::wstring Cp932ToWide(std::string_view cp932) {
  if (IsAscii(cp932)) return std::wstring(cp932.begin(), cp932.end());
  std::wstring out;
  out.reserve(cp932.size());
  for (size_t i = 0; i < cp932.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(cp932[i]);
    if (b < 0x80) {
      out.push_back(static_cast<wchar_t>(b));
      continue;
    }
    const Cp932Lead& lead = LeadOf(b);
    if (lead.unit == Cp932Unit::kSingle) {
      out.push_back(lead.single);
      continue;
    }
    bool valid = false;
    wchar_t c = 0;
    if (lead.unit == Cp932Unit::kLead && i + 1 < cp932.size())
      c = PairOf(b, static_cast<unsigned char>(cp932[i + 1]), &valid);
    if (valid) {
      out.push_back(c);
      ++i;
    } else {
      // A bad byte (or a lead byte cut off at the end) stands for one unknown character; the
      // byte after it is read on its own.
      out.push_back(kCp932NoChar);
    }
  }
  return out;
}

std::string WideToCp932BestFit(std::wstring_view wide, bool* lossy) {
  std::string out;
  bool lost = false;
  for (wchar_t c : wide) {
    if (c >= 0 && c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    const std::string& bytes = EncodingOf(c).bytes;
    lost = lost || bytes.empty();
    out += bytes.empty() ? "?" : bytes;
  }
  if (lossy) *lossy = lost;
  return out;
}

std::string WideToCp932(std::wstring_view wide, bool* lossy) {
  std::string out;
  out.reserve(wide.size() * 2);
  bool lost = false;
  for (wchar_t c : wide) {
    if (c >= 0 && c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    // glibc maps some characters one way onto look-alikes (U+301C to the bytes of U+FF5E):
    // only a character that comes back as itself is held by the code page.
    const Cp932Encoding& e = EncodingOf(c);
    if (!e.exact) {
      out.push_back('?');
      lost = true;
    } else {
      out += e.bytes;
    }
  }
  if (lossy) *lossy = lost;
  return out;
}

bool IsCp932Representable(std::wstring_view wide) {
  for (wchar_t c : wide) {
    if ((c < 0 || c >= 0x80) && !EncodingOf(c).exact) return false;
  }
  return true;
}

std::wstring Utf16LeToWide(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size() / 2);
  const size_t n = bytes.size() / 2;
  auto unit = [&](size_t k) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                 (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
  };
  for (size_t k = 0; k < n; ++k) {
    char32_t u = unit(k);
    if (u >= 0xD800 && u <= 0xDBFF && k + 1 < n && unit(k + 1) >= 0xDC00 && unit(k + 1) <= 0xDFFF) {
      out.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (unit(k + 1) - 0xDC00)));
      ++k;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      out.push_back(kReplacement);
    } else {
      out.push_back(static_cast<wchar_t>(u));
    }
  }
  return out;
}

std::string WideToUtf16Le(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size() * 2);
  auto put = [&](char32_t u) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  };
  for (wchar_t wc : wide) {
    char32_t c = static_cast<char32_t>(wc);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

size_t Utf16Length(std::wstring_view wide) {
  size_t n = wide.size();
  for (wchar_t c : wide)
    if (static_cast<char32_t>(c) >= 0x10000) ++n;
  return n;
}

std::wstring DecodeText(std::string_view bytes, TextEncoding* encoding) {
  TextEncoding found;
  std::wstring text;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    found = TextEncoding::kUtf16Le;
    text = Utf16LeToWide(bytes.substr(2));
  } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    found = TextEncoding::kUtf8Bom;
    text = Utf8ToWide(bytes.substr(3));
  } else if (IsValidUtf8(bytes)) {
    found = TextEncoding::kUtf8;
    text = Utf8ToWide(bytes);
  } else {
    found = TextEncoding::kCp932;
    text = Cp932ToWide(bytes);
  }
  if (encoding) *encoding = found;
  return text;
}

std::string EncodeText(std::wstring_view text, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf16Le:
      return "\xFF\xFE" + WideToUtf16Le(text);
    case TextEncoding::kUtf8Bom:
      return "\xEF\xBB\xBF" + WideToUtf8(text);
    case TextEncoding::kUtf8:
      return WideToUtf8(text);
    case TextEncoding::kCp932:
      return WideToCp932(text);
  }
  return {};
}

}  // namespace platform
