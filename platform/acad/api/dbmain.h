// The drawing database core: AcDbObject, AcDbEntity, AcDbExtents, AcDbDatabase and opening.
//
// Objects live in their database, which owns them; code reaches them by id and opens them:
// acdbOpenObject(pObj, id, AcDb::kForWrite) ... pObj->close(). The open rules are AutoCAD's:
// any number of reads (each open needs its own close), one write at a time, never a write while
// reading and never a read while writing (eWasOpenedForWrite / eWasOpenedForRead). Erased
// objects can be opened again with openErased = true until the drawing is saved.
//
// A closed object must not be used: every getter asserts that the object is open for read and
// every setter that it is open for write, and a violation stops the program with a message
// naming the class and handle (also in release builds, because a silent use-after-close would
// hide exactly the faults the host's left-open check is there to find).
//
// An object made with new is owned by the caller until appendAcDbEntity or addAcDbObject gives
// it to a database; it is then open for write and the caller must close it. A new object that
// never reaches a database is the caller's to delete. Never delete a database-resident object.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <acadstrc.h>
#include <acdb.h>
#include <dbcolor.h>
#include <dbid.h>
#include <drawable.h>
#include <gemat3d.h>
#include <rxobject.h>

class AcDbDatabase;
struct AcDbKeptGroups;
class AcDbBlockTable;
class AcDbLayerTable;
class AcDbTextStyleTable;
class AcDbRegAppTable;
class AcDbLinetypeTable;
class AcDbDictionary;
class AcDbSymbolTable;

// One XData item as an object holds it (AcDbObject::visitXData): strings as UTF-8 in `text`
// (a null string as empty), or as wide text in `wide` when one application's items are visited;
// a binary chunk's bytes in `text`, points, reals and integers by kind.
struct AcDbXDataItem {
  int code = 0;
  std::string_view text;
  std::wstring_view wide;
  double point[3] = {0, 0, 0};
  double real = 0;
  long integer = 0;
};

// Declared in the body of every concrete database class, defined in its .cpp with
// ACDB_DEFINE_COPYING: clone() and copyFrom() of the whole state (XData, persistent reactors, the
// class's own data), never the identity (database, handle, owner, open state). The database's undo
// keeps an object's state this way; a concrete class without it would be copied as its parent.
#define ACDB_DECLARE_COPYING(CLASS)   \
 public:                              \
  AcRxObject* clone() const override; \
  Acad::ErrorStatus copyFrom(const AcRxObject* other) override

#define ACDB_DEFINE_COPYING(CLASS)                                                \
  AcRxObject* CLASS::clone() const {                                              \
    return new CLASS(*this);                                                      \
  }                                                                               \
  Acad::ErrorStatus CLASS::copyFrom(const AcRxObject* other) {                    \
    if (other == nullptr || other->isA() != isA()) return Acad::eWrongObjectType; \
    *this = *static_cast<const CLASS*>(other);                                    \
    return Acad::eOk;                                                             \
  }

// A member that a copy of its object starts without (what belongs to one object only).
template <class T>
struct AcDbNotCopied : T {
  AcDbNotCopied() = default;
  AcDbNotCopied(const AcDbNotCopied&) : T() {}
  AcDbNotCopied& operator=(const AcDbNotCopied&) { return *this; }
};

class AcDbObject : public AcGiDrawable {
  ACRX_DECLARE_MEMBERS(AcDbObject);

 public:
  ~AcDbObject() override;

  AcDbObjectId objectId() const;
  AcDbObjectId ownerId() const;
  // Sets the owner of an object (the database sets it when adding; rarely needed).
  Acad::ErrorStatus setOwnerId(AcDbObjectId ownerId);
  void getAcDbHandle(AcDbHandle& handle) const;
  // The database holding it, or null for an object not (yet) in one.
  AcDbDatabase* database() const;

