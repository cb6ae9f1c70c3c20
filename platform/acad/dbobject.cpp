// AcDbObject: identity, the open and close rules, erasing and persistent reactors.
#include <cstdio>
#include <cstdlib>
#include <utility>

#include <acutads.h>
#include <dbents.h>
#include "platform/acad/dbstub.h"
#include "platform/acad/kept_groups.h"
#include "platform/acad/undo_history.h"
#include "platform/win/text_encoding.h"

using platform::acad::internal::DieMisuse;
using platform::acad::internal::RecordUndoOfChange;

ACRX_DEFINE_MEMBERS(AcDbObject, AcRxObject, L"")

namespace platform::acad::internal {

void DieMisuse(const AcDbObject* object, const char* what) {
  unsigned long long handle = object->stub() ? object->stub()->handle.value() : 0;
  std::fprintf(stderr, "fatal: %s: %ls %llX\n", what, object->isA()->name(), handle);
  std::fflush(stderr);
  std::abort();
}

AcDbObject* Peek(AcDbObjectId id) {
  AcDbStub* stub = id.stub();
  return stub ? stub->object.get() : nullptr;
}

}  // namespace platform::acad::internal

AcDbObject::AcDbObject() = default;

namespace {

// A copy of a packed XData block (its length first, then its bytes), or null for none.
char* CopyPackedXData(const char* block) {
  if (block == nullptr) return nullptr;
  uint32_t n;
  std::memcpy(&n, block, sizeof n);
  char* copy = new char[sizeof n + n];
  std::memcpy(copy, block, sizeof n + n);
  return copy;
}

}  // namespace

AcDbObject::AcDbObject(const AcDbObject& other)
    : AcGiDrawable(), reactors_(other.reactors_), xdata_(CopyPackedXData(other.xdata_)) {}

AcDbObject& AcDbObject::operator=(const AcDbObject& other) {
  if (this == &other) return *this;
  reactors_ = other.reactors_;
  char* copy = CopyPackedXData(other.xdata_);
  delete[] xdata_;
  xdata_ = copy;
  return *this;
}

AcDbObject::~AcDbObject() {
  delete[] xdata_;
  platform::acad::ForgetKept(this);
}

AcDbObjectId AcDbObject::objectId() const {
  return AcDbObjectId(stub_);
}

AcDbObjectId AcDbObject::ownerId() const {
  return stub_ ? stub_->owner : AcDbObjectId();
}

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId ownerId) {
  if (stub_ == nullptr) return Acad::eNotInDatabase;
  assertWriteEnabled();
  stub_->owner = ownerId;
  return Acad::eOk;
}

void AcDbObject::getAcDbHandle(AcDbHandle& handle) const {
  handle = stub_ ? stub_->handle : AcDbHandle();
}

AcDbDatabase* AcDbObject::database() const {
  return stub_ ? stub_->database : nullptr;
}

