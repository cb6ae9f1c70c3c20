// AcGePoint3d: a 3D point, and the 3D point array.
#pragma once

#include <acarray.h>
#include <gepnt2d.h>
#include <gevec3d.h>

class AcGeMatrix3d;

class AcGePoint3d {
 public:
  AcGePoint3d() = default;
  AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

  static const AcGePoint3d kOrigin;

  AcGePoint3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGePoint3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
  AcGePoint3d& operator+=(const AcGeVector3d& v) { return *this = *this + v; }
  AcGePoint3d& operator-=(const AcGeVector3d& v) { return *this = *this - v; }
  double operator[](unsigned i) const { return i == 0 ? x : i == 1 ? y : z; }
  double& operator[](unsigned i) { return i == 0 ? x : i == 1 ? y : z; }

  AcGePoint3d& set(double xx, double yy, double zz) {
    x = xx;
    y = yy;
    z = zz;
    return *this;
  }
  AcGeVector3d asVector() const { return {x, y, z}; }
  AcGePoint2d convert2d() const { return {x, y}; }
  double distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }
  bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeContext::gTol) const {
    return distanceTo(p) <= tol.equalPoint();
  }
  bool operator==(const AcGePoint3d& p) const { return isEqualTo(p); }
  bool operator!=(const AcGePoint3d& p) const { return !isEqualTo(p); }
  AcGePoint3d& transformBy(const AcGeMatrix3d& mat);
  // Rotates about the axis through wrtPoint by angle (radians, right-handed).
  AcGePoint3d& rotateBy(double angle, const AcGeVector3d& axis,
                        const AcGePoint3d& wrtPoint = kOrigin);

  double x = 0, y = 0, z = 0;
};

// An ads_point as a point, and back.
inline AcGePoint3d asPnt3d(const double* p) {
  return {p[0], p[1], p[2]};
}
inline double* asDblArray(AcGePoint3d& p) {
  return &p.x;
}
inline const double* asDblArray(const AcGePoint3d& p) {
  return &p.x;
}

typedef AcArray<AcGePoint3d> AcGePoint3dArray;
