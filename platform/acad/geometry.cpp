// Points, vectors and scales: the parts that do more than one line of arithmetic.
#include <algorithm>
#include <cmath>

#include <gemat3d.h>
#include <gepnt2d.h>
#include <gepnt3d.h>
#include <gescl3d.h>

AcGeTol AcGeContext::gTol;

const AcGeVector2d AcGeVector2d::kIdentity(0, 0);
const AcGeVector2d AcGeVector2d::kXAxis(1, 0);
const AcGeVector2d AcGeVector2d::kYAxis(0, 1);
const AcGePoint2d AcGePoint2d::kOrigin(0, 0);
const AcGeVector3d AcGeVector3d::kIdentity(0, 0, 0);
const AcGeVector3d AcGeVector3d::kXAxis(1, 0, 0);
const AcGeVector3d AcGeVector3d::kYAxis(0, 1, 0);
const AcGeVector3d AcGeVector3d::kZAxis(0, 0, 1);
const AcGePoint3d AcGePoint3d::kOrigin(0, 0, 0);
const AcGeScale3d AcGeScale3d::kIdentity(1, 1, 1);

double AcGeVector2d::angle() const {
  double a = std::atan2(y, x);
  return a < 0 ? a + 2 * kPi : a;
}

double AcGeVector2d::angleTo(const AcGeVector2d& v) const {
  double cross = x * v.y - y * v.x;
  return std::fabs(std::atan2(cross, dotProduct(v)));
}

AcGeVector2d AcGeVector2d::normal(const AcGeTol& tol) const {
  double len = length();
  return len <= tol.equalVector() ? *this : *this / len;
}

AcGeVector2d& AcGeVector2d::rotateBy(double angle) {
  double c = std::cos(angle), s = std::sin(angle);
  return *this = AcGeVector2d(x * c - y * s, x * s + y * c);
}

AcGePoint2d& AcGePoint2d::rotateBy(double angle, const AcGePoint2d& wrtPoint) {
  AcGeVector2d v = *this - wrtPoint;
  v.rotateBy(angle);
  return *this = wrtPoint + v;
}

double AcGeVector3d::angleTo(const AcGeVector3d& v) const {
  // atan2 of |a×b| and a·b keeps full precision near 0 and π, where acos does not.
  return std::atan2(crossProduct(v).length(), dotProduct(v));
}

double AcGeVector3d::angleTo(const AcGeVector3d& v, const AcGeVector3d& refVec) const {
  AcGeVector3d cross = crossProduct(v);
  double a = std::atan2(cross.length(), dotProduct(v));
  if (cross.dotProduct(refVec) < 0) a = 2 * kPi - a;
  return a >= 2 * kPi ? a - 2 * kPi : a;
}

AcGeVector3d AcGeVector3d::normal(const AcGeTol& tol) const {
  double len = length();
  return len <= tol.equalVector() ? *this : *this / len;
}

AcGeVector3d AcGeVector3d::perpVector() const {
  // The arbitrary axis rule of the DXF reference: near the z axis use the y axis, else z.
  AcGeVector3d n = normal();
  if (std::fabs(n.x) < 1.0 / 64 && std::fabs(n.y) < 1.0 / 64) return kYAxis.crossProduct(n);
  return kZAxis.crossProduct(n);
}

bool AcGeVector3d::isParallelTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  if (isZeroLength(tol) || v.isZeroLength(tol)) return false;
  return normal().crossProduct(v.normal()).length() <= tol.equalVector();
}

bool AcGeVector3d::isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  if (isZeroLength(tol) || v.isZeroLength(tol)) return false;
  return std::fabs(normal().dotProduct(v.normal())) <= tol.equalVector();
}

AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m) {
  const auto& e = m.entry;
  return *this = AcGeVector3d(e[0][0] * x + e[0][1] * y + e[0][2] * z,
                              e[1][0] * x + e[1][1] * y + e[1][2] * z,
                              e[2][0] * x + e[2][1] * y + e[2][2] * z);
}

AcGeVector3d& AcGeVector3d::rotateBy(double angle, const AcGeVector3d& axis) {
  return transformBy(AcGeMatrix3d::rotation(angle, axis));
}

AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m) {
  const auto& e = m.entry;
  double nx = e[0][0] * x + e[0][1] * y + e[0][2] * z + e[0][3];
  double ny = e[1][0] * x + e[1][1] * y + e[1][2] * z + e[1][3];
  double nz = e[2][0] * x + e[2][1] * y + e[2][2] * z + e[2][3];
  double w = e[3][0] * x + e[3][1] * y + e[3][2] * z + e[3][3];
  if (w != 1.0 && w != 0.0) {
    nx /= w;
    ny /= w;
    nz /= w;
  }
  return *this = AcGePoint3d(nx, ny, nz);
}

AcGePoint3d& AcGePoint3d::rotateBy(double angle, const AcGeVector3d& axis,
                                   const AcGePoint3d& wrtPoint) {
  return transformBy(AcGeMatrix3d::rotation(angle, axis, wrtPoint));
}

bool AcGeScale3d::isEqualTo(const AcGeScale3d& s, const AcGeTol& tol) const {
  return std::fabs(sx - s.sx) <= tol.equalVector() && std::fabs(sy - s.sy) <= tol.equalVector() &&
         std::fabs(sz - s.sz) <= tol.equalVector();
}

AcGeMatrix3d& AcGeScale3d::getMatrix(AcGeMatrix3d& mat) const {
  mat.setToIdentity();
  mat.entry[0][0] = sx;
  mat.entry[1][1] = sy;
  mat.entry[2][2] = sz;
  return mat;
}
