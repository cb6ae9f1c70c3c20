// How values and groups look in the DXF files the writer makes.
#include "host/dxf_write_format.h"

#include <text_encoding.h>

#include <algorithm>
#include <charconv>
#include <cstdint>

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

std::wstring Int(long long v) {
  return std::to_wstring(v);
}

void AppendHex(std::string* out, AcDbHandle h) {
  char buf[20];
  out->append(buf, HexDigits(buf, h));
}

void AppendReal(std::string* out, double v) {
  char buf[40];
  out->append(buf, RealDigits(buf, v));
}

void AppendInt(std::string* out, long long v) {
  char buf[24];
  out->append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

void AppendCode(std::string* out, int code) {
  char buf[16];
  char* begin = buf + 3;
  char* end = std::to_chars(begin, buf + sizeof buf - 1, code).ptr;
  while (end - begin < 3) *--begin = ' ';
  *end++ = '\n';
  out->append(begin, end);
}

void AppendText(std::string* out, std::wstring_view text) {
  bool ascii = true;
  for (wchar_t c : text) ascii = ascii && static_cast<uint32_t>(c) < 0x80;
  if (!ascii) {
    *out += platform::WideToUtf8(text);
    return;
  }
  const size_t at = out->size();
  out->resize(at + text.size());
  char* p = out->data() + at;
  for (wchar_t c : text) *p++ = static_cast<char>(c);
}

void AddAsRead(Lines* lines, const AcDbObject& obj, int code, double value,
               double (*read_back)(const AcDbObject&, double), double computed) {
  for (const AcDbRawGroup& g : obj.rawGroups()) {
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
  for (const AcDbRawGroup& g : obj.rawGroups())
    if (g.code == code) return true;
  return false;
}

bool HasKept(const AcDbObject& obj, int code, std::string_view value) {
  for (const AcDbRawGroup& g : obj.rawGroups())
    if (g.code == code && g.value.utf8() == value) return true;
  return false;
}

bool IsZAxis(const AcGeVector3d& v) {
  return v.x == 0 && v.y == 0 && v.z == 1;
}

}  // namespace host::dxf_out
