// How values and groups look in the DXF files the writer makes.
#include "host/dxf_write_format.h"

#include <algorithm>
#include <charconv>

namespace host::dxf_out {

std::wstring Hex(AcDbHandle h) {
  ACHAR buf[20];
  h.getIntoAsciiBuffer(buf, 20);
  return buf;
}

std::wstring Real(double v) {
  if (v == 0) v = 0;  // no "-0"
  char buf[40];
  // The shortest text that reads back as the same double: what was read is written back.
  char* end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  if (std::find_if(buf, end, [](char c) { return c == '.' || c == 'e' || c == 'n'; }) == end) {
    *end++ = '.';
    *end++ = '0';
  }
  return std::wstring(buf, end);
}

std::wstring Int(long long v) {
  return std::to_wstring(v);
}

std::wstring AsRead(const AcDbObject& obj, int code, double value,
                    const std::function<double(double)>& read_back, const std::wstring& computed) {
  for (const AcDbRawGroup& g : obj.rawGroups()) {
    if (g.code != -code) continue;
    const std::string_view text = g.value.utf8();
    double read = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (ec == std::errc() && read_back(read) == value) return g.value.wide();
    break;
  }
  return computed;
}

bool HasKept(const AcDbObject& obj, int code, const wchar_t* value) {
  for (const AcDbRawGroup& g : obj.rawGroups())
    if (g.code == code && (value == nullptr || g.value == value)) return true;
  return false;
}

std::wstring Degrees(const AcDbObject& obj, int code, double radians) {
  return AsRead(
      obj, code, radians, [](double degrees) { return degrees * kDegree; },
      Real(radians / kDegree));
}

void AddPoint(Groups* g, int code, const AcGePoint3d& p) {
  g->push_back({code, Real(p.x)});
  g->push_back({code + 10, Real(p.y)});
  g->push_back({code + 20, Real(p.z)});
}

void AddVector(Groups* g, int code, const AcGeVector3d& v) {
  g->push_back({code, Real(v.x)});
  g->push_back({code + 10, Real(v.y)});
  g->push_back({code + 20, Real(v.z)});
}

bool IsZAxis(const AcGeVector3d& v) {
  return v.x == 0 && v.y == 0 && v.z == 1;
}

}  // namespace host::dxf_out
