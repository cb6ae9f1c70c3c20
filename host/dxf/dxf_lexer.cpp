// Bytes to groups: lines, numbers and the text encodings of DXF files.
#include "host/dxf/dxf_lexer.h"

#include "platform/win/text_encoding.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "host/dxf/dxf_objects.h"

namespace host::dxf_in {

std::wstring Narrow(std::string_view s) {
  return std::wstring(s.begin(), s.end());
}

std::wstring LineError(int line, const std::wstring& what) {
  return L"line " + std::to_wstring(line) + L": " + what;
}

namespace {

inline __attribute__((always_inline)) std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

}  // namespace

LineCursor::LineCursor(std::string_view bytes) : bytes_(bytes) {
  size_t last = bytes_.find_last_not_of(" \t\r\n");
  if (last == std::string_view::npos) {
    bytes_ = {};
  } else {
    const size_t line_end = bytes_.find('\n', last);
    if (line_end != std::string_view::npos) bytes_ = bytes_.substr(0, line_end);
  }
}

// $ACADVER and $DWGCODEPAGE, looked up before anything is decoded (the header is ASCII).
void ScanHeader(std::string_view bytes, std::string* version, std::string* codepage) {
  LineCursor lines(bytes);
  std::string_view code, value;
  while (lines.Next(&code) && lines.Next(&value)) {
    value = Trim(value);
    if (Trim(code) == "0" && value == "ENDSEC") return;
    if (Trim(code) != "9") continue;
    std::string_view next_code, next_value;
    if (value != "$ACADVER" && value != "$DWGCODEPAGE") continue;
    if (!lines.Next(&next_code) || !lines.Next(&next_value)) return;
    (value == "$ACADVER" ? *version : *codepage) = std::string(Trim(next_value));
  }
}

namespace {

// \U+XXXX escapes of files before AC1021.
std::wstring DecodeEscapes(std::wstring text) {
  std::wstring out;
  size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, 3, L"\\U+") == 0 && i + 7 <= text.size()) {
      wchar_t* end = nullptr;
      std::wstring hex = text.substr(i + 3, 4);
      unsigned long cp = std::wcstoul(hex.c_str(), &end, 16);
      if (end == hex.c_str() + 4) {
        out.push_back(static_cast<wchar_t>(cp));
        i += 7;
        continue;
      }
    }
    out.push_back(text[i++]);
  }
  return out;
}

// The number a trimmed ASCII text spells, as the C library reads it but without its locale and
// allocations: an optional sign, then what from_chars takes. False for anything else.
template <class T>
bool ParseNumber(std::string_view text, T* value) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size();
}

// True for the plain decimals most reals of a drawing are ("-12.5", "0.0", "100"): digits with
// an optional minus and one point between digits, which the C library reads as a finite number
// (at most 300 digits before the point and after it: no overflow, no underflow). Anything else is
// for ParseNumber to judge.
bool IsPlainDecimal(std::string_view t) {
  size_t i = 0;
  if (i < t.size() && t[i] == '-') ++i;
  const size_t first = i;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
  const size_t whole = i - first;
  if (whole == 0 || whole > 300) return false;
  if (i == t.size()) return true;
  if (t[i] != '.') return false;
  const size_t point = ++i;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
  return i == t.size() && i > point && i - point <= 300;
}

}  // namespace

