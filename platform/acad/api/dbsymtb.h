// Symbol tables and their records: blocks, layers, text styles, registered applications,
// linetypes. Names are compared without regard to case, as AutoCAD does.
#pragma once

#include <string>
#include <vector>

#include <dbmain.h>

class AcDbSymbolTableRecord : public AcDbObject {
  ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord);

 public:
  // A new copy of the name (free with acutDelString).
  Acad::ErrorStatus getName(ACHAR*& pName) const;
  // The name, valid while the record is open.
  Acad::ErrorStatus getName(const ACHAR*& pName) const;
  // eInvalidInput for an empty name; eDuplicateRecord is not checked here but by the table.
  Acad::ErrorStatus setName(const ACHAR* pName);
  const ACHAR* name() const { return name_.c_str(); }

 protected:
  AcDbSymbolTableRecord() = default;

 private:
  std::wstring name_;
};

class AcDbSymbolTableIterator {
 public:
  AcDbSymbolTableIterator(const AcDbSymbolTableIterator&) = delete;
  AcDbSymbolTableIterator& operator=(const AcDbSymbolTableIterator&) = delete;
  virtual ~AcDbSymbolTableIterator() = default;

  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const { return index_ < 0 || index_ >= static_cast<int>(ids_.size()); }
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
  Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& pRecord, AcDb::OpenMode mode = AcDb::kForRead,
                              bool openErased = false) const;

 protected:
  friend class AcDbSymbolTable;
  explicit AcDbSymbolTableIterator(std::vector<AcDbObjectId> ids) : ids_(std::move(ids)) {}
  void skip(bool forward, bool skipDeleted);
  std::vector<AcDbObjectId> ids_;
  int index_ = 0;
};

class AcDbSymbolTable : public AcDbObject {
  ACRX_DECLARE_MEMBERS(AcDbSymbolTable);

 public:
  // The record of that name; eKeyNotFound when there is none (erased records only with
  // getErasedRecord).
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& recordId,
                          bool getErasedRecord = false) const;
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbSymbolTableRecord*& pRec,
                          AcDb::OpenMode openMode, bool openErasedRec = false) const;
  bool has(const ACHAR* name) const;
  bool has(AcDbObjectId id) const;
  // Takes ownership of a new record (it is then open for write; close it). Needs the table
  // open for write. eDuplicateKey for a name in use, eInvalidInput for an empty name.
  Acad::ErrorStatus add(AcDbSymbolTableRecord* pRecord);
  Acad::ErrorStatus add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord);
  // A new iterator in the order the records were added; the caller deletes it.
  Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

  // Record ids in order, erased ones included.
  const std::vector<AcDbObjectId>& recordIds() const { return records_; }

 protected:
  AcDbSymbolTable() = default;

 private:
  std::vector<AcDbObjectId> records_;
};

// Declares the typed getAt and newIterator overloads of a concrete table.
#define HARNEX_SYMBOL_TABLE(TABLE, RECORD, ITERATOR)                                        \
  class ITERATOR : public AcDbSymbolTableIterator {                                         \
   public:                                                                                  \
    using AcDbSymbolTableIterator::getRecord;                                               \
    Acad::ErrorStatus getRecord(RECORD*& pRecord, AcDb::OpenMode mode = AcDb::kForRead,     \
                                bool openErased = false) const;                             \
                                                                                            \
   private:                                                                                 \
    friend class TABLE;                                                                     \
    using AcDbSymbolTableIterator::AcDbSymbolTableIterator;                                 \
  };                                                                                        \
  class TABLE : public AcDbSymbolTable {                                                    \
    ACRX_DECLARE_MEMBERS(TABLE);                                                            \
    ACDB_DECLARE_COPYING(TABLE);                                                            \
                                                                                            \
   public:                                                                                  \
    TABLE() = default;                                                                      \
    using AcDbSymbolTable::getAt;                                                           \
    using AcDbSymbolTable::newIterator;                                                     \
    Acad::ErrorStatus getAt(const ACHAR* entryName, RECORD*& pRec, AcDb::OpenMode openMode, \
                            bool openErasedRec = false) const;                              \
    Acad::ErrorStatus newIterator(ITERATOR*& pIterator, bool atBeginning = true,            \
                                  bool skipDeleted = true) const;                           \
  }

class AcDbBlockTableRecord;
class AcDbEntity;

// Walks the entities of a block table record in drawing order.
class AcDbBlockTableRecordIterator {
 public:
  AcDbBlockTableRecordIterator(const AcDbBlockTableRecordIterator&) = delete;
  AcDbBlockTableRecordIterator& operator=(const AcDbBlockTableRecordIterator&) = delete;

  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const { return index_ < 0 || index_ >= static_cast<int>(ids_.size()); }
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getEntityId(AcDbObjectId& entityId) const;
  Acad::ErrorStatus getEntity(AcDbEntity*& pEntity, AcDb::OpenMode openMode = AcDb::kForRead,
                              bool openErasedEntity = false) const;

