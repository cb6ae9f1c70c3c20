// The host's view of the database: left-open objects, all objects, purging, and the fault seam.
#include "platform/acad/dbhost.h"

#include <algorithm>
#include <optional>

#include <dbdict.h>
#include <dbents.h>
#include "platform/acad/dbstub.h"
#include <dbsymtb.h>

namespace platform::acad {
namespace {

struct Faults {
  std::optional<Acad::ErrorStatus> lock, unlock, set_xdata, open;
  AcDbObjectId open_only;
};

Faults& TheFaults() {
  static Faults faults;
  return faults;
}

bool Take(std::optional<Acad::ErrorStatus>& slot, Acad::ErrorStatus* status) {
  if (!slot) return false;
  *status = *slot;
  slot.reset();
  return true;
}

std::wstring HandleText(AcDbHandle handle) {
  ACHAR buffer[20];
  handle.getIntoAsciiBuffer(buffer, 20);
  return buffer;
}

template <class T>
void DropErased(std::vector<T>& ids) {
  ids.erase(std::remove_if(ids.begin(), ids.end(),
                           [](const AcDbObjectId& id) {
                             AcDbStub* stub = id.stub();
                             return stub && stub->erased && !stub->isOpen();
                           }),
            ids.end());
}

}  // namespace

namespace internal {
bool TakeOpenFault(AcDbObjectId id, Acad::ErrorStatus* status) {
  Faults& f = TheFaults();
  if (!f.open || (!f.open_only.isNull() && f.open_only != id)) return false;
  f.open_only.setNull();
  return Take(f.open, status);
}
bool TakeSetXDataFault(Acad::ErrorStatus* status) {
  return Take(TheFaults().set_xdata, status);
}
bool TakeLockFault(Acad::ErrorStatus* status) {
  return Take(TheFaults().lock, status);
}
bool TakeUnlockFault(Acad::ErrorStatus* status) {
  return Take(TheFaults().unlock, status);
}
}  // namespace internal

void FailNextLock(Acad::ErrorStatus status) {
  TheFaults().lock = status;
}
void FailNextUnlock(Acad::ErrorStatus status) {
  TheFaults().unlock = status;
}
void FailNextOpen(Acad::ErrorStatus status, AcDbObjectId onlyId) {
  TheFaults().open = status;
  TheFaults().open_only = onlyId;
}
void FailNextSetXData(Acad::ErrorStatus status) {
  TheFaults().set_xdata = status;
}
void ClearFaults() {
  TheFaults() = Faults();
}

Adesk::UInt64 SeededObjectCount(const AcDbDatabase& db) {
  return db.impl().seeded;
}

int OpenCount(const AcDbDatabase& db) {
  return db.impl().opens;
}

std::vector<OpenObjectInfo> OpenObjects(const AcDbDatabase& db) {
  std::vector<OpenObjectInfo> open;
  if (db.impl().opens == 0) return open;
  for (const AcDbStub* stub : db.impl().InHandleOrder()) {
    if (!stub->isOpen() || stub->object == nullptr) continue;
    OpenObjectInfo info;
    info.class_name = stub->object->isA()->name();
    info.handle = HandleText(stub->handle);
    info.mode = stub->writer ? L"write" : stub->readers > 0 ? L"read" : L"notify";
    info.read_count = stub->readers;
    open.push_back(std::move(info));
  }
  return open;
}

std::wstring DescribeOpenObjects(const AcDbDatabase& db) {
  std::wstring text;
  for (const OpenObjectInfo& info : OpenObjects(db)) {
    if (!text.empty()) text += L"\n";
    text += info.class_name + L" " + info.handle + L" " + info.mode;
  }
  return text;
}

std::vector<AcDbObjectId> AllObjectIds(const AcDbDatabase& db) {
  std::vector<AcDbObjectId> ids;
  for (AcDbStub* stub : db.impl().InHandleOrder())
    if (stub->object != nullptr) ids.push_back(AcDbObjectId(stub));
  return ids;
}

int PurgeErasedObjects(AcDbDatabase& db) {
  // First drop the references that owners and groups keep, then the objects themselves; the
  // records stay so that old ids still answer isErased().
  for (AcDbStub& stub : db.impl().stubs) {
    AcDbObject* object = stub.object.get();
    if (object == nullptr) continue;
    if (auto* block = AcDbBlockTableRecord::cast(object)) {
      DropErased(const_cast<std::vector<AcDbObjectId>&>(block->entityIds()));
    } else if (auto* table = AcDbSymbolTable::cast(object)) {
      DropErased(const_cast<std::vector<AcDbObjectId>&>(table->recordIds()));
    } else if (auto* ref = AcDbBlockReference::cast(object)) {
      DropErased(const_cast<std::vector<AcDbObjectId>&>(ref->attributeIds()));
    }
  }
  int dropped = 0;
  for (AcDbStub& stub : db.impl().stubs) {
    if (stub.object == nullptr || !stub.erased || stub.isOpen()) continue;
    stub.object.reset();
    stub.cls = nullptr;
    stub.purged = true;
    ++dropped;
  }
  return dropped;
}

Acad::ErrorStatus AddObjectWithHandle(AcDbDatabase& db, AcDbObject* pObj, AcDbHandle handle,
                                      AcDbObjectId* id) {
  if (id != nullptr) id->setNull();
  if (pObj == nullptr) return Acad::eNullObjectPointer;
  if (handle.isNull()) return Acad::eNullHandle;
  if (pObj->stub() != nullptr) return Acad::eAlreadyInDb;
  AcDbStub* stub = db.stubFor(handle, true);
  Acad::ErrorStatus es = db.adoptObject(stub, pObj);
  if (es == Acad::eOk && id != nullptr) *id = AcDbObjectId(stub);
  return es;
}

void PrefetchObject(AcDbObjectId id) {
  const AcDbStub* stub = id.stub();
  if (stub != nullptr && stub->object != nullptr) __builtin_prefetch(stub->object.get());
}

}  // namespace platform::acad