  // Ends one open. Closing an object that is not open stops the program (see above).
  Acad::ErrorStatus close();
  // Erases (or, with false, unerases) the object. Needs a write open. Erasing an erased object
  // gives eWasErased, unerasing a live one eInvalidInput.
  Acad::ErrorStatus erase(bool erasing = true);
  bool isErased() const;
  bool isReadEnabled() const;
  bool isWriteEnabled() const;
  bool isNotifyEnabled() const;
  // From one read open to a write open; eHadMultipleReaders when others also read it.
  Acad::ErrorStatus upgradeOpen();
  // From a write open to a read open.
  Acad::ErrorStatus downgradeOpen();

  // Stop the program unless the object is open as needed (objects outside a database always are).
  void assertReadEnabled() const;
  void assertWriteEnabled(bool autoUndo = true, bool recordModified = true);

  // A copy of the XData of that application (its 1001 group first, then its data), or of all
  // applications with null; null when there is none. The caller frees it with acutRelRb.
  virtual resbuf* xData(const ACHAR* regappName = nullptr) const;
  // Replaces the XData of every application named in the chain (a 1001 group starts each). An
  // application given with only its 1001 group loses its XData. Needs a write open.
  // Errors (the old XData stays as it was): eInvalidInput when the chain does not start with
  // 1001 or holds a type that is no XData group; eRegappIdNotFound when an application is not in
  // the database's registered application table; eXdataSizeExceeded when the object's XData
  // would need more than 16383 bytes, counted as the drawing stores it: per application 2 bytes
  // of length and 8 of reference; per item 1 byte of type, then strings 2 bytes of length and 2
  // per UTF-16 unit, 1002 one byte, 1003 and 1005 eight bytes, 1004 one byte of length and the
  // bytes, points 24, reals 8, 1070 two and 1071 four bytes.
  virtual Acad::ErrorStatus setXData(const resbuf* xdata);
  // Calls `visit` for each XData item in order, as xData(nullptr) would list it, without making
  // a chain: the writer of a large drawing reads millions of items.
  void visitXData(const std::function<void(const AcDbXDataItem&)>& visit) const;
  // The same for one application's items, from its 1001 group, as xData(regappName) would list
  // them, strings as wide text (in `wide`, as the chain's strings read); false when the object
  // has no XData of it (nothing is visited). Reading a value needs no chain.
  bool visitXData(const ACHAR* regappName,
                  const std::function<void(const AcDbXDataItem&)>& visit) const;

  // Persistent reactors: the objects (groups, dictionaries) that refer to this one.
  void addPersistentReactor(AcDbObjectId objId);
  Acad::ErrorStatus removePersistentReactor(AcDbObjectId objId);
  bool hasPersistentReactor(AcDbObjectId objId) const;
  AcDbObjectIdArray getPersistentReactorIds() const;

  AcDbStub* stub() const { return stub_; }

 protected:
  AcDbObject();
  // The state without the identity (see ACDB_DECLARE_COPYING): a copy is outside any database.
  AcDbObject(const AcDbObject& other);
  AcDbObject& operator=(const AcDbObject& other);

 private:
  friend class AcDbDatabase;
  friend struct AcDbStub;
  friend struct AcDbXDataAccess;        // packed XData (dbxdata.cpp)
  friend struct AcDbUndoAccess;         // undo steps that keep only the XData (undo_history.cpp)
  friend struct AcDbKeptAccess;         // groups a drawing reader keeps (kept_groups.cpp)
  AcDbStub* stub_ = nullptr;            // set when the object enters a database
  std::vector<AcDbObjectId> reactors_;  // persistent reactors, in order added
  char* xdata_ = nullptr;  // owned, packed (dbxdata.cpp), applications in order; null: none
  AcDbKeptGroups* kept_ = nullptr;  // owned (kept_groups.cpp); null: none. Copies keep none.
};

