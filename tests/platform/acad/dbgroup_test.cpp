// Groups in the group dictionary: members in order, erased members, and which groups hold an
// entity.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbsymtb.h>
#include "platform/acad/dbhost.h"

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

TEST_F(GroupTest, ALargeGroupRefusesRepeatsAndForgetsWhatItLost) {
  std::vector<AcDbObjectId> points;
  for (int i = 0; i < 100; ++i) points.push_back(AddPoint(10 + i));
  const AcDbObjectId gid = AddGroup(L"LARGE", {});
  AcDbGroup* group = nullptr;
  ASSERT_EQ(acdbOpenObject(group, gid, AcDb::kForWrite), Acad::eOk);
  for (const AcDbObjectId& id : points) ASSERT_EQ(group->append(id), Acad::eOk);
  // Repeats are refused, from the start, the middle and the end of the list.
  for (size_t i : {size_t{0}, size_t{50}, size_t{99}})
    EXPECT_EQ(group->append(points[i]), Acad::eAlreadyInGroup) << i;
  EXPECT_TRUE(group->has(points[70]));
  EXPECT_FALSE(group->has(ids_[0]));
  // A member removed is no member, and may come back (at the end).
  ASSERT_EQ(group->remove(points[50]), Acad::eOk);
  EXPECT_FALSE(group->has(points[50]));
  EXPECT_EQ(group->append(points[50]), Acad::eOk);
  EXPECT_EQ(group->append(points[50]), Acad::eAlreadyInGroup);

  // A copy holds the same members, and what it gains later is its own.
  EXPECT_TRUE(group->has(points[0]));  // the group's set is made before the copy
  std::unique_ptr<AcDbGroup> copy(static_cast<AcDbGroup*>(group->clone()));
  group->close();
  ASSERT_EQ(acdbOpenObject(group, gid, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(copy->numEntities(), 100u);
  EXPECT_EQ(group->append(ids_[1]), Acad::eOk);
  EXPECT_TRUE(group->has(ids_[1]));
  EXPECT_FALSE(copy->has(ids_[1]));
  EXPECT_EQ(copy->numEntities(), 100u);

  // After clear, every former member may be appended again.
  ASSERT_EQ(group->clear(), Acad::eOk);
  EXPECT_FALSE(group->has(points[0]));
  for (const AcDbObjectId& id : points) EXPECT_EQ(group->append(id), Acad::eOk);
  EXPECT_EQ(group->numEntities(), 100u);
  group->close();
}

}  // namespace
