// AcDbHatch: pattern settings and boundary loops.
#include <dbhatch.h>

#include <cmath>

#include "platform/acad/dbstub.h"

ACRX_DEFINE_MEMBERS(AcDbHatch, AcDbEntity, L"HATCH")
ACDB_DEFINE_COPYING(AcDbHatch)

Acad::ErrorStatus AcDbHatch::setPattern(HatchPatternType patType, const ACHAR* patName) {
  assertWriteEnabled();
  if (patName == nullptr || *patName == 0) return Acad::eInvalidInput;
  pattern_type_ = patType;
  pattern_ = patName;
  return Acad::eOk;
}
const ACHAR* AcDbHatch::patternName() const {
  assertReadEnabled();
  return pattern_.c_str();
}
AcDbHatch::HatchPatternType AcDbHatch::patternType() const {
  assertReadEnabled();
  return pattern_type_;
}
bool AcDbHatch::isSolidFill() const {
  assertReadEnabled();
  return platform::acad::internal::SameName(pattern_.c_str(), L"SOLID");
}
double AcDbHatch::patternScale() const {
  assertReadEnabled();
  return scale_;
}
Acad::ErrorStatus AcDbHatch::setPatternScale(double scale) {
  assertWriteEnabled();
  if (!(scale > 0)) return Acad::eInvalidInput;
  scale_ = scale;
  return Acad::eOk;
}
double AcDbHatch::patternAngle() const {
  assertReadEnabled();
  return angle_;
}
Acad::ErrorStatus AcDbHatch::setPatternAngle(double angle) {
  assertWriteEnabled();
  angle_ = angle;
  return Acad::eOk;
}
AcDbHatch::HatchStyle AcDbHatch::hatchStyle() const {
  assertReadEnabled();
  return style_;
}
Acad::ErrorStatus AcDbHatch::setHatchStyle(HatchStyle style) {
  assertWriteEnabled();
  style_ = style;
  return Acad::eOk;
}
bool AcDbHatch::associative() const {
  assertReadEnabled();
  return associative_;
}
Acad::ErrorStatus AcDbHatch::setAssociative(bool isAssociative) {
  assertWriteEnabled();
  associative_ = isAssociative;
  return Acad::eOk;
}
double AcDbHatch::elevation() const {
  assertReadEnabled();
  return elevation_;
}
Acad::ErrorStatus AcDbHatch::setElevation(double elevation) {
  assertWriteEnabled();
  elevation_ = elevation;
  return Acad::eOk;
}
AcGeVector3d AcDbHatch::normal() const {
  assertReadEnabled();
  return normal_;
}
Acad::ErrorStatus AcDbHatch::setNormal(const AcGeVector3d& normal) {
  assertWriteEnabled();
  if (normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                                        const AcGeDoubleArray& bulges) {
  assertWriteEnabled();
  if (vertices.length() < 2 || (!bulges.isEmpty() && bulges.length() != vertices.length()))
    return Acad::eInvalidInput;
  Loop loop;
  loop.type = loopType | kPolyline;
  loop.vertices.assign(vertices.begin(), vertices.end());
  loop.bulges.assign(bulges.begin(), bulges.end());
  if (loop.bulges.empty()) loop.bulges.assign(loop.vertices.size(), 0.0);
  loops_.push_back(std::move(loop));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcDbObjectIdArray& dbObjIds) {
  assertWriteEnabled();
  if (dbObjIds.isEmpty()) return Acad::eInvalidInput;
  Loop loop;
  loop.type = loopType;
  loop.boundary.assign(dbObjIds.begin(), dbObjIds.end());
  loops_.push_back(std::move(loop));
  return Acad::eOk;
}

int AcDbHatch::numLoops() const {
  assertReadEnabled();
  return static_cast<int>(loops_.size());
}

Adesk::Int32 AcDbHatch::loopTypeAt(int loopIndex) const {
  assertReadEnabled();
  return loopIndex >= 0 && loopIndex < numLoops() ? loops_[loopIndex].type : 0;
}

Acad::ErrorStatus AcDbHatch::getLoopAt(int loopIndex, Adesk::Int32& loopType,
                                       AcGePoint2dArray& vertices, AcGeDoubleArray& bulges) const {
  assertReadEnabled();
  if (loopIndex < 0 || loopIndex >= numLoops() || !(loops_[loopIndex].type & kPolyline))
    return Acad::eInvalidIndex;
  const Loop& loop = loops_[loopIndex];
  loopType = loop.type;
  vertices.removeAll();
  bulges.removeAll();
  for (const AcGePoint2d& p : loop.vertices) vertices.append(p);
  for (double b : loop.bulges) bulges.append(b);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getAssocObjIdsAt(int loopIndex, AcDbObjectIdArray& dbObjIds) const {
  assertReadEnabled();
  if (loopIndex < 0 || loopIndex >= numLoops()) return Acad::eInvalidIndex;
  dbObjIds.removeAll();
  for (const AcDbObjectId& id : loops_[loopIndex].boundary) dbObjIds.append(id);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::removeLoopAt(int loopIndex) {
  assertWriteEnabled();
  if (loopIndex < 0 || loopIndex >= numLoops()) return Acad::eInvalidIndex;
  loops_.erase(loops_.begin() + loopIndex);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::evaluateHatch(bool) {
  assertWriteEnabled();
  ++evaluations_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  AcGeVector3d x = xform * AcGeVector3d::kXAxis;
  AcGeVector3d y = xform * AcGeVector3d::kYAxis;
  if (std::fabs(x.z) > 1e-12 || std::fabs(y.z) > 1e-12) return Acad::eInvalidInput;
  bool mirrored = x.crossProduct(y).z < 0;
  for (Loop& loop : loops_) {
    for (AcGePoint2d& v : loop.vertices) {
      AcGePoint3d p = xform * AcGePoint3d(v.x, v.y, elevation_);
      v.set(p.x, p.y);
    }
    if (mirrored)
      for (double& b : loop.bulges) b = -b;
  }
  elevation_ = (xform * AcGePoint3d(0, 0, elevation_)).z;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getGeomExtents(AcDbExtents& extents) const {
  assertReadEnabled();
  AcDbExtents box;
  for (const Loop& loop : loops_)
    for (const AcGePoint2d& v : loop.vertices) box.addPoint(AcGePoint3d(v.x, v.y, elevation_));
  if (!box.isValid()) return Acad::eInvalidInput;
  extents = box;
  return Acad::eOk;
}