bool IsHandleText(std::string_view t) {
  return !t.empty() && t.size() <= 16 &&
         t.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

namespace {

// DxfTypeOfCode of every code a file may hold (0 to 1071), looked up once.
DxfValueType TypeOfCode(int code) {
  static const auto types = [] {
    std::array<DxfValueType, 1072> t{};
    for (int c = 0; c < 1072; ++c) t[static_cast<size_t>(c)] = DxfTypeOfCode(c);
    return t;
  }();
  return types[static_cast<size_t>(code)];
}

bool IsAscii(std::string_view text) {
  for (char c : text)
    if ((c & 0x80) != 0) return false;
  return true;
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
  if (IsAscii(utf8)) return std::wstring(utf8.begin(), utf8.end());
  return platform::Utf8ToWide(utf8);
}

std::wstring Wide(const Group& g) {
  return Wide(g.text);
}

// Checks that every code is a number and every numeric value one. Most of a drawing's groups
// are numbers, handles and ASCII names: they are checked and kept as views of the bytes, without
// a detour through a wide copy (a large drawing has millions of them).
bool Lexer::Next(Group* out, std::deque<std::string>* store, std::vector<std::wstring>* warnings) {
  std::string_view code_line, raw;
  int got = 0, line = 0;
  long long code = 0;
  // A 999 group is a comment wherever it stands (some writers open the file with a banner):
  // skipped here, so that no later stage meets it; a loop, as a file may hold any number in a row.
  do {
    got = lines_.NextTwo(&code_line, &raw);
    if (got == 0) return false;
    line = lines_.number() - (got - 1);
    std::string_view code_text = Trim(code_line);
    code = 0;
    // Most codes are a few digits: read here; anything else goes the long way below.
    if (!code_text.empty() && code_text.size() <= 4) {
      for (char c : code_text) {
        if (c < '0' || c > '9') {
          code = -1;
          break;
        }
        code = code * 10 + (c - '0');
      }
    } else {
      code = -1;
    }
    // Negative codes name things only inside a running program and never stand in a file; the
    // database also keeps a value's text as read under a negative code, which is never written.
    if ((code < 0 && !ParseNumber(code_text, &code)) || code < 0 || code > 1071)
      throw ReadError{LineError(
          line, L"a group code was expected, found \"" + platform::Utf8ToWide(code_text) + L"\"")};
    if (got < 2)
      throw ReadError{LineError(line, L"the file ends after group code " + std::to_wstring(code) +
                                          L" without its value")};
  } while (code == 999);
  Group g{static_cast<int>(code), line, {}};
  const DxfValueType type = TypeOfCode(g.code);
  if (type != DxfValueType::kString) {
    const std::string_view t = Trim(raw);
    bool valid = false;
    if (type == DxfValueType::kReal) {
      double d = 0;
      if (ParseNumber(t, &d) && std::isfinite(d)) {
        valid = true;
        g.real = d;
      } else {
        valid = IsPlainDecimal(t);
      }
    } else if (type == DxfValueType::kInteger) {
      long long n = 0;
      valid = ParseNumber(t, &n);
    } else {
      valid = IsHandleText(t);
    }
    if (!valid && type == DxfValueType::kHandle && g.code != 5 && g.code != 105) {
      // A reference by name where a handle belongs (a text style named in a 340), as some
      // writers leave it: the text is kept, the reference does not count.
      warnings->push_back(LineError(line + 1, L"group " + std::to_wstring(g.code) + L" holds \"" +
                                                  platform::Utf8ToWide(raw) +
                                                  L"\" where a handle belongs; kept as text"));
    } else if (!valid) {
      const wchar_t* needs = type == DxfValueType::kReal      ? L" needs a number, found \""
                             : type == DxfValueType::kInteger ? L" needs an integer, found \""
                                                              : L" needs a handle, found \"";
      throw ReadError{LineError(line + 1, L"group " + std::to_wstring(g.code) + needs +
                                              platform::Utf8ToWide(raw) + L"\"")};
    }
    if (valid) {
      g.text = t;  // valid numbers and handles are ASCII
      *out = g;
      return true;
    }
  }
  g.text = DecodeText(g.code, raw, utf8_, cp932_, escapes_, store);
  *out = g;
  return true;
}

namespace {

// How many line ends `bytes` holds: std::count goes a byte at a time, and a large drawing has
// tens of megabytes to count.
size_t LineEnds(std::string_view bytes) {
  size_t n = 0, i = 0;
#if defined(__SSE2__)
  // Each byte of `counts` counts the line ends at its place in up to 255 blocks of sixteen
  // bytes, then the sixteen counts are summed.
  const __m128i newline = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  while (i + 16 <= bytes.size()) {
    __m128i counts = zero;
    for (int k = 0; k < 255 && i + 16 <= bytes.size(); ++k, i += 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
      counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(chunk, newline));
    }
    const __m128i sums = _mm_sad_epu8(counts, zero);
    n += static_cast<size_t>(_mm_cvtsi128_si32(sums)) +
         static_cast<size_t>(_mm_extract_epi16(sums, 4));
  }
#endif
  for (; i < bytes.size(); ++i) n += bytes[i] == '\n' ? 1 : 0;
  return n;
}

// Where the first line "0" followed by a line "ENDSEC" (blanks around either aside) starts, from
// `from` on; npos when there is none. Found by the text alone, not line by line: whether that
// "0" is a group code shows when the lines before it are read.
size_t SectionEnd(std::string_view bytes, size_t from) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  // memmem skips ahead by the text it has seen; find looks at every "E".
  auto find = [&](size_t at) -> size_t {
    const void* found =
        at < bytes.size() ? ::memmem(bytes.data() + at, bytes.size() - at, "ENDSEC", 6) : nullptr;
    return found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - bytes.data())
                            : std::string_view::npos;
  };
  for (size_t at = find(from); at != std::string_view::npos; at = find(at + 1)) {
    // Nothing but blanks around it on its line.
    size_t begin = at;
    while (begin > from && (bytes[begin - 1] == ' ' || bytes[begin - 1] == '\t')) --begin;
    if (begin == from || bytes[begin - 1] != '\n') continue;
    size_t end = at + 6;
    while (end < bytes.size() && blank(bytes[end])) ++end;
    if (end < bytes.size() && bytes[end] != '\n') continue;
    // The line before it holds "0".
    size_t p = begin - 1;  // its line end
    while (p > from && blank(bytes[p - 1])) --p;
    if (p == from || bytes[p - 1] != '0') continue;
    --p;
    while (p > from && (bytes[p - 1] == ' ' || bytes[p - 1] == '\t')) --p;
    if (p == from || bytes[p - 1] == '\n') return p;
  }
  return std::string_view::npos;
}

}  // namespace

