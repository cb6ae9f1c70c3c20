// Lines, points, circles and arcs: their geometry, transforms and extents.
#include <dbents.h>

#include <algorithm>
#include <cmath>

#include "platform/acad/dbstub.h"

ACRX_DEFINE_MEMBERS(AcDbLine, AcDbCurve, L"LINE")
ACRX_DEFINE_MEMBERS(AcDbPoint, AcDbEntity, L"POINT")
ACRX_DEFINE_MEMBERS(AcDbCircle, AcDbCurve, L"CIRCLE")
ACRX_DEFINE_MEMBERS(AcDbArc, AcDbCurve, L"ARC")
ACDB_DEFINE_COPYING(AcDbLine)
ACDB_DEFINE_COPYING(AcDbPoint)
ACDB_DEFINE_COPYING(AcDbCircle)
ACDB_DEFINE_COPYING(AcDbArc)

namespace {

// The x and y axes of the plane with that normal, by the arbitrary axis rule.
void PlaneAxes(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis) {
  AcGeVector3d n = normal.normal();
  xAxis = n.perpVector().normal();
  yAxis = n.crossProduct(xAxis).normal();
}

// Whether the angle (normalised) lies on the arc from start counter-clockwise to end.
bool AngleOnArc(double angle, double start, double end) {
  auto norm = [](double a) {
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
  };
  double span = norm(end - start);
  if (span == 0) span = 2 * kPi;
  return norm(angle - start) <= span;
}

// Uniform scale of a matrix's linear part, or a negative number when it is not uniform.
double UniformScale(const AcGeMatrix3d& m) {
  double sx = (m * AcGeVector3d::kXAxis).length();
  double sy = (m * AcGeVector3d::kYAxis).length();
  double sz = (m * AcGeVector3d::kZAxis).length();
  if (std::fabs(sx - sy) > 1e-9 * sx || std::fabs(sx - sz) > 1e-9 * sx) return -1;
  return sx;
}

}  // namespace

// ---- Line ----

AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : start_(start), end_(end) {}

