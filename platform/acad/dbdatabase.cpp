// AcDbDatabase: the table of objects by handle, the default drawing and the header variables.

#include <algorithm>
#include <memory>
#include <new>

#include <acutads.h>
#include <dbapserv.h>
#include <dbdict.h>
#include "platform/acad/dbhost.h"
#include "platform/acad/dbstub.h"
#include "platform/acad/kept_groups.h"
#include "platform/acad/undo_history.h"
#include <dbsymtb.h>
#include "platform/win/wide_string.h"

ACRX_DEFINE_MEMBERS(AcDbDatabase, AcRxObject, L"")
ACRX_DEFINE_MEMBERS(AcDbDatabaseReactor, AcRxObject, L"")

void AcDbDatabaseReactor::objectAppended(const AcDbDatabase*, const AcDbObject*) {}
void AcDbDatabaseReactor::objectModified(const AcDbDatabase*, const AcDbObject*) {}
void AcDbDatabaseReactor::objectErased(const AcDbDatabase*, const AcDbObject*, Adesk::Boolean) {}
void AcDbDatabaseReactor::goodbye(const AcDbDatabase*) {}

namespace platform::acad::internal {

bool SameName(const ACHAR* a, const ACHAR* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return platform::EqualsNoCase(a, b);
}

double TextAdvanceUnits(const ACHAR* text) {
  double units = 0;
  for (const ACHAR* p = text; p != nullptr && *p != 0; ++p)
    units += platform::IsFullWidthChar(static_cast<char32_t>(*p)) ? 2 : 1;
  return units;
}

AcDbDatabase* DatabaseFor(const AcDbObject* object) {
  AcDbDatabase* db = object ? object->database() : nullptr;
  return db ? db : acdbHostApplicationServices()->workingDatabase();
}

}  // namespace platform::acad::internal

namespace {

// Opens a table of the database in the caller's mode, as a T.
template <class T>
Acad::ErrorStatus OpenAs(T*& out, AcDbObjectId id, AcDb::OpenMode mode) {
  return acdbOpenObject<T>(out, id, mode);
}

template <class Record>
AcDbObjectId AddRecord(AcDbObjectId tableId, const ACHAR* name, Record* record) {
  record->setName(name);
  AcDbSymbolTable* table = nullptr;
  AcDbObjectId id;
  if (acdbOpenObject<AcDbSymbolTable>(table, tableId, AcDb::kForWrite) == Acad::eOk) {
    if (table->add(id, record) == Acad::eOk) record->close();
    table->close();
  }
  return id;
}

}  // namespace

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing, bool) : impl_(std::make_unique<Impl>()) {
  if (!buildDefaultDrawing) return;
  auto add_root = [this](AcDbObject* object) {
    AcDbObjectId id;
    addAcDbObject(id, object);
    object->close();
    return id;
  };
  block_table_ = add_root(new AcDbBlockTable);
  layer_table_ = add_root(new AcDbLayerTable);
  text_style_table_ = add_root(new AcDbTextStyleTable);
  linetype_table_ = add_root(new AcDbLinetypeTable);
  regapp_table_ = add_root(new AcDbRegAppTable);
  named_objects_ = add_root(new AcDbDictionary);

  AcDbDictionary* nod = nullptr;
  if (acdbOpenObject<AcDbDictionary>(nod, named_objects_, AcDb::kForWrite) == Acad::eOk) {
    AcDbDictionary* groups = new AcDbDictionary;
    if (nod->setAt(ACDB_GROUP_DICTIONARY, groups, group_dictionary_) == Acad::eOk) groups->close();
    nod->close();
  }

  by_block_ = AddRecord(linetype_table_, L"ByBlock", new AcDbLinetypeTableRecord);
  by_layer_ = AddRecord(linetype_table_, L"ByLayer", new AcDbLinetypeTableRecord);
  auto* continuous = new AcDbLinetypeTableRecord;
  continuous->setComments(L"Solid line");
  continuous_ = AddRecord(linetype_table_, L"Continuous", continuous);

  auto* layer0 = new AcDbLayerTableRecord;
  layer0->setLinetypeObjectId(continuous_);
  clayer_ = AddRecord(layer_table_, L"0", layer0);
  textstyle_ = AddRecord(text_style_table_, L"Standard", new AcDbTextStyleTableRecord);
  AddRecord(regapp_table_, L"ACAD", new AcDbRegAppTableRecord);
  model_space_ = AddRecord(block_table_, ACDB_MODEL_SPACE, new AcDbBlockTableRecord);
  paper_space_ = AddRecord(block_table_, ACDB_PAPER_SPACE, new AcDbBlockTableRecord);
}