bool MaxRecordHandle(const DeferredSection& d, AcDbHandle* max) {
  LineCursor lines(d.bytes.substr(0, d.end));
  lines.Seek(d.pos, d.line);
  std::string_view code, value;
  Adesk::UInt64 largest = 0;
  bool in_record = false, handled = false;
  while (lines.NextTwo(&code, &value) == 2) {
    code = Trim(code);
    if (code == "0") {
      if (in_record && !handled) return false;
      in_record = true;
      handled = false;
    } else if (code == "5" && in_record && !handled) {
      value = Trim(value);
      if (!IsHandleText(value)) return false;
      Adesk::UInt64 h = 0;
      for (char c : value)
        h = h * 16 + static_cast<Adesk::UInt64>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
      largest = std::max(largest, h);
      handled = true;
    } else if (!in_record) {
      return false;  // the section's first group is no 0
    }
  }
  if (in_record && !handled) return false;
  *max = AcDbHandle(largest);
  return true;
}

Tokens Tokenize(std::string_view bytes, bool utf8, bool cp932, bool escapes,
                std::vector<std::wstring>* warnings, bool defer) {
  Tokens tokens;
  std::vector<Group>& groups = tokens.groups;
  Lexer lexer(bytes, utf8, cp932, escapes);
  LineCursor& lines = lexer.lines();
  // Two lines a group; counted first, so that the groups are not copied as the vector grows.
  // With `defer`, once it is known whether the entities are deferred (the groups before them are
  // few).
  auto reserve_rest = [&](size_t from) {
    const size_t rest = from < bytes.size() ? LineEnds(bytes.substr(from)) : 0;
    groups.reserve(groups.size() + rest / 2 + 1);
  };
  if (!defer) reserve_rest(0);
  Group g;
  while (lexer.Next(&g, &tokens.store, warnings)) {
    groups.push_back(g);
    if (defer && !tokens.deferred.present && g.code == 2 && g.text == "ENTITIES" &&
        groups.size() >= 2 && groups[groups.size() - 2].code == 0 &&
        groups[groups.size() - 2].text == "SECTION") {
      DeferredSection d;
      d.pos = lines.pos();
      d.line = lines.number();
      d.end = SectionEnd(bytes, d.pos);
      if (d.end != std::string_view::npos) {
        lines.Seek(d.end, d.line + static_cast<int>(LineEnds(bytes.substr(d.pos, d.end - d.pos))));
        d.present = true;
        d.bytes = bytes;
        d.utf8 = utf8;
        d.cp932 = cp932;
        d.escapes = escapes;
        tokens.deferred = d;
      }
      reserve_rest(lines.pos());
      defer = false;
    }
  }
  return tokens;
}

std::string_view DecodeText(int code, std::string_view raw, bool utf8, bool cp932, bool escapes,
                            std::deque<std::string>* store) {
  std::string_view text = raw;
  const bool ascii = IsAscii(raw);
  if ((!ascii && !utf8) || (escapes && raw.find("\\U+") != std::string_view::npos)) {
    std::wstring wide;
    if (ascii || utf8) {
      wide = platform::Utf8ToWide(raw);
    } else if (cp932) {
      wide = platform::Cp932ToWide(raw);
    } else {
      for (unsigned char c : raw) wide.push_back(static_cast<wchar_t>(c));
    }
    if (escapes) wide = DecodeEscapes(std::move(wide));
    text = store->emplace_back(platform::WideToUtf8(wide));
  }
  if (code == 0 || code == 2 || code == 9) {
    // Names of records, sections and variables carry no meaningful blanks at the end.
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  }
  return text;
}

double Real(const Group& g) {
  if (!std::isnan(g.real)) return g.real;
  double v = 0;
  ParseNumber(g.text, &v);
  return v;
}
long long Int(const Group& g) {
  long long v = 0;
  ParseNumber(g.text, &v);
  return v;
}
AcDbHandle Handle(const Group& g) {
  return Handle(g.text);
}

AcDbHandle Handle(std::string_view text) {
  Adesk::UInt64 v = 0;
  if (text.empty() || text.size() > 16) return AcDbHandle();
  for (char c : text) {
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return AcDbHandle();  // a name where a handle belongs
    }
    v = v * 16 + static_cast<Adesk::UInt64>(digit);
  }
  return AcDbHandle(v);
}

}  // namespace host::dxf_in
