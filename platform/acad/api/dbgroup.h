// AcDbGroup: a named, ordered list of entities kept in the group dictionary ("ACAD_GROUP").
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <dbmain.h>

// Each member entity gets the group as a persistent reactor, so that an entity can tell which
// groups hold it (AcDbObject::getPersistentReactorIds, filtered by AcDbGroup::cast).
class AcDbGroup : public AcDbObject {
  ACRX_DECLARE_MEMBERS(AcDbGroup);
  ACDB_DECLARE_COPYING(AcDbGroup);

 public:
  explicit AcDbGroup(const ACHAR* grpDesc = nullptr, bool selectable = true);

  // The key under which the group dictionary holds it ("" before), valid while open.
  const ACHAR* name() const;
  Acad::ErrorStatus getName(ACHAR*& pName) const;
  // Renames the group in its dictionary; eDuplicateKey for a name in use.
  Acad::ErrorStatus setName(const ACHAR* newName);
  const ACHAR* description() const;
  Acad::ErrorStatus setDescription(const ACHAR* grpDesc);
  bool isSelectable() const;
  Acad::ErrorStatus setSelectable(bool selectable);
  bool isAnonymous() const;

  // The group must be in a database and open for write. eAlreadyInGroup for a member,
  // eNullObjectId, eNotInDatabase for an id of another database, eWasErased.
  Acad::ErrorStatus append(AcDbObjectId id);
  Acad::ErrorStatus append(const AcDbObjectIdArray& ids);
  Acad::ErrorStatus prepend(AcDbObjectId id);
  // eNotInGroup when it is no member.
  Acad::ErrorStatus remove(AcDbObjectId id);
  Acad::ErrorStatus clear();
  bool has(const AcDbEntity* pEntity) const;
  bool has(AcDbObjectId id) const;
  // Members that are not erased, in order.
  Adesk::UInt32 numEntities() const;
  Adesk::UInt32 allEntityIds(AcDbObjectIdArray& ids) const;

 private:
  friend class AcDbDictionary;
  std::wstring name_, description_;
  bool selectable_ = true;
  std::vector<AcDbObjectId> members_;
  // The members as a set, made when a large group is asked whether it holds an id (a drawing's
  // groups may hold thousands of elements, each appended with that question) and dropped when a
  // member goes. A copy of the group makes its own.
  struct MemberIndex;
  struct IndexSlot {
    std::shared_ptr<MemberIndex> index;
    IndexSlot() = default;
    IndexSlot(const IndexSlot&) {}
    IndexSlot& operator=(const IndexSlot&) {
      index.reset();
      return *this;
    }
  };
  mutable IndexSlot index_;
  bool IsMember(AcDbObjectId id) const;
};
