// AcDbDictionary: keyed ownership of objects, lookup without regard to case, and iteration.
#include <dbdict.h>

#include <acutads.h>
#include <dbgroup.h>
#include "platform/acad/dbstub.h"

using platform::acad::internal::SameName;

ACRX_DEFINE_MEMBERS(AcDbDictionary, AcDbObject, L"DICTIONARY")
ACDB_DEFINE_COPYING(AcDbDictionary)

int AcDbDictionary::find(const ACHAR* key) const {
  if (key == nullptr) return -1;
  for (size_t i = 0; i < entries_.size(); ++i)
    if (!entries_[i].second.isErased() && SameName(entries_[i].first.c_str(), key))
      return static_cast<int>(i);
  return -1;
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* entryName, AcDbObjectId& entryObj) const {
  assertReadEnabled();
  int i = find(entryName);
  entryObj = i < 0 ? AcDbObjectId() : entries_[i].second;
  return i < 0 ? Acad::eKeyNotFound : Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* entryName, AcDbObject*& entryObj,
                                        AcDb::OpenMode mode) const {
  entryObj = nullptr;
  AcDbObjectId id;
  Acad::ErrorStatus es = getAt(entryName, id);
  return es != Acad::eOk ? es : acdbOpenObject(entryObj, id, mode);
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId objId, ACHAR*& name) const {
  assertReadEnabled();
  name = nullptr;
  for (const auto& [key, id] : entries_) {
    if (id == objId) {
      name = acutNewString(key.c_str());
      return Acad::eOk;
    }
  }
  return Acad::eKeyNotFound;
}

bool AcDbDictionary::has(const ACHAR* entryName) const {
  assertReadEnabled();
  return find(entryName) >= 0;
}

bool AcDbDictionary::has(AcDbObjectId objId) const {
  assertReadEnabled();
  for (const auto& entry : entries_)
    if (entry.second == objId && !objId.isErased()) return true;
  return false;
}

Adesk::UInt32 AcDbDictionary::numEntries() const {
  assertReadEnabled();
  Adesk::UInt32 n = 0;
  for (const auto& entry : entries_)
    if (!entry.second.isErased()) ++n;
  return n;
}

Acad::ErrorStatus AcDbDictionary::setAt(const ACHAR* srchKey, AcDbObject* newValue,
                                        AcDbObjectId& retObjId) {
  assertWriteEnabled();
  retObjId.setNull();
  if (srchKey == nullptr || *srchKey == 0) return Acad::eInvalidKey;
  if (newValue == nullptr) return Acad::eNullObjectPointer;
  if (database() == nullptr) return Acad::eNotInDatabase;
  if (newValue->database() == nullptr) {
    Acad::ErrorStatus es = database()->addAcDbObject(retObjId, newValue);
    if (es != Acad::eOk) return es;
    newValue->setOwnerId(objectId());
  } else {
    retObjId = newValue->objectId();
  }
  int i = find(srchKey);
  if (i >= 0 && entries_[i].second != retObjId) {
    // The replaced object goes, as AutoCAD erases what a dictionary no longer holds.
    AcDbObject* old = platform::acad::internal::Peek(entries_[i].second);
    if (old != nullptr) {
      platform::acad::internal::InternalAccess access(old, true);
      old->erase();
    }
    entries_.erase(entries_.begin() + i);
  } else if (i >= 0) {
    entries_.erase(entries_.begin() + i);
  }
  entries_.emplace_back(srchKey, retObjId);
  if (auto* group = AcDbGroup::cast(newValue)) group->name_ = srchKey;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key) {
  AcDbObjectId id;
  return remove(key, id);
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key, AcDbObjectId& returnId) {
  assertWriteEnabled();
  returnId.setNull();
  int i = find(key);
  if (i < 0) return Acad::eKeyNotFound;
  returnId = entries_[i].second;
  entries_.erase(entries_.begin() + i);
  if (AcDbStub* stub = returnId.stub()) stub->owner.setNull();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(AcDbObjectId objId) {
  assertWriteEnabled();
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->second == objId) {
      entries_.erase(it);
      if (AcDbStub* stub = objId.stub()) stub->owner.setNull();
      return Acad::eOk;
    }
  }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbDictionary::setName(const ACHAR* oldName, const ACHAR* newName) {
  assertWriteEnabled();
  int i = find(oldName);
  if (i < 0) return Acad::eKeyNotFound;
  if (newName == nullptr || *newName == 0) return Acad::eInvalidKey;
  int j = find(newName);
  if (j >= 0 && j != i) return Acad::eDuplicateKey;
  entries_[i].first = newName;
  if (auto* group = platform::acad::internal::PeekAs<AcDbGroup>(entries_[i].second))
    group->name_ = newName;
  return Acad::eOk;
}

AcDbDictionaryIterator* AcDbDictionary::newIterator() const {
  assertReadEnabled();
  std::vector<std::pair<std::wstring, AcDbObjectId>> live;
  for (const auto& entry : entries_)
    if (!entry.second.isErased()) live.push_back(entry);
  return new AcDbDictionaryIterator(std::move(live));
}

AcDbDictionaryIterator::AcDbDictionaryIterator(
    std::vector<std::pair<std::wstring, AcDbObjectId>> entries)
    : entries_(std::move(entries)) {}

const ACHAR* AcDbDictionaryIterator::name() const {
  return done() ? nullptr : entries_[index_].first.c_str();
}

AcDbObjectId AcDbDictionaryIterator::objectId() const {
  return done() ? AcDbObjectId() : entries_[index_].second;
}

Acad::ErrorStatus AcDbDictionaryIterator::getObject(AcDbObject*& pObject, AcDb::OpenMode mode) {
  pObject = nullptr;
  if (done()) return Acad::eNullIterator;
  return acdbOpenObject(pObject, entries_[index_].second, mode);
}

bool AcDbDictionaryIterator::next() {
  if (!done()) ++index_;
  return !done();
}
