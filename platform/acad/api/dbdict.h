// AcDbDictionary: named objects owned by a dictionary (the named objects and group dictionaries).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <dbmain.h>

class AcDbDictionaryIterator {
 public:
  AcDbDictionaryIterator(const AcDbDictionaryIterator&) = delete;
  AcDbDictionaryIterator& operator=(const AcDbDictionaryIterator&) = delete;

  const ACHAR* name() const;
  AcDbObjectId objectId() const;
  Acad::ErrorStatus getObject(AcDbObject*& pObject, AcDb::OpenMode mode = AcDb::kForRead);
  bool done() const { return index_ >= entries_.size(); }
  bool next();

 private:
  friend class AcDbDictionary;
  explicit AcDbDictionaryIterator(std::vector<std::pair<std::wstring, AcDbObjectId>> entries);
  std::vector<std::pair<std::wstring, AcDbObjectId>> entries_;
  size_t index_ = 0;
};

// Keys are compared without regard to case and kept in the order they were added. Erased
// entries are left out of lookups and iteration.
class AcDbDictionary : public AcDbObject {
  ACRX_DECLARE_MEMBERS(AcDbDictionary);
  ACDB_DECLARE_COPYING(AcDbDictionary);

 public:
  AcDbDictionary() = default;

  // eKeyNotFound when there is no such key.
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& entryObj) const;
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObject*& entryObj, AcDb::OpenMode mode) const;
  // The key of an entry, as a new string (free with acutDelString); eKeyNotFound.
  Acad::ErrorStatus nameAt(AcDbObjectId objId, ACHAR*& name) const;
  bool has(const ACHAR* entryName) const;
  bool has(AcDbObjectId objId) const;
  Adesk::UInt32 numEntries() const;

  // Adds a new object under that key (the dictionary must be in a database and open for write;
  // the object is then in the database, owned by the dictionary and open for write: close it).
  // An existing key is replaced: its object is erased. An object already in the database is
  // only entered under the key. eInvalidKey for an empty key.
  Acad::ErrorStatus setAt(const ACHAR* srchKey, AcDbObject* newValue, AcDbObjectId& retObjId);
  // Removes the entry (the object stays, without owner). eKeyNotFound.
  Acad::ErrorStatus remove(const ACHAR* key);
  Acad::ErrorStatus remove(const ACHAR* key, AcDbObjectId& returnId);
  Acad::ErrorStatus remove(AcDbObjectId objId);
  // eKeyNotFound for an unknown old key, eDuplicateKey for a new key in use.
  Acad::ErrorStatus setName(const ACHAR* oldName, const ACHAR* newName);

  // A new iterator; the caller deletes it.
  AcDbDictionaryIterator* newIterator() const;

 private:
  std::vector<std::pair<std::wstring, AcDbObjectId>> entries_;
  int find(const ACHAR* key) const;
};
