// AcDbEntity: the common properties of entities (layer, colour, linetype, weight), and extents.
#include <algorithm>
#include <limits>

#include <acutads.h>
#include <dbcurve.h>
#include "platform/acad/dbstub.h"
#include <dbsymtb.h>

using platform::acad::internal::DatabaseFor;
using platform::acad::internal::PeekAs;

ACRX_DEFINE_MEMBERS(AcDbEntity, AcDbObject, L"")
ACRX_DEFINE_MEMBERS(AcDbCurve, AcDbEntity, L"")

namespace {

// The record of that name in a symbol table, or null.
AcDbObjectId FindRecord(AcDbObjectId tableId, const ACHAR* name) {
  auto* table = PeekAs<AcDbSymbolTable>(tableId);
  if (table == nullptr || name == nullptr) return AcDbObjectId();
  platform::acad::internal::InternalAccess access(table, false);
  AcDbObjectId id;
  table->getAt(name, id);
  return id;
}

ACHAR* RecordName(AcDbObjectId id) {
  auto* record = PeekAs<AcDbSymbolTableRecord>(id);
  return record ? acutNewString(record->name()) : nullptr;
}

}  // namespace

AcDbObjectId AcDbEntity::blockId() const {
  return ownerId();
}

ACHAR* AcDbEntity::layer() const {
  assertReadEnabled();
  return RecordName(layer_);
}

AcDbObjectId AcDbEntity::layerId() const {
  assertReadEnabled();
  return layer_;
}

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* newVal, bool, bool) {
  assertWriteEnabled();
  AcDbDatabase* db = DatabaseFor(this);
  if (db == nullptr) return Acad::eNotInDatabase;
  AcDbObjectId id = FindRecord(db->layerTableId(), newVal);
  if (id.isNull()) return Acad::eKeyNotFound;
  layer_ = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId newVal, bool, bool) {
  assertWriteEnabled();
  if (PeekAs<AcDbLayerTableRecord>(newVal) == nullptr) return Acad::eInvalidInput;
  layer_ = newVal;
  return Acad::eOk;
}

AcCmColor AcDbEntity::color() const {
  assertReadEnabled();
  return color_;
}

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, bool doSubents) {
  return setColorIndex(color.colorIndex(), doSubents);
}

Adesk::UInt16 AcDbEntity::colorIndex() const {
  assertReadEnabled();
  return color_.colorIndex();
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 color, bool) {
  assertWriteEnabled();
  return color_.setColorIndex(color) ? Acad::eOk : Acad::eInvalidInput;
}

ACHAR* AcDbEntity::linetype() const {
  assertReadEnabled();
  return RecordName(linetype_);
}

AcDbObjectId AcDbEntity::linetypeId() const {
  assertReadEnabled();
  return linetype_;
}

Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* newVal, bool) {
  assertWriteEnabled();
  AcDbDatabase* db = DatabaseFor(this);
  if (db == nullptr) return Acad::eNotInDatabase;
  AcDbObjectId id = FindRecord(db->linetypeTableId(), newVal);
  if (id.isNull()) return Acad::eKeyNotFound;
  linetype_ = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId newVal, bool) {
  assertWriteEnabled();
  if (PeekAs<AcDbLinetypeTableRecord>(newVal) == nullptr) return Acad::eInvalidInput;
  linetype_ = newVal;
  return Acad::eOk;
}

double AcDbEntity::linetypeScale() const {
  assertReadEnabled();
  return linetype_scale_;
}

Acad::ErrorStatus AcDbEntity::setLinetypeScale(double scale, bool) {
  assertWriteEnabled();
  if (scale <= 0) return Acad::eInvalidInput;
  linetype_scale_ = scale;
  return Acad::eOk;
}

AcDb::LineWeight AcDbEntity::lineWeight() const {
  assertReadEnabled();
  return line_weight_;
}

Acad::ErrorStatus AcDbEntity::setLineWeight(AcDb::LineWeight newVal, bool) {
  assertWriteEnabled();
  line_weight_ = newVal;
  return Acad::eOk;
}

AcDb::Visibility AcDbEntity::visibility() const {
  assertReadEnabled();
  return visibility_;
}

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility newVal, bool) {
  assertWriteEnabled();
  visibility_ = newVal;
  return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* pDb) {
  assertWriteEnabled();
  AcDbDatabase* db = pDb ? pDb : DatabaseFor(this);
  if (db == nullptr) return;
  layer_ = db->clayer();
  linetype_ = db->celtype();
  color_.setByLayer();
  line_weight_ = AcDb::kLnWtByLayer;
  linetype_scale_ = 1.0;
}

void AcDbEntity::copyEntityProperties(const AcDbEntity& from) {
  layer_ = from.layer_;
  linetype_ = from.linetype_;
  color_ = from.color_;
  linetype_scale_ = from.linetype_scale_;
  line_weight_ = from.line_weight_;
  visibility_ = from.visibility_;
}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) {
  assertWriteEnabled();
  return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents&) const {
  assertReadEnabled();
  return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::highlight() {
  assertReadEnabled();
  ++highlights_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::unhighlight() {
  assertReadEnabled();
  if (highlights_ > 0) --highlights_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getStartPoint(AcGePoint3d& point) const {
  double param;
  Acad::ErrorStatus es = getStartParam(param);
  return es == Acad::eOk ? getPointAtParam(param, point) : es;
}

Acad::ErrorStatus AcDbCurve::getEndPoint(AcGePoint3d& point) const {
  double param;
  Acad::ErrorStatus es = getEndParam(param);
  return es == Acad::eOk ? getPointAtParam(param, point) : es;
}

// ---- Extents ----

AcDbExtents::AcDbExtents()
    : min_(std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
           std::numeric_limits<double>::max()),
      max_(-std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
           -std::numeric_limits<double>::max()) {}

AcDbExtents::AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max) : AcDbExtents() {
  addPoint(min);
  addPoint(max);
}

Acad::ErrorStatus AcDbExtents::set(const AcGePoint3d& min, const AcGePoint3d& max) {
  if (min.x > max.x || min.y > max.y || min.z > max.z) return Acad::eInvalidInput;
  min_ = min;
  max_ = max;
  return Acad::eOk;
}

void AcDbExtents::addPoint(const AcGePoint3d& pt) {
  min_.set(std::min(min_.x, pt.x), std::min(min_.y, pt.y), std::min(min_.z, pt.z));
  max_.set(std::max(max_.x, pt.x), std::max(max_.y, pt.y), std::max(max_.z, pt.z));
}

void AcDbExtents::addExt(const AcDbExtents& other) {
  if (!other.isValid()) return;
  addPoint(other.min_);
  addPoint(other.max_);
}

void AcDbExtents::expandBy(const AcGeVector3d& vec) {
  if (!isValid()) return;
  addPoint(min_ + vec);
  addPoint(max_ + vec);
}

void AcDbExtents::transformBy(const AcGeMatrix3d& mat) {
  if (!isValid()) return;
  AcGePoint3d lo = min_, hi = max_;
  *this = AcDbExtents();
  for (int i = 0; i < 8; ++i) {
    AcGePoint3d corner(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z);
    addPoint(mat * corner);
  }
}
