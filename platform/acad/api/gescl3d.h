// AcGeScale3d: the three scale factors of a block reference.
#pragma once

#include <gemat3d.h>

class AcGeScale3d {
 public:
  AcGeScale3d() = default;
  explicit AcGeScale3d(double factor) : sx(factor), sy(factor), sz(factor) {}
  AcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}

  static const AcGeScale3d kIdentity;

  double operator[](unsigned i) const { return i == 0 ? sx : i == 1 ? sy : sz; }
  double& operator[](unsigned i) { return i == 0 ? sx : i == 1 ? sy : sz; }
  AcGeScale3d operator*(double factor) const { return {sx * factor, sy * factor, sz * factor}; }
  AcGeScale3d operator*(const AcGeScale3d& s) const { return {sx * s.sx, sy * s.sy, sz * s.sz}; }
  bool isEqualTo(const AcGeScale3d& s, const AcGeTol& tol = AcGeContext::gTol) const;
  bool operator==(const AcGeScale3d& s) const { return isEqualTo(s); }
  // The diagonal scaling matrix.
  AcGeMatrix3d& getMatrix(AcGeMatrix3d& mat) const;
  operator AcGeMatrix3d() const {
    AcGeMatrix3d m;
    return getMatrix(m);
  }

  double sx = 1, sy = 1, sz = 1;
};
