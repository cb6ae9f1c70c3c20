// Symbol tables and records: lookup by name, adding records, iteration, and block contents.
#include <dbsymtb.h>

#include <acutads.h>
#include <dbents.h>
#include "platform/acad/dbstub.h"

using platform::acad::internal::PeekAs;
using platform::acad::internal::SameName;

ACRX_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject, L"")
ACRX_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord, L"BLOCK_RECORD")
ACRX_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbSymbolTableRecord, L"LAYER")
ACRX_DEFINE_MEMBERS(AcDbTextStyleTableRecord, AcDbSymbolTableRecord, L"STYLE")
ACRX_DEFINE_MEMBERS(AcDbRegAppTableRecord, AcDbSymbolTableRecord, L"APPID")
ACRX_DEFINE_MEMBERS(AcDbLinetypeTableRecord, AcDbSymbolTableRecord, L"LTYPE")
ACRX_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbLayerTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbTextStyleTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbRegAppTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbLinetypeTable, AcDbSymbolTable, L"TABLE")
ACDB_DEFINE_COPYING(AcDbBlockTableRecord)
ACDB_DEFINE_COPYING(AcDbLayerTableRecord)
ACDB_DEFINE_COPYING(AcDbTextStyleTableRecord)
ACDB_DEFINE_COPYING(AcDbRegAppTableRecord)
ACDB_DEFINE_COPYING(AcDbLinetypeTableRecord)
ACDB_DEFINE_COPYING(AcDbBlockTable)
ACDB_DEFINE_COPYING(AcDbLayerTable)
ACDB_DEFINE_COPYING(AcDbTextStyleTable)
ACDB_DEFINE_COPYING(AcDbRegAppTable)
ACDB_DEFINE_COPYING(AcDbLinetypeTable)

// ---- Records ----

Acad::ErrorStatus AcDbSymbolTableRecord::getName(ACHAR*& pName) const {
  assertReadEnabled();
  pName = acutNewString(name_.c_str());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const ACHAR*& pName) const {
  assertReadEnabled();
  pName = name_.c_str();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* pName) {
  assertWriteEnabled();
  if (pName == nullptr || *pName == 0) return Acad::eInvalidInput;
  if (auto* table = PeekAs<AcDbSymbolTable>(ownerId())) {
    platform::acad::internal::InternalAccess access(table, false);
    AcDbObjectId other;
    if (table->getAt(pName, other) == Acad::eOk && other != objectId()) return Acad::eDuplicateKey;
  }
  name_ = pName;
  return Acad::eOk;
}

