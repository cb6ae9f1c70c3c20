// AcDbEllipse: parametric points, angle and parameter conversions, transforms and extents.
#include <dbelipse.h>

#include <cmath>

ACRX_DEFINE_MEMBERS(AcDbEllipse, AcDbCurve, L"ELLIPSE")
ACDB_DEFINE_COPYING(AcDbEllipse)

namespace {

double Normalised(double a) {
  a = std::fmod(a, 2 * kPi);
  return a < 0 ? a + 2 * kPi : a;
}

}  // namespace

AcDbEllipse::AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                         const AcGeVector3d& majorAxis, double radiusRatio, double startAngle,
                         double endAngle) {
  set(center, unitNormal, majorAxis, radiusRatio, startAngle, endAngle);
}

Acad::ErrorStatus AcDbEllipse::set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                                   const AcGeVector3d& majorAxis, double radiusRatio,
                                   double startAngle, double endAngle) {
  assertWriteEnabled();
  if (unitNormal.isZeroLength() || majorAxis.isZeroLength() ||
      !unitNormal.isPerpendicularTo(majorAxis, AcGeTol()) || !(radiusRatio > 0) || radiusRatio > 1)
    return Acad::eInvalidInput;
  center_ = center;
  normal_ = unitNormal.normal();
  major_ = majorAxis;
  ratio_ = radiusRatio;
  start_ = startAngle;
  end_ = endAngle;
  return Acad::eOk;
}

AcGePoint3d AcDbEllipse::center() const {
  assertReadEnabled();
  return center_;
}
Acad::ErrorStatus AcDbEllipse::setCenter(const AcGePoint3d& center) {
  assertWriteEnabled();
  center_ = center;
  return Acad::eOk;
}
AcGeVector3d AcDbEllipse::normal() const {
  assertReadEnabled();
  return normal_;
}
AcGeVector3d AcDbEllipse::majorAxis() const {
  assertReadEnabled();
  return major_;
}
AcGeVector3d AcDbEllipse::minorAxis() const {
  assertReadEnabled();
  return normal_.crossProduct(major_) * ratio_;
}
double AcDbEllipse::radiusRatio() const {
  assertReadEnabled();
  return ratio_;
}
Acad::ErrorStatus AcDbEllipse::setRadiusRatio(double ratio) {
  assertWriteEnabled();
  if (!(ratio > 0) || ratio > 1) return Acad::eInvalidInput;
  ratio_ = ratio;
  return Acad::eOk;
}
double AcDbEllipse::startAngle() const {
  assertReadEnabled();
  return start_;
}
Acad::ErrorStatus AcDbEllipse::setStartAngle(double angle) {
  assertWriteEnabled();
  start_ = angle;
  return Acad::eOk;
}
double AcDbEllipse::endAngle() const {
  assertReadEnabled();
  return end_;
}
Acad::ErrorStatus AcDbEllipse::setEndAngle(double angle) {
  assertWriteEnabled();
  end_ = angle;
  return Acad::eOk;
}

double AcDbEllipse::paramAtAngle(double angle) const {
  // A point at angle a lies at (cos p, ratio·sin p) with tan a = ratio·tan p.
  double p = std::atan2(std::sin(angle) / ratio_, std::cos(angle));
  double whole = angle - Normalised(angle);
  return whole + Normalised(p);
}

double AcDbEllipse::angleAtParam(double param) const {
  double a = std::atan2(ratio_ * std::sin(param), std::cos(param));
  double whole = param - Normalised(param);
  return whole + Normalised(a);
}

bool AcDbEllipse::isClosed() const {
  assertReadEnabled();
  return std::fabs(Normalised(end_ - start_)) < 1e-12 || std::fabs(end_ - start_ - 2 * kPi) < 1e-12;
}

Acad::ErrorStatus AcDbEllipse::getStartParam(double& param) const {
  assertReadEnabled();
  param = paramAtAngle(start_);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getEndParam(double& param) const {
  assertReadEnabled();
  double start = paramAtAngle(start_);
  param = isClosed() ? start + 2 * kPi : paramAtAngle(end_);
  while (param <= start) param += 2 * kPi;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getPointAtParam(double param, AcGePoint3d& point) const {
  assertReadEnabled();
  point = center_ + major_ * std::cos(param) + minorAxis() * std::sin(param);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  AcGeVector3d major = xform * major_;
  AcGeVector3d minor = xform * minorAxis();
  if (!major.isPerpendicularTo(minor, AcGeTol())) return Acad::eInvalidInput;
  bool mirrored = major.crossProduct(minor).dotProduct(xform * normal_) < 0;
  center_.transformBy(xform);
  normal_ = major.crossProduct(minor).normal();
  if (mirrored) normal_ = -normal_;
  major_ = major;
  ratio_ = minor.length() / major.length();
  if (ratio_ > 1) {
    // The old minor axis became the longer one: turn the axes by a quarter.
    major_ = minor;
    ratio_ = 1 / ratio_;
    start_ -= kPi / 2;
    end_ -= kPi / 2;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getGeomExtents(AcDbExtents& extents) const {
  assertReadEnabled();
  double start, end;
  getStartParam(start);
  getEndParam(end);
  AcDbExtents box;
  const int steps = 256;  // fine enough for picking and drawing limits
  for (int i = 0; i <= steps; ++i) {
    AcGePoint3d p;
    getPointAtParam(start + (end - start) * i / steps, p);
    box.addPoint(p);
  }
  extents = box;
  return Acad::eOk;
}
