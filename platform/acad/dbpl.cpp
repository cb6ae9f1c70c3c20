// AcDbPolyline: vertices with bulges, parameters along segments, transforms and extents.
#include <dbpl.h>

#include <algorithm>
#include <cmath>

ACRX_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve, L"LWPOLYLINE")
ACDB_DEFINE_COPYING(AcDbPolyline)

AcDbPolyline::AcDbPolyline(unsigned int num_verts) {
  vertices_.reserve(num_verts);
}

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge,
                                            double startWidth, double endWidth) {
  assertWriteEnabled();
  if (index > vertices_.size()) return Acad::eInvalidIndex;
  Vertex v{pt, bulge, startWidth < 0 ? constant_width_ : startWidth,
           endWidth < 0 ? constant_width_ : endWidth};
  vertices_.insert(vertices_.begin() + index, v);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
  assertWriteEnabled();
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  vertices_.erase(vertices_.begin() + index);
  return Acad::eOk;
}

unsigned int AcDbPolyline::numVerts() const {
  assertReadEnabled();
  return static_cast<unsigned int>(vertices_.size());
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const {
  assertReadEnabled();
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  pt = vertices_[index].point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& pt) const {
  AcGePoint2d p;
  Acad::ErrorStatus es = getPointAt(index, p);
  if (es == Acad::eOk) pt.set(p.x, p.y, elevation_);
  return es;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& pt) {
  assertWriteEnabled();
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  vertices_[index].point = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
  assertReadEnabled();
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  bulge = vertices_[index].bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
  assertWriteEnabled();
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  vertices_[index].bulge = bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth,
                                            double& endWidth) const {
  assertReadEnabled();
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  startWidth = vertices_[index].start_width;
  endWidth = vertices_[index].end_width;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth,
                                            double endWidth) {
  assertWriteEnabled();
  if (index >= vertices_.size() || startWidth < 0 || endWidth < 0) return Acad::eInvalidIndex;
  vertices_[index].start_width = startWidth;
  vertices_[index].end_width = endWidth;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const {
  assertReadEnabled();
  width = constant_width_;
  for (const Vertex& v : vertices_)
    if (v.start_width != constant_width_ || v.end_width != constant_width_)
      return Acad::eInvalidInput;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width) {
  assertWriteEnabled();
  if (width < 0) return Acad::eInvalidInput;
  constant_width_ = width;
  for (Vertex& v : vertices_) v.start_width = v.end_width = width;
  return Acad::eOk;
}

void AcDbPolyline::setClosed(bool closed) {
  assertWriteEnabled();
  closed_ = closed;
}

bool AcDbPolyline::isClosed() const {
  assertReadEnabled();
  return closed_;
}

bool AcDbPolyline::isOnlyLines() const {
  assertReadEnabled();
  return std::all_of(vertices_.begin(), vertices_.end(),
                     [](const Vertex& v) { return v.bulge == 0.0; });
}

double AcDbPolyline::elevation() const {
  assertReadEnabled();
  return elevation_;
}
void AcDbPolyline::setElevation(double elevation) {
  assertWriteEnabled();
  elevation_ = elevation;
}
AcGeVector3d AcDbPolyline::normal() const {
  assertReadEnabled();
  return normal_;
}
void AcDbPolyline::setNormal(const AcGeVector3d& normal) {
  assertWriteEnabled();
  if (!normal.isZeroLength()) normal_ = normal.normal();
}

Acad::ErrorStatus AcDbPolyline::getStartParam(double& param) const {
  assertReadEnabled();
  param = 0;
  return vertices_.empty() ? Acad::eInvalidInput : Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getEndParam(double& param) const {
  assertReadEnabled();
  if (vertices_.empty()) return Acad::eInvalidInput;
  param =
      closed_ ? static_cast<double>(vertices_.size()) : static_cast<double>(vertices_.size() - 1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
  assertReadEnabled();
  double end;
  if (getEndParam(end) != Acad::eOk || param < -1e-10 || param > end + 1e-10)
    return Acad::eInvalidInput;
  size_t n = vertices_.size();
  size_t i = std::min(static_cast<size_t>(std::max(0.0, std::floor(param))),
                      static_cast<size_t>(end > 0 ? end - 1 : 0));
  double t = std::clamp(param - static_cast<double>(i), 0.0, 1.0);
  const Vertex& a = vertices_[i % n];
  const Vertex& b = vertices_[(i + 1) % n];
  AcGePoint2d p;
  if (n == 1 || a.bulge == 0.0) {
    p = n == 1 ? a.point : a.point + (b.point - a.point) * t;
  } else {
    // The bulge b is tan(θ/4) of the included angle θ (positive: counter-clockwise); the
    // centre lies on the chord's left normal at (chord/2)·(1 - b²)/(2b) from its middle.
    double theta = 4 * std::atan(a.bulge);
    AcGeVector2d chord = b.point - a.point;
    AcGeVector2d left = AcGeVector2d(-chord.y, chord.x).normal();
    double d = chord.length() / 2 * (1 - a.bulge * a.bulge) / (2 * a.bulge);
    AcGePoint2d center = a.point + chord * 0.5 + left * d;
    AcGeVector2d from = a.point - center;
    from.rotateBy(theta * t);
    p = center + from;
  }
  point.set(p.x, p.y, elevation_);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  AcGeVector3d x = xform * AcGeVector3d::kXAxis;
  AcGeVector3d y = xform * AcGeVector3d::kYAxis;
  if (std::fabs(x.length() - y.length()) > 1e-9 * x.length() || std::fabs(x.z) > 1e-12 ||
      std::fabs(y.z) > 1e-12)
    return Acad::eInvalidInput;
  bool mirrored = x.crossProduct(y).z < 0;
  for (Vertex& v : vertices_) {
    AcGePoint3d p(v.point.x, v.point.y, elevation_);
    p.transformBy(xform);
    v.point.set(p.x, p.y);
    if (mirrored) v.bulge = -v.bulge;
    v.start_width *= x.length();
    v.end_width *= x.length();
  }
  constant_width_ *= x.length();
  elevation_ = (xform * AcGePoint3d(0, 0, elevation_)).z;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getGeomExtents(AcDbExtents& extents) const {
  assertReadEnabled();
  if (vertices_.empty()) return Acad::eInvalidInput;
  AcDbExtents box;
  double end;
  getEndParam(end);
  for (size_t i = 0; i < vertices_.size(); ++i) {
    box.addPoint(AcGePoint3d(vertices_[i].point.x, vertices_[i].point.y, elevation_));
    if (vertices_[i].bulge != 0.0 && static_cast<double>(i) < end) {
      for (int k = 1; k < 32; ++k) {
        AcGePoint3d p;
        getPointAtParam(static_cast<double>(i) + k / 32.0, p);
        box.addPoint(p);
      }
    }
  }
  extents = box;
  return Acad::eOk;
}