Acad::ErrorStatus AcDbObject::close() {
  if (stub_ == nullptr) return Acad::eOk;  // not in a database: nothing is open
  if (stub_->isOpen()) --stub_->database->impl().opens;
  if (stub_->writer) {
    stub_->writer = false;
    if (std::exchange(stub_->modified, false)) {
      // Listeners may read the object while they are told, as in a notify open.
      ++stub_->notifiers;
      stub_->database->notifyModified(this);
      --stub_->notifiers;
    }
  } else if (stub_->readers > 0) {
    --stub_->readers;
  } else if (stub_->notifiers > 0) {
    --stub_->notifiers;
  } else {
    DieMisuse(this, "close of an object that is not open");
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
  assertWriteEnabled();
  if (stub_ == nullptr) return Acad::eNotInDatabase;
  if (erasing && stub_->erased) return Acad::eWasErased;
  if (!erasing && !stub_->erased) return Acad::eInvalidInput;
  stub_->erased = erasing;
  // Attributes belong to their reference and go (and come back) with it.
  if (auto* ref = AcDbBlockReference::cast(this)) {
    for (const AcDbObjectId& id : ref->attributeIds()) {
      if (AcDbStub* attr = id.stub()) {
        RecordUndoOfChange(attr);
        attr->erased = erasing;
      }
    }
  }
  stub_->database->notifyErased(this, erasing);
  return Acad::eOk;
}

bool AcDbObject::isErased() const {
  assertReadEnabled();
  return stub_ && stub_->erased;
}

bool AcDbObject::isReadEnabled() const {
  return stub_ == nullptr || stub_->isOpen();
}

bool AcDbObject::isWriteEnabled() const {
  return stub_ == nullptr || stub_->writer;
}

bool AcDbObject::isNotifyEnabled() const {
  return stub_ && stub_->notifiers > 0;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
  if (stub_ == nullptr || stub_->writer) return Acad::eOk;
  if (stub_->readers == 0) DieMisuse(this, "upgradeOpen of an object that is not open");
  if (stub_->readers > 1) return Acad::eHadMultipleReaders;
  stub_->readers = 0;
  stub_->writer = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
  if (stub_ == nullptr) return Acad::eOk;
  if (!stub_->writer) return Acad::eNotOpenForWrite;
  stub_->writer = false;
  stub_->readers = 1;
  return Acad::eOk;
}

void AcDbObject::assertReadEnabled() const {
  if (!isReadEnabled()) DieMisuse(this, "use of a closed object");
}

void AcDbObject::assertWriteEnabled(bool autoUndo, bool recordModified) {
  if (isWriteEnabled()) {
    if (stub_ != nullptr) {
      if (recordModified) stub_->modified = true;
      // The state before the change, the first time in an undo step (as the undo filer does).
      if (autoUndo && (!stub_->undo_recorded || stub_->undo_xdata_only)) RecordUndoOfChange(stub_);
    }
    return;
  }
  DieMisuse(this,
            stub_->isOpen() ? "change of an object not open for write" : "use of a closed object");
}

void AcDbObject::addPersistentReactor(AcDbObjectId objId) {
  // Reactors are bookkeeping of the database: groups add themselves to members that callers
  // may have open for read, so no write open is asked for here.
  if (objId.isNull() || hasPersistentReactor(objId)) return;
  RecordUndoOfChange(stub_);
  reactors_.push_back(objId);
}

Acad::ErrorStatus AcDbObject::removePersistentReactor(AcDbObjectId objId) {
  for (auto it = reactors_.begin(); it != reactors_.end(); ++it) {
    if (*it == objId) {
      RecordUndoOfChange(stub_);
      reactors_.erase(it);
      return Acad::eOk;
    }
  }
  return Acad::eKeyNotFound;
}

bool AcDbObject::hasPersistentReactor(AcDbObjectId objId) const {
  for (const AcDbObjectId& id : reactors_)
    if (id == objId) return true;
  return false;
}

AcDbObjectIdArray AcDbObject::getPersistentReactorIds() const {
  AcDbObjectIdArray ids;
  for (const AcDbObjectId& id : reactors_) ids.append(id);
  return ids;
}

// ---- Opening by id ----

Acad::ErrorStatus acdbOpenObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased) {
  pObj = nullptr;
  if (id.isNull()) return Acad::eNullObjectId;
  AcDbStub* stub = id.stub();
  if (stub->object == nullptr) return stub->purged ? Acad::eWasErased : Acad::eNotInDatabase;
  Acad::ErrorStatus fault;
  if (platform::acad::internal::TakeOpenFault(id, &fault)) return fault;
  if (stub->erased && !openErased) return Acad::eWasErased;
  switch (mode) {
    case AcDb::kForRead:
      if (stub->writer) return Acad::eWasOpenedForWrite;
      ++stub->readers;
      break;
    case AcDb::kForWrite:
      if (stub->writer) return Acad::eWasOpenedForWrite;
      if (stub->readers > 0) return Acad::eWasOpenedForRead;
      stub->writer = true;
      break;
    case AcDb::kForNotify:
      ++stub->notifiers;
      break;
  }
  ++stub->database->impl().opens;
  pObj = stub->object.get();
  return Acad::eOk;
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
  return acdbOpenObject(pObj, id, mode, openErased);
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& pEnt, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
  return acdbOpenObject<AcDbEntity>(pEnt, id, mode, openErased);
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName) {
  objId = AcDbObjectId(reinterpret_cast<AcDbStub*>(objName[0]));
  return objId.isNull() ? Acad::eNullObjectId : Acad::eOk;
}

Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId) {
  objName[0] = reinterpret_cast<int64_t>(objId.stub());
  objName[1] = 0;
  return objId.isNull() ? Acad::eNullObjectId : Acad::eOk;
}
