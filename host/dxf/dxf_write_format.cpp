// How values and groups look in the DXF files the writer makes.
#include "host/dxf/dxf_write_format.h"
#include "platform/acad/kept_groups.h"

#include "platform/win/text_encoding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace host::dxf_out {

namespace {

// The handle's digits, upper-case, into `buf` (at least 16 characters); returns their end.
char* HexDigits(char* buf, AcDbHandle h) {
  uint64_t v = h.value();
  char digits[16];
  int n = 0;
  do {
    digits[n++] = "0123456789ABCDEF"[v % 16];
    v /= 16;
  } while (v != 0);
  for (int i = 0; i < n; ++i) buf[i] = digits[n - 1 - i];
  return buf + n;
}

// The real's text into `buf` (at least 40 characters); returns its end.
char* RealDigits(char* buf, double v) {
  if (v == 0) v = 0;  // no "-0"
  // Whole numbers, the most common in drawings, skip the search for the shortest digits: theirs
  // are their own, written in fixed form when that is no longer than the scientific one ("1e+05"
  // for 100000), as to_chars chooses. Below 1e15 a double's neighbours are less than 1 apart.
  if (std::fabs(v) < 1e15 && std::trunc(v) == v) {
    const auto whole = static_cast<long long>(v);
    char digits[24];
    const int d = static_cast<int>(
        std::to_chars(digits, digits + sizeof digits, whole < 0 ? -whole : whole).ptr - digits);
    int zeros = 0;
    while (zeros < d - 1 && digits[d - 1 - zeros] == '0') ++zeros;
    const int significant = d - zeros;
    const int scientific = significant + (significant > 1 ? 1 : 0) + 4;  // "e+XX"
    if (d <= scientific) {
      char* p = buf;
      if (whole < 0) *p++ = '-';
      std::memcpy(p, digits, static_cast<size_t>(d));
      p += d;
      *p++ = '.';
      *p++ = '0';
      return p;
    }
  }
  // The shortest text that reads back as the same double: what was read is written back.
  char* end = std::to_chars(buf, buf + 38, v).ptr;
  if (std::find_if(buf, end, [](char c) { return c == '.' || c == 'e' || c == 'n'; }) == end) {
    *end++ = '.';
    *end++ = '0';
  }
  return end;
}

}  // namespace

std::wstring Hex(AcDbHandle h) {
  char buf[20];
  return std::wstring(buf, HexDigits(buf, h));
}

std::wstring Real(double v) {
  char buf[40];
  return std::wstring(buf, RealDigits(buf, v));
}

void TextBuffer::Grow(size_t more) {
  const size_t used = size();
  const size_t capacity = static_cast<size_t>(end_ - buffer_.get());
  size_t grown = capacity < 64 ? 64 : capacity * 2;
  while (grown < used + more) grown *= 2;
  auto bigger = std::make_unique<char[]>(grown);
  if (used != 0) std::memcpy(bigger.get(), buffer_.get(), used);
  buffer_ = std::move(bigger);
  pos_ = buffer_.get() + used;
  end_ = buffer_.get() + grown;
}

void AppendHex(TextBuffer* out, AcDbHandle h) {
  out->Used(HexDigits(out->Room(20), h));
}

void AppendReal(TextBuffer* out, double v) {
  out->Used(RealDigits(out->Room(40), v));
}

void AppendInt(TextBuffer* out, long long v) {
  char* at = out->Room(24);
  out->Used(std::to_chars(at, at + 24, v).ptr);
}

namespace {

// A code's line as AutoCAD writes it: right-aligned in three columns, then the line end.
struct CodeLine {
  char text[8];
  unsigned char length;
};

CodeLine MakeCodeLine(int code) {
  CodeLine line{};
  char buf[16];
  char* begin = buf + 3;
  char* end = std::to_chars(begin, buf + sizeof buf - 1, code).ptr;
  while (end - begin < 3) *--begin = ' ';
  *end++ = '\n';
  line.length = static_cast<unsigned char>(end - begin);
  std::copy(begin, end, line.text);
  return line;
}

// The lines of every code up to the XData's last, made once: a large drawing writes millions.
constexpr int kTabledCodes = 1072;
const std::vector<CodeLine>& CodeLines() {
  static const std::vector<CodeLine> lines = [] {
    std::vector<CodeLine> made(kTabledCodes);
    for (int code = 0; code < kTabledCodes; ++code)
      made[static_cast<size_t>(code)] = MakeCodeLine(code);
    return made;
  }();
  return lines;
}

}  // namespace

void AppendCode(TextBuffer* out, int code) {
  if (code >= 0 && code < kTabledCodes) {
    const CodeLine& line = CodeLines()[static_cast<size_t>(code)];
    // All eight bytes copied (one move), the line's length kept.
    char* at = out->Room(sizeof line.text);
    std::memcpy(at, line.text, sizeof line.text);
    out->Used(at + line.length);
    return;
  }
  const CodeLine line = MakeCodeLine(code);
  out->append(line.text, line.length);
}

void AppendText(TextBuffer* out, std::wstring_view text) {
  bool ascii = true;
  for (wchar_t c : text) ascii = ascii && static_cast<uint32_t>(c) < 0x80;
  if (!ascii) {
    *out += platform::WideToUtf8(text);
    return;
  }
  char* p = out->Room(text.size());
  for (wchar_t c : text) *p++ = static_cast<char>(c);
  out->Used(p);
}

void AddAsRead(Lines* lines, const AcDbObject& obj, int code, double value,
               double (*read_back)(const AcDbObject&, double), double computed) {
  for (const platform::acad::RawGroup& g : platform::acad::KeptGroups(obj)) {
    if (g.code != -code) continue;
    const std::string_view text = g.value.utf8();
    double read = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (ec == std::errc() && read_back(obj, read) == value) {
      lines->AddUtf8(code, text);
      return;
    }
    break;
  }
  lines->AddReal(code, computed);
}

void AddDegrees(Lines* lines, const AcDbObject& obj, int code, double radians) {
  AddAsRead(
      lines, obj, code, radians,
      [](const AcDbObject&, double degrees) { return degrees * kDegree; }, radians / kDegree);
}

bool HasKept(const AcDbObject& obj, int code) {
  for (const platform::acad::RawGroup& g : platform::acad::KeptGroups(obj))
    if (g.code == code) return true;
  return false;
}

bool HasKept(const AcDbObject& obj, int code, std::string_view value) {
  for (const platform::acad::RawGroup& g : platform::acad::KeptGroups(obj))
    if (g.code == code && g.value.utf8() == value) return true;
  return false;
}

bool IsZAxis(const AcGeVector3d& v) {
  return v.x == 0 && v.y == 0 && v.z == 1;
}

}  // namespace host::dxf_out