namespace {

// Calls `tell` on each listener, skipping one that an earlier listener removed meanwhile.
template <class Tell>
void TellReactors(const std::vector<AcDbDatabaseReactor*>& reactors, Tell tell) {
  if (reactors.empty()) return;
  if (reactors.size() == 1) {  // the usual case, told without a copy of the list
    tell(reactors.front());
    return;
  }
  const std::vector<AcDbDatabaseReactor*> now = reactors;
  for (AcDbDatabaseReactor* reactor : now) {
    if (std::find(reactors.begin(), reactors.end(), reactor) != reactors.end()) tell(reactor);
  }
}

}  // namespace

void AcDbDatabase::addReactor(AcDbDatabaseReactor* pReactor) const {
  auto& reactors = impl_->reactors;
  if (pReactor == nullptr ||
      std::find(reactors.begin(), reactors.end(), pReactor) != reactors.end())
    return;
  reactors.push_back(pReactor);
}

Acad::ErrorStatus AcDbDatabase::removeReactor(AcDbDatabaseReactor* pReactor) const {
  auto& reactors = impl_->reactors;
  auto it = std::find(reactors.begin(), reactors.end(), pReactor);
  if (it == reactors.end()) return Acad::eKeyNotFound;
  reactors.erase(it);
  return Acad::eOk;
}

void AcDbDatabase::notifyAppended(const AcDbObject* object) const {
  TellReactors(impl_->reactors, [&](AcDbDatabaseReactor* r) { r->objectAppended(this, object); });
}

void AcDbDatabase::notifyModified(const AcDbObject* object) const {
  TellReactors(impl_->reactors, [&](AcDbDatabaseReactor* r) { r->objectModified(this, object); });
}

void AcDbDatabase::notifyErased(const AcDbObject* object, bool erased) const {
  TellReactors(impl_->reactors,
               [&](AcDbDatabaseReactor* r) { r->objectErased(this, object, erased); });
}

AcDbDatabase::~AcDbDatabase() {
  platform::acad::ForgetKept(this);
  TellReactors(impl_->reactors, [&](AcDbDatabaseReactor* r) { r->goodbye(this); });
  impl_->reactors.clear();
  if (acdbHostApplicationServices()->workingDatabase() == this)
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode) {
  return OpenAs(pTable, block_table_, mode);
}
Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& pTable, AcDb::OpenMode mode) {
  return OpenAs(pTable, layer_table_, mode);
}
Acad::ErrorStatus AcDbDatabase::getTextStyleTable(AcDbTextStyleTable*& pTable,
                                                  AcDb::OpenMode mode) {
  return OpenAs(pTable, text_style_table_, mode);
}
Acad::ErrorStatus AcDbDatabase::getRegAppTable(AcDbRegAppTable*& pTable, AcDb::OpenMode mode) {
  return OpenAs(pTable, regapp_table_, mode);
}
Acad::ErrorStatus AcDbDatabase::getLinetypeTable(AcDbLinetypeTable*& pTable, AcDb::OpenMode mode) {
  return OpenAs(pTable, linetype_table_, mode);
}
Acad::ErrorStatus AcDbDatabase::getGroupDictionary(AcDbDictionary*& pDict, AcDb::OpenMode mode) {
  return OpenAs(pDict, group_dictionary_, mode);
}
Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& pDict,
                                                          AcDb::OpenMode mode) {
  return OpenAs(pDict, named_objects_, mode);
}