// A bounding box; empty until the first point is added.
class AcDbExtents {
 public:
  AcDbExtents();
  AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max);

  const AcGePoint3d& minPoint() const { return min_; }
  const AcGePoint3d& maxPoint() const { return max_; }
  // eInvalidInput when min is above max in some coordinate.
  Acad::ErrorStatus set(const AcGePoint3d& min, const AcGePoint3d& max);
  void addPoint(const AcGePoint3d& pt);
  void addExt(const AcDbExtents& other);
  void expandBy(const AcGeVector3d& vec);
  // The box of the eight transformed corners.
  void transformBy(const AcGeMatrix3d& mat);
  bool isValid() const { return min_.x <= max_.x; }

 private:
  AcGePoint3d min_, max_;
};

class AcDbEntity : public AcDbObject {
  ACRX_DECLARE_MEMBERS(AcDbEntity);

 public:
  // The owning block table record.
  AcDbObjectId blockId() const;

  // The layer's name as a new string (free with acutDelString), or null without a layer.
  ACHAR* layer() const;
  AcDbObjectId layerId() const;
  // eKeyNotFound when the layer does not exist in the entity's database (or, for a new
  // entity, the working database).
  Acad::ErrorStatus setLayer(const ACHAR* newVal, bool doSubents = true,
                             bool allowHiddenLayer = false);
  Acad::ErrorStatus setLayer(AcDbObjectId newVal, bool doSubents = true,
                             bool allowHiddenLayer = false);

  AcCmColor color() const;
  Acad::ErrorStatus setColor(const AcCmColor& color, bool doSubents = true);
  Adesk::UInt16 colorIndex() const;
  // eInvalidInput above 256. With doSubents, block references also recolour their attributes.
  virtual Acad::ErrorStatus setColorIndex(Adesk::UInt16 color, bool doSubents = true);

  // The linetype name ("ByLayer", "ByBlock", "Continuous", ...) as a new string.
  ACHAR* linetype() const;
  AcDbObjectId linetypeId() const;
  Acad::ErrorStatus setLinetype(const ACHAR* newVal, bool doSubents = true);
  Acad::ErrorStatus setLinetype(AcDbObjectId newVal, bool doSubents = true);
  double linetypeScale() const;
  Acad::ErrorStatus setLinetypeScale(double scale, bool doSubents = true);

  AcDb::LineWeight lineWeight() const;
  Acad::ErrorStatus setLineWeight(AcDb::LineWeight newVal, bool doSubents = true);

  AcDb::Visibility visibility() const;
  Acad::ErrorStatus setVisibility(AcDb::Visibility newVal, bool doSubents = true);

  // Current layer, colour ByLayer, linetype ByLayer, line weight ByLayer, linetype scale 1, of
  // pDb, else the entity's database, else the working database.
  void setDatabaseDefaults(AcDbDatabase* pDb = nullptr);

  // Moves, rotates or scales the entity; eNotApplicable for entities that cannot take it.
  virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
  // The world-space box of the geometry; eNotApplicable for entities without extents.
  virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;

  // Display only: counted so that tests can see them.
  Acad::ErrorStatus highlight();
  Acad::ErrorStatus unhighlight();
  int highlightCount() const { return highlights_; }

 protected:
  AcDbEntity() = default;
  // Copies the common properties (layer, colour, linetype, weight, visibility) of another entity.
  void copyEntityProperties(const AcDbEntity& from);

 private:
  AcDbObjectId layer_;
  AcDbObjectId linetype_;
  AcCmColor color_;
  double linetype_scale_ = 1.0;
  AcDb::LineWeight line_weight_ = AcDb::kLnWtByLayer;
  AcDb::Visibility visibility_ = AcDb::kVisible;
  int highlights_ = 0;
};

