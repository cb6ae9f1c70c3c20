// Block references: placement, the block transform, attributes and extents through the block.
#include <cmath>

#include <dbents.h>
#include <dbsymtb.h>
#include "platform/acad/block_nesting.h"
#include "platform/acad/dbstub.h"

using platform::acad::internal::InternalAccess;
using platform::acad::internal::Peek;
using platform::acad::internal::PeekAs;

ACRX_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, L"INSERT")
ACRX_DEFINE_MEMBERS(AcDbObjectIterator, AcRxObject, L"")
ACDB_DEFINE_COPYING(AcDbBlockReference)

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec)
    : block_(blockTableRec), position_(position) {}

AcDbBlockReference::~AcDbBlockReference() = default;

AcDbObjectId AcDbBlockReference::blockTableRecord() const {
  assertReadEnabled();
  return block_;
}
Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId blockTableRec) {
  assertWriteEnabled();
  if (PeekAs<AcDbBlockTableRecord>(blockTableRec) == nullptr) return Acad::eInvalidInput;
  block_ = blockTableRec;
  return Acad::eOk;
}
AcGePoint3d AcDbBlockReference::position() const {
  assertReadEnabled();
  return position_;
}
Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& pt) {
  assertWriteEnabled();
  // Attributes keep their place relative to the reference.
  AcGeVector3d move = pt - position_;
  position_ = pt;
  for (const AcDbObjectId& id : attributes_)
    if (auto* attr = PeekAs<AcDbAttribute>(id)) {
      InternalAccess access(attr, true);
      attr->setPosition(attr->position() + move);
      attr->setAlignmentPoint(attr->alignmentPoint() + move);
    }
  for (auto& attr : pending_) {
    attr->setPosition(attr->position() + move);
    attr->setAlignmentPoint(attr->alignmentPoint() + move);
  }
  return Acad::eOk;
}
AcGeScale3d AcDbBlockReference::scaleFactors() const {
  assertReadEnabled();
  return scale_;
}
Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& scale) {
  assertWriteEnabled();
  if (scale.sx == 0 || scale.sy == 0 || scale.sz == 0) return Acad::eInvalidInput;
  scale_ = scale;
  return Acad::eOk;
}
double AcDbBlockReference::rotation() const {
  assertReadEnabled();
  return rotation_;
}
Acad::ErrorStatus AcDbBlockReference::setRotation(double angle) {
  assertWriteEnabled();
  rotation_ = angle;
  return Acad::eOk;
}
AcGeVector3d AcDbBlockReference::normal() const {
  assertReadEnabled();
  return normal_;
}
Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& normal) {
  assertWriteEnabled();
  if (normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

namespace {

AcGePoint3d BlockOrigin(AcDbObjectId blockId) {
  auto* block = PeekAs<AcDbBlockTableRecord>(blockId);
  if (block == nullptr) return AcGePoint3d::kOrigin;
  InternalAccess access(block, false);
  return block->origin();
}

}  // namespace

AcGeMatrix3d AcDbBlockReference::blockTransform() const {
  assertReadEnabled();
  AcGeMatrix3d scale;
  scale_.getMatrix(scale);
  AcGeMatrix3d plane;
  AcGeVector3d x = normal_.perpVector().normal();
  AcGeVector3d y = normal_.crossProduct(x).normal();
  plane.setCoordSystem(AcGePoint3d::kOrigin, x, y, normal_);
  return AcGeMatrix3d::translation(position_.asVector()) * plane *
         AcGeMatrix3d::rotation(rotation_, AcGeVector3d::kZAxis) * scale *
         AcGeMatrix3d::translation(-BlockOrigin(block_).asVector());
}

Acad::ErrorStatus AcDbBlockReference::setBlockTransform(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  AcGeVector3d x = xform * AcGeVector3d::kXAxis;
  AcGeVector3d y = xform * AcGeVector3d::kYAxis;
  AcGeVector3d z = xform * AcGeVector3d::kZAxis;
  if (x.isZeroLength() || y.isZeroLength() || z.isZeroLength() || !x.isPerpendicularTo(y) ||
      !x.isPerpendicularTo(z) || !y.isPerpendicularTo(z))
    return Acad::eInvalidInput;
  double sz = z.length() * (x.crossProduct(y).dotProduct(z) < 0 ? -1 : 1);
  scale_ = AcGeScale3d(x.length(), y.length(), sz);
  rotation_ = std::atan2(x.y, x.x);
  if (rotation_ < 0) rotation_ += 2 * kPi;
  normal_ = AcGeVector3d::kZAxis;
  position_ = xform * BlockOrigin(block_);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbAttribute* pAttr) {
  AcDbObjectId id;
  return appendAttribute(id, pAttr);
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbObjectId& attId, AcDbAttribute* pAttr) {
  assertWriteEnabled();
  attId.setNull();
  if (pAttr == nullptr) return Acad::eNullObjectPointer;
  if (pAttr->database() != nullptr) return Acad::eAlreadyInDb;
  if (database() == nullptr) {
    pending_.emplace_back(pAttr);
    return Acad::eOk;
  }
  Acad::ErrorStatus es = database()->addAcDbObject(attId, pAttr);
  if (es != Acad::eOk) return es;
  pAttr->setOwnerId(objectId());
  if (pAttr->layerId().isNull()) pAttr->setLayer(layerId());
  if (pAttr->linetypeId().isNull()) pAttr->setLinetype(database()->byLayerLinetype());
  // Room for three from the first: the heap's smallest block holds three ids anyway, and a
  // reference with two or three attributes then grows its list once, not twice.
  if (attributes_.empty()) attributes_.reserve(3);
  attributes_.push_back(attId);
  return Acad::eOk;
}

void AcDbBlockReference::adoptPendingAttributes() {
  std::vector<std::unique_ptr<AcDbAttribute>> pending = std::move(pending_);
  pending_.clear();
  for (auto& attr : pending) {
    AcDbAttribute* raw = attr.release();
    AcDbObjectId id;
    if (appendAttribute(id, raw) == Acad::eOk) {
      raw->close();  // the caller never had it open
    } else {
      delete raw;
    }
  }
}

AcDbObjectIterator* AcDbBlockReference::attributeIterator() const {
  assertReadEnabled();
  return new AcDbObjectIterator(attributes_);
}

Acad::ErrorStatus AcDbBlockReference::setColorIndex(Adesk::UInt16 color, bool doSubents) {
  Acad::ErrorStatus es = AcDbEntity::setColorIndex(color, doSubents);
  if (es != Acad::eOk || !doSubents) return es;
  for (const AcDbObjectId& id : attributes_) {
    AcDbEntity* attr = nullptr;
    // Attributes that someone else has open keep their colour, as a failed open would.
    if (acdbOpenAcDbEntity(attr, id, AcDb::kForWrite) == Acad::eOk) {
      attr->setColorIndex(color, false);
      attr->close();
    }
  }
  for (auto& attr : pending_) attr->setColorIndex(color, false);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  Acad::ErrorStatus es = setBlockTransform(xform * blockTransform());
  if (es != Acad::eOk) return es;
  for (const AcDbObjectId& id : attributes_)
    if (auto* attr = PeekAs<AcDbAttribute>(id)) {
      InternalAccess access(attr, true);
      attr->transformBy(xform);
    }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::getGeomExtents(AcDbExtents& extents) const {
  assertReadEnabled();
  auto* block = PeekAs<AcDbBlockTableRecord>(block_);
  if (block == nullptr) return Acad::eInvalidInput;
  // A block that holds itself would be measured for ever: extents end at the nesting limit.
  static int nesting = 0;
  if (nesting >= platform::acad::kMaxBlockNesting) return Acad::eInvalidInput;
  struct Enter {
    Enter() { ++nesting; }
    ~Enter() { --nesting; }
  } enter;
  AcGeMatrix3d xform = blockTransform();
  AcDbExtents box;
  for (const AcDbObjectId& id : block->entityIds()) {
    auto* entity = PeekAs<AcDbEntity>(id);
    if (entity == nullptr || id.isErased() || AcDbAttributeDefinition::cast(entity)) continue;
    InternalAccess access(entity, false);
    AcDbExtents part;
    if (entity->getGeomExtents(part) == Acad::eOk) {
      part.transformBy(xform);
      box.addExt(part);
    }
  }
  for (const AcDbObjectId& id : attributes_) {
    auto* attr = PeekAs<AcDbAttribute>(id);
    if (attr == nullptr || id.isErased()) continue;
    InternalAccess access(attr, false);
    AcDbExtents part;
    if (attr->getGeomExtents(part) == Acad::eOk) box.addExt(part);
  }
  if (!box.isValid()) return Acad::eInvalidInput;
  extents = box;
  return Acad::eOk;
}

void AcDbObjectIterator::start(bool atEnd) {
  index_ = atEnd ? static_cast<int>(ids_.size()) - 1 : 0;
  skip(atEnd);
}

void AcDbObjectIterator::step(bool backwards, bool skipErased) {
  index_ += backwards ? -1 : 1;
  if (skipErased) skip(backwards);
}

void AcDbObjectIterator::skip(bool backwards) {
  while (!done() && ids_[index_].isErased()) index_ += backwards ? -1 : 1;
}

AcDbObjectId AcDbObjectIterator::objectId() const {
  return done() ? AcDbObjectId() : ids_[index_];
}
