// How values and groups look in the DXF files the writer makes.
#pragma once

#include <dbmain.h>

#include <string>
#include <vector>

namespace host::dxf_out {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;

// A handle in upper-case hexadecimal.
std::wstring Hex(AcDbHandle h);
// A real number as DXF files write it ("1.0", "0.5", "1e-07"), never "-0".
std::wstring Real(double v);
std::wstring Int(long long v);

using Groups = std::vector<AcDbRawGroup>;

// One subclass of a modelled object: its marker, the groups the object gives, and groups that
// go after the kept ones of that subclass (dictionary entries).
struct Subclass {
  std::wstring marker;
  Groups groups;
  Groups tail;
};

// Appends the three groups of a point or vector: code, code + 10, code + 20.
void AddPoint(Groups* g, int code, const AcGePoint3d& p);
void AddVector(Groups* g, int code, const AcGeVector3d& v);
bool IsZAxis(const AcGeVector3d& v);

}  // namespace host::dxf_out