AcGePoint3d AcDbLine::startPoint() const {
  assertReadEnabled();
  return start_;
}
Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& pt) {
  assertWriteEnabled();
  start_ = pt;
  return Acad::eOk;
}
AcGePoint3d AcDbLine::endPoint() const {
  assertReadEnabled();
  return end_;
}
Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& pt) {
  assertWriteEnabled();
  end_ = pt;
  return Acad::eOk;
}
AcGeVector3d AcDbLine::normal() const {
  assertReadEnabled();
  return AcGeVector3d::kZAxis;
}
Acad::ErrorStatus AcDbLine::getStartParam(double& param) const {
  assertReadEnabled();
  param = 0;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getEndParam(double& param) const {
  assertReadEnabled();
  param = start_.distanceTo(end_);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getPointAtParam(double param, AcGePoint3d& point) const {
  assertReadEnabled();
  double len = start_.distanceTo(end_);
  if (param < -1e-10 || param > len + 1e-10) return Acad::eInvalidInput;
  point = len == 0 ? start_ : start_ + (end_ - start_) * (param / len);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  start_.transformBy(xform);
  end_.transformBy(xform);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getGeomExtents(AcDbExtents& extents) const {
  assertReadEnabled();
  extents = AcDbExtents(start_, end_);
  return Acad::eOk;
}

// ---- Point ----

AcDbPoint::AcDbPoint(const AcGePoint3d& position) : position_(position) {}

AcGePoint3d AcDbPoint::position() const {
  assertReadEnabled();
  return position_;
}
Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& pt) {
  assertWriteEnabled();
  position_ = pt;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  position_.transformBy(xform);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::getGeomExtents(AcDbExtents& extents) const {
  assertReadEnabled();
  extents = AcDbExtents(position_, position_);
  return Acad::eOk;
}

// ---- Circle ----

AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
    : center_(center), normal_(normal.normal()), radius_(radius) {}

AcGePoint3d AcDbCircle::center() const {
  assertReadEnabled();
  return center_;
}
Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& pt) {
  assertWriteEnabled();
  center_ = pt;
  return Acad::eOk;
}
double AcDbCircle::radius() const {
  assertReadEnabled();
  return radius_;
}
Acad::ErrorStatus AcDbCircle::setRadius(double radius) {
  assertWriteEnabled();
  if (!(radius > 0)) return Acad::eInvalidInput;
  radius_ = radius;
  return Acad::eOk;
}
AcGeVector3d AcDbCircle::normal() const {
  assertReadEnabled();
  return normal_;
}
Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& normal) {
  assertWriteEnabled();
  if (normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getStartParam(double& param) const {
  assertReadEnabled();
  param = 0;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getEndParam(double& param) const {
  assertReadEnabled();
  param = 2 * kPi;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getPointAtParam(double param, AcGePoint3d& point) const {
  assertReadEnabled();
  AcGeVector3d x, y;
  PlaneAxes(normal_, x, y);
  point = center_ + x * (radius_ * std::cos(param)) + y * (radius_ * std::sin(param));
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  double scale = UniformScale(xform);
  if (scale <= 0) return Acad::eInvalidInput;
  center_.transformBy(xform);
  normal_ = (xform * normal_).normal();
  radius_ *= scale;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getGeomExtents(AcDbExtents& extents) const {
  assertReadEnabled();
  // Per axis, a circle of radius r in a plane with unit normal n reaches r·sqrt(1 - n_i²).
  AcGeVector3d reach(radius_ * std::sqrt(std::max(0.0, 1 - normal_.x * normal_.x)),
                     radius_ * std::sqrt(std::max(0.0, 1 - normal_.y * normal_.y)),
                     radius_ * std::sqrt(std::max(0.0, 1 - normal_.z * normal_.z)));
  extents = AcDbExtents(center_ - reach, center_ + reach);
  return Acad::eOk;
}

// ---- Arc ----

AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : center_(center), radius_(radius), start_(startAngle), end_(endAngle) {}

AcGePoint3d AcDbArc::center() const {
  assertReadEnabled();
  return center_;
}
Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& pt) {
  assertWriteEnabled();
  center_ = pt;
  return Acad::eOk;
}
double AcDbArc::radius() const {
  assertReadEnabled();
  return radius_;
}
Acad::ErrorStatus AcDbArc::setRadius(double radius) {
  assertWriteEnabled();
  if (!(radius > 0)) return Acad::eInvalidInput;
  radius_ = radius;
  return Acad::eOk;
}
double AcDbArc::startAngle() const {
  assertReadEnabled();
  return start_;
}
Acad::ErrorStatus AcDbArc::setStartAngle(double angle) {
  assertWriteEnabled();
  start_ = angle;
  return Acad::eOk;
}
double AcDbArc::endAngle() const {
  assertReadEnabled();
  return end_;
}
Acad::ErrorStatus AcDbArc::setEndAngle(double angle) {
  assertWriteEnabled();
  end_ = angle;
  return Acad::eOk;
}
AcGeVector3d AcDbArc::normal() const {
  assertReadEnabled();
  return AcGeVector3d::kZAxis;
}
Acad::ErrorStatus AcDbArc::getStartParam(double& param) const {
  assertReadEnabled();
  param = start_;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getEndParam(double& param) const {
  assertReadEnabled();
  param = end_;
  while (param <= start_) param += 2 * kPi;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getPointAtParam(double param, AcGePoint3d& point) const {
  assertReadEnabled();
  point = center_ + AcGeVector3d(std::cos(param), std::sin(param), 0) * radius_;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  double scale = UniformScale(xform);
  if (scale <= 0) return Acad::eInvalidInput;
  // Arcs stay in the xy plane here: the rotation about z moves both angles; a mirror swaps
  // and reflects them.
  AcGeVector3d x = xform * AcGeVector3d::kXAxis;
  AcGeVector3d y = xform * AcGeVector3d::kYAxis;
  double turn = std::atan2(x.y, x.x);
  bool mirrored = x.crossProduct(y).z < 0;
  center_.transformBy(xform);
  radius_ *= scale;
  if (mirrored) {
    double s = turn - end_, e = turn - start_;
    start_ = s;
    end_ = e;
  } else {
    start_ += turn;
    end_ += turn;
  }
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getGeomExtents(AcDbExtents& extents) const {
  assertReadEnabled();
  AcDbExtents box;
  AcGePoint3d p;
  getPointAtParam(start_, p);
  box.addPoint(p);
  getPointAtParam(end_, p);
  box.addPoint(p);
  for (int quadrant = 0; quadrant < 4; ++quadrant) {
    double a = quadrant * kPi / 2;
    if (AngleOnArc(a, start_, end_)) {
      getPointAtParam(a, p);
      box.addPoint(p);
    }
  }
  extents = box;
  return Acad::eOk;
}