// Listens to what changes in a database (AcDbDatabase::addReactor). Each notification names the
// database and the object; the object may be open for write at the time (appended and erased
// ones always are), so a listener notes what it needs and reads the object later, after it has
// been closed. Notifications come on the main thread while the change happens.
class AcDbDatabaseReactor : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcDbDatabaseReactor);

 public:
  // A new object was given to the database (addAcDbObject, a table's add, appendAcDbEntity...).
  virtual void objectAppended(const AcDbDatabase* dwg, const AcDbObject* dbObj);
  // An object opened for write and changed (a setter, an erase, a group's members) was closed.
  virtual void objectModified(const AcDbDatabase* dwg, const AcDbObject* dbObj);
  // An object was erased (pErased true) or unerased (false).
  virtual void objectErased(const AcDbDatabase* dwg, const AcDbObject* dbObj,
                            Adesk::Boolean pErased = true);
  // The database is being destroyed; the listener must forget it (its address may be reused).
  virtual void goodbye(const AcDbDatabase* dwg);
};

class AcDbDatabase : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcDbDatabase);
  friend struct AcDbUndoAccess;  // the header variables that undo takes back (undo_history.cpp)

 public:
  // With buildDefaultDrawing a new drawing: block table with model and paper space, layer "0",
  // text style "Standard", linetypes ByBlock, ByLayer and Continuous, registered application
  // "ACAD", and the named objects dictionary with the group dictionary "ACAD_GROUP".
  explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
  ~AcDbDatabase() override;

  Acad::ErrorStatus getBlockTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getLayerTable(AcDbLayerTable*& pTable, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& pTable,
                                      AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getRegAppTable(AcDbRegAppTable*& pTable, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& pTable,
                                     AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode = AcDb::kForRead) {
    return getBlockTable(pTable, mode);
  }
  Acad::ErrorStatus getSymbolTable(AcDbLayerTable*& pTable, AcDb::OpenMode mode = AcDb::kForRead) {
    return getLayerTable(pTable, mode);
  }
  Acad::ErrorStatus getGroupDictionary(AcDbDictionary*& pDict,
                                       AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& pDict,
                                              AcDb::OpenMode mode = AcDb::kForRead);

  AcDbObjectId blockTableId() const { return block_table_; }
  AcDbObjectId layerTableId() const { return layer_table_; }
  AcDbObjectId textStyleTableId() const { return text_style_table_; }
  AcDbObjectId regAppTableId() const { return regapp_table_; }
  AcDbObjectId linetypeTableId() const { return linetype_table_; }
  AcDbObjectId groupDictionaryId() const { return group_dictionary_; }
  AcDbObjectId namedObjectsDictionaryId() const { return named_objects_; }
  AcDbObjectId currentSpaceId() const { return model_space_; }
  AcDbObjectId modelSpaceId() const { return model_space_; }
  AcDbObjectId byLayerLinetype() const { return by_layer_; }
  AcDbObjectId byBlockLinetype() const { return by_block_; }
  AcDbObjectId continuousLinetype() const { return continuous_; }

  // Finds the object with that handle. With createIfNotFound an unknown handle gets a new,
  // empty id (for readers that meet references before objects); else eKeyNotFound.
  Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& retId, bool createIfNotFound,
                                    const AcDbHandle& objHandle, Adesk::UInt32 xRefId = 0);
  // The next handle to be given out.
  AcDbHandle handseed() const { return handseed_; }
  // eInvalidInput when the seed is not above every handle in use.
  Acad::ErrorStatus setHandseed(const AcDbHandle& handle);

  // Gives a new object to the database, with a new handle and no owner (set it with
  // setOwnerId). The object is then open for write. eAlreadyInDb, eNullObjectPointer.
  Acad::ErrorStatus addAcDbObject(AcDbObjectId& objId, AcDbObject* pObj);

  // Adds a listener (not owned, kept until removeReactor or goodbye); adding one twice does
  // nothing. Listeners are told in the order added.
  void addReactor(AcDbDatabaseReactor* pReactor) const;
  Acad::ErrorStatus removeReactor(AcDbDatabaseReactor* pReactor) const;

  // Header variables.
  double dimscale() const { return dimscale_; }
  Acad::ErrorStatus setDimscale(double scale);
  AcDbObjectId clayer() const { return clayer_; }
  Acad::ErrorStatus setClayer(AcDbObjectId layerId);
  AcDbObjectId textstyle() const { return textstyle_; }
  Acad::ErrorStatus setTextstyle(AcDbObjectId styleId);
  AcDbObjectId celtype() const { return by_layer_; }

  // Internal: the table of all objects (see dbhost.h for the host's view of it), and the
  // record of a handle (created empty when create is set; null otherwise when unknown).
  struct Impl;
  Impl& impl() const { return *impl_; }
  AcDbStub* stubFor(AcDbHandle handle, bool create);

  // Internal, for a drawing reader that builds a database from a file without the default
  // drawing: the root objects (tables, dictionaries, spaces, linetypes) it found.
  struct Roots {
    AcDbObjectId block_table, layer_table, text_style_table, regapp_table, linetype_table;
    AcDbObjectId named_objects, group_dictionary, model_space, paper_space;
    AcDbObjectId by_layer, by_block, continuous, clayer, textstyle;
  };
  void setRoots(const Roots& roots);
  // Makes the next new object (addAcDbObject, and so table add, appendAcDbEntity ...) take this
  // handle instead of the seed, once; a reader keeps the file's handles this way.
  void setNextHandle(AcDbHandle handle) { next_handle_ = handle; }
  // Puts a new object into an empty record (then open for write). eDuplicateKey when the
  // record holds an object, eAlreadyInDb when the object is in a database.
  Acad::ErrorStatus adoptObject(AcDbStub* stub, AcDbObject* pObj);
  // Internal: tells the listeners (see AcDbDatabaseReactor).
  void notifyAppended(const AcDbObject* object) const;
  void notifyModified(const AcDbObject* object) const;
  void notifyErased(const AcDbObject* object, bool erased) const;

 private:
  std::unique_ptr<Impl> impl_;
  AcDbHandle handseed_{1};
  AcDbHandle next_handle_;
  double dimscale_ = 1.0;
  AcDbObjectId block_table_, layer_table_, text_style_table_, regapp_table_, linetype_table_;
  AcDbObjectId named_objects_, group_dictionary_, model_space_, paper_space_;
  AcDbObjectId by_layer_, by_block_, continuous_;
  AcDbObjectId clayer_, textstyle_;
};

