// Groups in the group dictionary: members in order, erased members, and which groups hold an
// entity.
#include <gtest/gtest.h>

#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include "platform/acad/dbhost.h"
#include <dbsymtb.h>

namespace {

class GroupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) ids_[i] = AddPoint(i);
  }
  void TearDown() override { EXPECT_EQ(platform::acad::DescribeOpenObjects(db_), L""); }

  AcDbObjectId AddPoint(double x) {
    AcDbBlockTable* table = nullptr;
    db_.getBlockTable(table);
    AcDbBlockTableRecord* space = nullptr;
    table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
    table->close();
    auto* point = new AcDbPoint(AcGePoint3d(x, 0, 0));
    AcDbObjectId id;
    space->appendAcDbEntity(id, point);
    point->close();
    space->close();
    return id;
  }

  AcDbObjectId AddGroup(const ACHAR* name, std::initializer_list<AcDbObjectId> members) {
    AcDbDictionary* groups = nullptr;
    EXPECT_EQ(db_.getGroupDictionary(groups, AcDb::kForWrite), Acad::eOk);
    auto* group = new AcDbGroup(L"route");
    AcDbObjectId id;
    EXPECT_EQ(groups->setAt(name, group, id), Acad::eOk);
    groups->close();
    for (const AcDbObjectId& m : members) EXPECT_EQ(group->append(m), Acad::eOk);
    group->close();
    return id;
  }

  // The groups that hold an entity, found through its persistent reactors.
  std::vector<AcDbObjectId> GroupsOf(AcDbObjectId entity) {
    std::vector<AcDbObjectId> result;
    AcDbObject* obj = nullptr;
    EXPECT_EQ(acdbOpenObject(obj, entity, AcDb::kForRead), Acad::eOk);
    AcDbObjectIdArray reactors = obj->getPersistentReactorIds();
    obj->close();
    for (const AcDbObjectId& id : reactors)
      if (id.objectClass() != nullptr && id.objectClass()->isDerivedFrom(AcDbGroup::desc()))
        result.push_back(id);
    return result;
  }

  AcDbDatabase db_;
  AcDbObjectId ids_[3];
};

TEST_F(GroupTest, MembersInOrderAndReverseLookup) {
  AcDbObjectId a = AddGroup(L"*A1", {ids_[0], ids_[1]});
  AcDbObjectId b = AddGroup(L"ROUTE2", {ids_[1], ids_[2]});

  AcDbGroup* group = nullptr;
  ASSERT_EQ(acdbOpenObject(group, a, AcDb::kForWrite), Acad::eOk);
  EXPECT_STREQ(group->name(), L"*A1");
  EXPECT_TRUE(group->isAnonymous());
  EXPECT_EQ(group->append(ids_[0]), Acad::eAlreadyInGroup);
  EXPECT_EQ(group->numEntities(), 2u);
  AcDbObjectIdArray members;
  group->allEntityIds(members);
  ASSERT_EQ(members.length(), 2);
  EXPECT_EQ(members[0], ids_[0]);
  EXPECT_EQ(members[1], ids_[1]);
  group->close();

  EXPECT_EQ(GroupsOf(ids_[0]), std::vector<AcDbObjectId>{a});
  EXPECT_EQ(GroupsOf(ids_[1]), (std::vector<AcDbObjectId>{a, b}));

  // Removing a member also drops the reverse link.
  ASSERT_EQ(acdbOpenObject(group, b, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(group->remove(ids_[1]), Acad::eOk);
  EXPECT_EQ(group->remove(ids_[1]), Acad::eNotInGroup);
  EXPECT_FALSE(group->has(ids_[1]));
  group->close();
  EXPECT_EQ(GroupsOf(ids_[1]), std::vector<AcDbObjectId>{a});
}

TEST_F(GroupTest, ErasedMembersAreLeftOutAndNamesAreDictionaryKeys) {
  AcDbObjectId a = AddGroup(L"ROUTE1", {ids_[0], ids_[1], ids_[2]});
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ent, ids_[1], AcDb::kForWrite), Acad::eOk);
  ent->erase();
  ent->close();

  AcDbGroup* group = nullptr;
  ASSERT_EQ(acdbOpenObject(group, a, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(group->numEntities(), 2u);
  EXPECT_FALSE(group->has(ids_[1]));
  EXPECT_EQ(group->setName(L"RENAMED"), Acad::eOk);
  EXPECT_STREQ(group->name(), L"RENAMED");
  group->close();

  AcDbDictionary* groups = nullptr;
  ASSERT_EQ(db_.getGroupDictionary(groups), Acad::eOk);
  AcDbObjectId found;
  EXPECT_EQ(groups->getAt(L"renamed", found), Acad::eOk);
  EXPECT_EQ(found, a);
  EXPECT_FALSE(groups->has(L"ROUTE1"));
  AcDbDictionaryIterator* it = groups->newIterator();
  ASSERT_FALSE(it->done());
  EXPECT_STREQ(it->name(), L"RENAMED");
  EXPECT_FALSE(it->next());
  delete it;
  groups->close();

  // The group dictionary hangs in the named objects dictionary under ACAD_GROUP.
  AcDbDictionary* nod = nullptr;
  ASSERT_EQ(db_.getNamedObjectsDictionary(nod), Acad::eOk);
  EXPECT_EQ(nod->getAt(L"ACAD_GROUP", found), Acad::eOk);
  EXPECT_EQ(found, db_.groupDictionaryId());
  nod->close();
}

}  // namespace
