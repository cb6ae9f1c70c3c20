// How values and groups look in the DXF files the writer makes.
#include "host/dxf_write_format.h"

#include <cstdio>

namespace host::dxf_out {

std::wstring Hex(AcDbHandle h) {
  ACHAR buf[20];
  h.getIntoAsciiBuffer(buf, 20);
  return buf;
}

std::wstring Real(double v) {
  if (v == 0) v = 0;  // no "-0"
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  std::string s(buf);
  if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
  return std::wstring(s.begin(), s.end());
}

std::wstring Int(long long v) {
  return std::to_wstring(v);
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