namespace platform::acad::internal {

StubList::~StubList() {
  // In the order made, as the objects went in.
  for (size_t b = 0; b < blocks_.size(); ++b) {
    const size_t n = b + 1 < blocks_.size() ? blocks_[b].second : used_;
    for (size_t i = 0; i < n; ++i) blocks_[b].first[i].~AcDbStub();
    std::allocator<AcDbStub>().deallocate(blocks_[b].first, blocks_[b].second);
  }
}

AcDbStub& StubList::emplace_back() {
  if (blocks_.empty() || used_ == blocks_.back().second) {
    const size_t n = blocks_.empty() ? 64 : std::min<size_t>(2 * blocks_.back().second, 4096);
    blocks_.emplace_back(std::allocator<AcDbStub>().allocate(n), n);
    used_ = 0;
  }
  AcDbStub* stub = new (blocks_.back().first + used_) AcDbStub();
  ++used_;
  ++size_;
  return *stub;
}

}  // namespace platform::acad::internal

std::vector<AcDbStub*> AcDbDatabase::Impl::InHandleOrder() {
  std::vector<AcDbStub*> order;
  order.reserve(stubs.size());
  if (in_order) {
    for (AcDbStub& stub : stubs) order.push_back(&stub);
  } else {
    // A drawing read from a file makes its records out of order (names before the objects they
    // name): the index has them in order already, most of them in its array.
    index.AppendInHandleOrder(&order);
  }
  return order;
}