// Opens the object that id names. Errors: eNullObjectId, eWasErased (unless openErased),
// eWasOpenedForWrite, eWasOpenedForRead (a write request while readers have it), eNotInDatabase
// for an id whose object was never filled in. pObj is null on failure.
Acad::ErrorStatus acdbOpenObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased = false);
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
// As acdbOpenObject; eWrongObjectType (and nothing stays open) for an object that is no entity.
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& pEnt, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);

// Opens and checks the class: eWrongObjectType (the object is closed again) when it is no T.
template <class T>
Acad::ErrorStatus acdbOpenObject(T*& pObj, AcDbObjectId id, AcDb::OpenMode mode = AcDb::kForRead,
                                 bool openErased = false) {
  pObj = nullptr;
  AcDbObject* obj = nullptr;
  Acad::ErrorStatus es = acdbOpenObject(obj, id, mode, openErased);
  if (es != Acad::eOk) return es;
  pObj = T::cast(obj);
  if (pObj == nullptr) {
    obj->close();
    return Acad::eWrongObjectType;
  }
  return Acad::eOk;
}

// Entity names of the ADS functions stand for object ids: the id's stub in the first word.
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName);
Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId);

// Registers an application name in the working database's registered application table (so
// that XData of it can be set). RTNORM when added, RTERROR when it was there already, or for an
// empty name or no working database.
int acdbRegApp(const ACHAR* appname);
