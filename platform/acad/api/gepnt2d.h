// AcGePoint2d: a 2D point, and the 2D point and double arrays.
#pragma once

#include <acarray.h>
#include <gevec2d.h>

class AcGePoint2d {
 public:
  AcGePoint2d() = default;
  AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}

  static const AcGePoint2d kOrigin;

  AcGePoint2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
  AcGePoint2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
  AcGeVector2d operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
  AcGePoint2d& operator+=(const AcGeVector2d& v) { return *this = *this + v; }
  AcGePoint2d& operator-=(const AcGeVector2d& v) { return *this = *this - v; }
  double operator[](unsigned i) const { return i == 0 ? x : y; }
  double& operator[](unsigned i) { return i == 0 ? x : y; }

  AcGePoint2d& set(double xx, double yy) {
    x = xx;
    y = yy;
    return *this;
  }
  AcGeVector2d asVector() const { return {x, y}; }
  double distanceTo(const AcGePoint2d& p) const { return (*this - p).length(); }
  bool isEqualTo(const AcGePoint2d& p, const AcGeTol& tol = AcGeContext::gTol) const {
    return distanceTo(p) <= tol.equalPoint();
  }
  bool operator==(const AcGePoint2d& p) const { return isEqualTo(p); }
  bool operator!=(const AcGePoint2d& p) const { return !isEqualTo(p); }
  // Rotates about wrtPoint by angle (radians, counter-clockwise).
  AcGePoint2d& rotateBy(double angle, const AcGePoint2d& wrtPoint = kOrigin);

  double x = 0, y = 0;
};

typedef AcArray<AcGePoint2d> AcGePoint2dArray;
typedef AcArray<double> AcGeDoubleArray;