AcCmColor AcDbLayerTableRecord::color() const {
  assertReadEnabled();
  return color_;
}
void AcDbLayerTableRecord::setColor(const AcCmColor& color) {
  assertWriteEnabled();
  color_ = color;
}
bool AcDbLayerTableRecord::isOff() const {
  assertReadEnabled();
  return off_;
}
void AcDbLayerTableRecord::setIsOff(bool off) {
  assertWriteEnabled();
  off_ = off;
}
bool AcDbLayerTableRecord::isFrozen() const {
  assertReadEnabled();
  return frozen_;
}
Acad::ErrorStatus AcDbLayerTableRecord::setIsFrozen(bool frozen) {
  assertWriteEnabled();
  frozen_ = frozen;
  return Acad::eOk;
}
bool AcDbLayerTableRecord::isLocked() const {
  assertReadEnabled();
  return locked_;
}
void AcDbLayerTableRecord::setIsLocked(bool locked) {
  assertWriteEnabled();
  locked_ = locked;
}
AcDbObjectId AcDbLayerTableRecord::linetypeObjectId() const {
  assertReadEnabled();
  return linetype_;
}
void AcDbLayerTableRecord::setLinetypeObjectId(AcDbObjectId id) {
  assertWriteEnabled();
  linetype_ = id;
}
AcDb::LineWeight AcDbLayerTableRecord::lineWeight() const {
  assertReadEnabled();
  return weight_;
}
Acad::ErrorStatus AcDbLayerTableRecord::setLineWeight(AcDb::LineWeight weight) {
  assertWriteEnabled();
  weight_ = weight;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::fileName(const ACHAR*& fileName) const {
  assertReadEnabled();
  fileName = file_name_.c_str();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setFileName(const ACHAR* fileName) {
  assertWriteEnabled();
  file_name_ = fileName ? fileName : L"";
  return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::bigFontFileName(const ACHAR*& fileName) const {
  assertReadEnabled();
  fileName = big_font_.c_str();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setBigFontFileName(const ACHAR* fileName) {
  assertWriteEnabled();
  big_font_ = fileName ? fileName : L"";
  return Acad::eOk;
}
double AcDbTextStyleTableRecord::textSize() const {
  assertReadEnabled();
  return size_;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setTextSize(double size) {
  assertWriteEnabled();
  if (size < 0) return Acad::eInvalidInput;
  size_ = size;
  return Acad::eOk;
}
double AcDbTextStyleTableRecord::xScale() const {
  assertReadEnabled();
  return x_scale_;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setXScale(double scale) {
  assertWriteEnabled();
  if (scale <= 0) return Acad::eInvalidInput;
  x_scale_ = scale;
  return Acad::eOk;
}
double AcDbTextStyleTableRecord::obliquingAngle() const {
  assertReadEnabled();
  return oblique_;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setObliquingAngle(double angle) {
  assertWriteEnabled();
  oblique_ = angle;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::comments(const ACHAR*& text) const {
  assertReadEnabled();
  text = comments_.c_str();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLinetypeTableRecord::setComments(const ACHAR* text) {
  assertWriteEnabled();
  comments_ = text ? text : L"";
  return Acad::eOk;
}

// ---- Tables ----

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* entryName, AcDbObjectId& recordId,
                                         bool getErasedRecord) const {
  assertReadEnabled();
  recordId.setNull();
  for (const AcDbObjectId& id : records_) {
    auto* record = PeekAs<AcDbSymbolTableRecord>(id);
    if (record == nullptr || (id.isErased() && !getErasedRecord)) continue;
    if (SameName(record->name(), entryName)) {
      recordId = id;
      return Acad::eOk;
    }
  }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* entryName, AcDbSymbolTableRecord*& pRec,
                                         AcDb::OpenMode openMode, bool openErasedRec) const {
  pRec = nullptr;
  AcDbObjectId id;
  Acad::ErrorStatus es = getAt(entryName, id, openErasedRec);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(pRec, id, openMode, openErasedRec);
}

bool AcDbSymbolTable::has(const ACHAR* name) const {
  AcDbObjectId id;
  return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const {
  assertReadEnabled();
  for (const AcDbObjectId& r : records_)
    if (r == id && !id.isErased()) return true;
  return false;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* pRecord) {
  AcDbObjectId id;
  return add(id, pRecord);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord) {
  assertWriteEnabled();
  recordId.setNull();
  if (pRecord == nullptr) return Acad::eNullObjectPointer;
  if (database() == nullptr) return Acad::eNotInDatabase;
  if (pRecord->database() != nullptr) return Acad::eAlreadyInDb;
  if (pRecord->name()[0] == 0) return Acad::eInvalidInput;
  if (has(pRecord->name())) return Acad::eDuplicateKey;
  Acad::ErrorStatus es = database()->addAcDbObject(recordId, pRecord);
  if (es != Acad::eOk) return es;
  pRecord->setOwnerId(objectId());
  records_.push_back(recordId);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& pIterator,
                                               bool atBeginning, bool skipDeleted) const {
  assertReadEnabled();
  pIterator = new AcDbSymbolTableIterator(records_);
  pIterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted) {
  index_ = atBeginning ? 0 : static_cast<int>(ids_.size()) - 1;
  skip(atBeginning, skipDeleted);
}

void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted) {
  index_ += forward ? 1 : -1;
  skip(forward, skipDeleted);
}

void AcDbSymbolTableIterator::skip(bool forward, bool skipDeleted) {
  while (skipDeleted && !done() && ids_[index_].isErased()) index_ += forward ? 1 : -1;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
  if (done()) return Acad::eNullIterator;
  id = ids_[index_];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& pRecord,
                                                     AcDb::OpenMode mode, bool openErased) const {
  pRecord = nullptr;
  if (done()) return Acad::eNullIterator;
  return acdbOpenObject(pRecord, ids_[index_], mode, openErased);
}

#define HARNEX_DEFINE_SYMBOL_TABLE(TABLE, RECORD, ITERATOR)                                      \
  Acad::ErrorStatus TABLE::getAt(const ACHAR* entryName, RECORD*& pRec, AcDb::OpenMode mode,     \
                                 bool openErasedRec) const {                                     \
    pRec = nullptr;                                                                              \
    AcDbObjectId id;                                                                             \
    Acad::ErrorStatus es = getAt(entryName, id, openErasedRec);                                  \
    return es != Acad::eOk ? es : acdbOpenObject(pRec, id, mode, openErasedRec);                 \
  }                                                                                              \
  Acad::ErrorStatus TABLE::newIterator(ITERATOR*& pIterator, bool atBeginning, bool skipDeleted) \
      const {                                                                                    \
    assertReadEnabled();                                                                         \
    pIterator = new ITERATOR(recordIds());                                                       \
    pIterator->start(atBeginning, skipDeleted);                                                  \
    return Acad::eOk;                                                                            \
  }                                                                                              \
  Acad::ErrorStatus ITERATOR::getRecord(RECORD*& pRecord, AcDb::OpenMode mode, bool openErased)  \
      const {                                                                                    \
    pRecord = nullptr;                                                                           \
    if (done()) return Acad::eNullIterator;                                                      \
    return acdbOpenObject(pRecord, ids_[index_], mode, openErased);                              \
  }

HARNEX_DEFINE_SYMBOL_TABLE(AcDbBlockTable, AcDbBlockTableRecord, AcDbBlockTableIterator)
HARNEX_DEFINE_SYMBOL_TABLE(AcDbLayerTable, AcDbLayerTableRecord, AcDbLayerTableIterator)
HARNEX_DEFINE_SYMBOL_TABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, AcDbTextStyleTableIterator)
HARNEX_DEFINE_SYMBOL_TABLE(AcDbRegAppTable, AcDbRegAppTableRecord, AcDbRegAppTableIterator)
HARNEX_DEFINE_SYMBOL_TABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, AcDbLinetypeTableIterator)

// ---- Block table records ----

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* pEntity) {
  AcDbObjectId id;
  return appendAcDbEntity(id, pEntity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& pOutputId,
                                                         AcDbEntity* pEntity) {
  // Undo records the new entity, and taking it back takes it out of this list: a block of
  // many entities is not copied for each one appended.
  assertWriteEnabled(/*autoUndo=*/false);
  pOutputId.setNull();
  if (pEntity == nullptr) return Acad::eNullEntityPointer;
  AcDbDatabase* db = database();
  if (db == nullptr) return Acad::eNotInDatabase;
  if (pEntity->database() != nullptr) return Acad::eAlreadyInDb;
  Acad::ErrorStatus es = db->addAcDbObject(pOutputId, pEntity);
  if (es != Acad::eOk) return es;
  pEntity->setOwnerId(objectId());
  // An entity that never had its properties set gets those of a new AutoCAD entity.
  if (pEntity->layerId().isNull()) pEntity->setLayer(L"0");
  if (pEntity->linetypeId().isNull()) pEntity->setLinetype(db->byLayerLinetype());
  entities_.push_back(pOutputId);
  if (auto* ref = AcDbBlockReference::cast(pEntity)) ref->adoptPendingAttributes();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& pIterator,
                                                    bool atBeginning, bool skipDeleted) const {
  assertReadEnabled();
  pIterator = new AcDbBlockTableRecordIterator(entities_);
  pIterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

AcGePoint3d AcDbBlockTableRecord::origin() const {
  assertReadEnabled();
  return origin_;
}

Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& pt) {
  assertWriteEnabled();
  origin_ = pt;
  return Acad::eOk;
}

bool AcDbBlockTableRecord::hasAttributeDefinitions() const {
  assertReadEnabled();
  for (const AcDbObjectId& id : entities_)
    if (!id.isErased() && PeekAs<AcDbAttributeDefinition>(id) != nullptr) return true;
  return false;
}

bool AcDbBlockTableRecord::isLayout() const {
  assertReadEnabled();
  return SameName(name(), ACDB_MODEL_SPACE) || SameName(name(), ACDB_PAPER_SPACE);
}

bool AcDbBlockTableRecord::isAnonymous() const {
  assertReadEnabled();
  return name()[0] == L'*' && !isLayout();
}

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted) {
  index_ = atBeginning ? 0 : static_cast<int>(ids_.size()) - 1;
  skip(atBeginning, skipDeleted);
}

void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted) {
  index_ += forward ? 1 : -1;
  skip(forward, skipDeleted);
}

void AcDbBlockTableRecordIterator::skip(bool forward, bool skipDeleted) {
  while (skipDeleted && !done() && ids_[index_].isErased()) index_ += forward ? 1 : -1;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& entityId) const {
  if (done()) return Acad::eNullIterator;
  entityId = ids_[index_];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& pEntity,
                                                          AcDb::OpenMode openMode,
                                                          bool openErasedEntity) const {
  pEntity = nullptr;
  if (done()) return Acad::eNullIterator;
  return acdbOpenAcDbEntity(pEntity, ids_[index_], openMode, openErasedEntity);
}