AcDbStub* AcDbDatabase::stubFor(AcDbHandle handle, bool create) {
  if (AcDbStub* found = impl_->index.Find(handle.value())) return found;
  if (!create || handle.isNull()) return nullptr;
  AcDbStub& stub = impl_->stubs.emplace_back();
  stub.database = this;
  stub.handle = handle;
  impl_->index.Add(&stub, handle.value());
  if (handle.value() < impl_->max_handle) impl_->in_order = false;
  impl_->max_handle = std::max(impl_->max_handle, handle.value());
  if (handle.value() >= handseed_.value()) handseed_ = AcDbHandle(handle.value() + 1);
  return &stub;
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& retId, bool createIfNotFound,
                                                const AcDbHandle& objHandle, Adesk::UInt32) {
  retId.setNull();
  if (objHandle.isNull()) return Acad::eNullHandle;
  AcDbStub* stub = stubFor(objHandle, createIfNotFound);
  if (stub == nullptr) return Acad::eKeyNotFound;
  retId = AcDbObjectId(stub);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setHandseed(const AcDbHandle& handle) {
  if (!impl_->stubs.empty() && handle.value() <= impl_->max_handle) return Acad::eInvalidInput;
  handseed_ = handle;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& objId, AcDbObject* pObj) {
  objId.setNull();
  if (pObj == nullptr) return Acad::eNullObjectPointer;
  if (pObj->stub_ != nullptr) return Acad::eAlreadyInDb;
  // Before the handle is chosen: a new step of undo lets go of the records of undone objects
  // that can no longer come back, and the seed may give their handles out again.
  platform::acad::internal::RecordUndoOfHeader(this);
  AcDbHandle handle = next_handle_.isNull() ? handseed_ : next_handle_;
  if (next_handle_.isNull()) {
    ++impl_->seeded;
    // Past the records that the seed reaches but that are taken: objects taken back by undo
    // that redo may give back.
    for (AcDbStub* taken = impl_->index.Find(handle.value());
         taken != nullptr && (taken->object != nullptr || taken->purged);
         taken = impl_->index.Find(handle.value())) {
      handle = AcDbHandle(handle.value() + 1);
    }
  }
  next_handle_.setNull();
  AcDbStub* stub = stubFor(handle, true);
  // A record freed by undo is reused without being made: the seed still moves past it.
  if (handle.value() >= handseed_.value()) handseed_ = AcDbHandle(handle.value() + 1);
  Acad::ErrorStatus es = adoptObject(stub, pObj);
  if (es == Acad::eOk) objId = AcDbObjectId(stub);
  return es;
}

Acad::ErrorStatus AcDbDatabase::adoptObject(AcDbStub* stub, AcDbObject* pObj) {
  if (pObj == nullptr) return Acad::eNullObjectPointer;
  if (pObj->stub_ != nullptr) return Acad::eAlreadyInDb;
  if (stub->object != nullptr || stub->purged) return Acad::eDuplicateKey;
  stub->object.reset(pObj);
  stub->cls = pObj->isA();
  stub->writer = true;
  ++impl_->opens;
  stub->modified = false;
  pObj->stub_ = stub;
  platform::acad::internal::RecordUndoOfAppend(stub);
  notifyAppended(pObj);
  return Acad::eOk;
}

void AcDbDatabase::setRoots(const Roots& roots) {
  block_table_ = roots.block_table;
  layer_table_ = roots.layer_table;
  text_style_table_ = roots.text_style_table;
  regapp_table_ = roots.regapp_table;
  linetype_table_ = roots.linetype_table;
  named_objects_ = roots.named_objects;
  group_dictionary_ = roots.group_dictionary;
  model_space_ = roots.model_space;
  paper_space_ = roots.paper_space;
  by_layer_ = roots.by_layer;
  by_block_ = roots.by_block;
  continuous_ = roots.continuous;
  clayer_ = roots.clayer;
  textstyle_ = roots.textstyle;
}

Acad::ErrorStatus AcDbDatabase::setDimscale(double scale) {
  if (scale < 0) return Acad::eInvalidInput;
  platform::acad::internal::RecordUndoOfHeader(this);
  dimscale_ = scale;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId layerId) {
  if (layerId.database() != this ||
      platform::acad::internal::PeekAs<AcDbLayerTableRecord>(layerId) == nullptr)
    return Acad::eInvalidInput;
  platform::acad::internal::RecordUndoOfHeader(this);
  clayer_ = layerId;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setTextstyle(AcDbObjectId styleId) {
  if (styleId.database() != this ||
      platform::acad::internal::PeekAs<AcDbTextStyleTableRecord>(styleId) == nullptr)
    return Acad::eInvalidInput;
  platform::acad::internal::RecordUndoOfHeader(this);
  textstyle_ = styleId;
  return Acad::eOk;
}

int acdbRegApp(const ACHAR* appname) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (db == nullptr || appname == nullptr || *appname == 0) return RTERROR;
  AcDbRegAppTable* table = nullptr;
  if (db->getRegAppTable(table, AcDb::kForWrite) != Acad::eOk) return RTERROR;
  int result = RTERROR;
  if (!table->has(appname)) {
    auto* record = new AcDbRegAppTableRecord;
    record->setName(appname);
    if (table->add(record) == Acad::eOk) {
      record->close();
      result = RTNORM;
    } else {
      delete record;
    }
  }
  table->close();
  return result;
}

// ---- Ids and handles ----

const AcDbObjectId AcDbObjectId::kNull;

AcDbHandle::AcDbHandle(const ACHAR* hex) {
  Adesk::UInt64 value = 0;
  if (hex == nullptr || *hex == 0) return;
  for (const ACHAR* p = hex; *p != 0; ++p) {
    int digit;
    if (*p >= L'0' && *p <= L'9') {
      digit = *p - L'0';
    } else if (*p >= L'a' && *p <= L'f') {
      digit = *p - L'a' + 10;
    } else if (*p >= L'A' && *p <= L'F') {
      digit = *p - L'A' + 10;
    } else {
      return;
    }
    value = value * 16 + digit;
  }
  value_ = value;
}

bool AcDbHandle::getIntoAsciiBuffer(ACHAR* buffer, size_t bufferLength) const {
  ACHAR digits[17];
  int n = 0;
  Adesk::UInt64 v = value_;
  do {
    digits[n++] = L"0123456789ABCDEF"[v % 16];
    v /= 16;
  } while (v != 0);
  if (buffer == nullptr || bufferLength < static_cast<size_t>(n) + 1) return false;
  for (int i = 0; i < n; ++i) buffer[i] = digits[n - 1 - i];
  buffer[n] = 0;
  return true;
}

AcDbHandle AcDbObjectId::handle() const {
  return stub_ ? stub_->handle : AcDbHandle();
}
AcDbDatabase* AcDbObjectId::database() const {
  return stub_ ? stub_->database : nullptr;
}
bool AcDbObjectId::isErased() const {
  return stub_ && (stub_->erased || stub_->purged);
}
bool AcDbObjectId::isValid() const {
  return stub_ && stub_->object != nullptr;
}
AcRxClass* AcDbObjectId::objectClass() const {
  return stub_ && stub_->object ? stub_->cls : nullptr;
}
bool AcDbObjectId::operator<(const AcDbObjectId& other) const {
  if (handle().value() != other.handle().value()) return handle().value() < other.handle().value();
  return stub_ < other.stub_;
}
