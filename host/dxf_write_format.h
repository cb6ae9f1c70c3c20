// How values and groups look in the DXF files the writer makes.
#pragma once

#include <dbmain.h>

#include <functional>
#include <string>
#include <vector>

namespace host::dxf_out {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;

// A handle in upper-case hexadecimal.
std::wstring Hex(AcDbHandle h);
// A real number as the shortest text that reads back as the same double, with a decimal point
// when it would look like an integer ("1.0", "0.1", "1e-07"); never "-0".
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

// The text the file had for the modelled group `code` (kept by the reader as group -code) while
// `read_back` still turns it into `value`; else `computed`. Numbers the database holds in another
// unit than the file (angles) are so written back as they were read.
std::wstring AsRead(const AcDbObject& obj, int code, double value,
                    const std::function<double(double)>& read_back, const std::wstring& computed);
// True when the object keeps a group of that code (and that value, when given).
bool HasKept(const AcDbObject& obj, int code, const wchar_t* value = nullptr);
// An angle in degrees, as read when unchanged.
std::wstring Degrees(const AcDbObject& obj, int code, double radians);

// Appends the three groups of a point or vector: code, code + 10, code + 20.
void AddPoint(Groups* g, int code, const AcGePoint3d& p);
void AddVector(Groups* g, int code, const AcGeVector3d& v);
bool IsZAxis(const AcGeVector3d& v);

}  // namespace host::dxf_out