 private:
  friend class AcDbBlockTableRecord;
  explicit AcDbBlockTableRecordIterator(std::vector<AcDbObjectId> ids) : ids_(std::move(ids)) {}
  void skip(bool forward, bool skipDeleted);
  std::vector<AcDbObjectId> ids_;
  int index_ = 0;
};

class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
  ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord);
  ACDB_DECLARE_COPYING(AcDbBlockTableRecord);

 public:
  AcDbBlockTableRecord() = default;

  // Takes ownership of a new entity and appends it (then open for write: close it). The record
  // must be in a database and open for write. eAlreadyInDb, eNullEntityPointer, eNotInDatabase.
  Acad::ErrorStatus appendAcDbEntity(AcDbEntity* pEntity);
  Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& pOutputId, AcDbEntity* pEntity);
  // A new iterator; the caller deletes it.
  Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

  AcGePoint3d origin() const;
  Acad::ErrorStatus setOrigin(const AcGePoint3d& pt);
  bool hasAttributeDefinitions() const;
  bool isLayout() const;
  bool isAnonymous() const;

  // Entity ids in drawing order, erased ones included.
  const std::vector<AcDbObjectId>& entityIds() const { return entities_; }

 private:
  AcGePoint3d origin_;
  std::vector<AcDbObjectId> entities_;
};

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
  ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord);
  ACDB_DECLARE_COPYING(AcDbLayerTableRecord);

 public:
  AcDbLayerTableRecord() { color_.setColorIndex(7); }
  AcCmColor color() const;
  void setColor(const AcCmColor& color);
  bool isOff() const;
  void setIsOff(bool off);
  bool isFrozen() const;
  Acad::ErrorStatus setIsFrozen(bool frozen);
  bool isLocked() const;
  void setIsLocked(bool locked);
  AcDbObjectId linetypeObjectId() const;
  void setLinetypeObjectId(AcDbObjectId id);
  AcDb::LineWeight lineWeight() const;
  Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight);

 private:
  AcCmColor color_;
  bool off_ = false, frozen_ = false, locked_ = false;
  AcDbObjectId linetype_;
  AcDb::LineWeight weight_ = AcDb::kLnWtByLwDefault;
};

class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
  ACRX_DECLARE_MEMBERS(AcDbTextStyleTableRecord);
  ACDB_DECLARE_COPYING(AcDbTextStyleTableRecord);

 public:
  AcDbTextStyleTableRecord() = default;
  Acad::ErrorStatus fileName(const ACHAR*& fileName) const;
  Acad::ErrorStatus setFileName(const ACHAR* fileName);
  Acad::ErrorStatus bigFontFileName(const ACHAR*& fileName) const;
  Acad::ErrorStatus setBigFontFileName(const ACHAR* fileName);
  // 0 means the height is asked for when text is placed.
  double textSize() const;
  Acad::ErrorStatus setTextSize(double size);
  double xScale() const;
  Acad::ErrorStatus setXScale(double scale);
  double obliquingAngle() const;
  Acad::ErrorStatus setObliquingAngle(double angle);

 private:
  std::wstring file_name_ = L"txt", big_font_;
  double size_ = 0, x_scale_ = 1, oblique_ = 0;
};

class AcDbRegAppTableRecord : public AcDbSymbolTableRecord {
  ACRX_DECLARE_MEMBERS(AcDbRegAppTableRecord);
  ACDB_DECLARE_COPYING(AcDbRegAppTableRecord);

 public:
  AcDbRegAppTableRecord() = default;
};

class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
  ACRX_DECLARE_MEMBERS(AcDbLinetypeTableRecord);
  ACDB_DECLARE_COPYING(AcDbLinetypeTableRecord);

 public:
  AcDbLinetypeTableRecord() = default;
  Acad::ErrorStatus comments(const ACHAR*& text) const;
  Acad::ErrorStatus setComments(const ACHAR* text);

 private:
  std::wstring comments_;
};

HARNEX_SYMBOL_TABLE(AcDbBlockTable, AcDbBlockTableRecord, AcDbBlockTableIterator);
HARNEX_SYMBOL_TABLE(AcDbLayerTable, AcDbLayerTableRecord, AcDbLayerTableIterator);
HARNEX_SYMBOL_TABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, AcDbTextStyleTableIterator);
HARNEX_SYMBOL_TABLE(AcDbRegAppTable, AcDbRegAppTableRecord, AcDbRegAppTableIterator);
HARNEX_SYMBOL_TABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, AcDbLinetypeTableIterator);
