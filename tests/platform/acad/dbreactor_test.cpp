// Database listeners (AcDbDatabaseReactor): what they are told and when, and the content stamp
// of arrays that lets a library recognise a list it has seen.
#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include "platform/acad/dbhost.h"
#include <dbsymtb.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Writes one line per notification: "appended AcDbLine", "modified AcDbLine", "erased ...",
// "unerased ...", "goodbye"; checks that the object can be read while it is told.
class Recorder : public AcDbDatabaseReactor {
 public:
  void objectAppended(const AcDbDatabase*, const AcDbObject* obj) override {
    Add(L"appended", obj);
  }
  void objectModified(const AcDbDatabase*, const AcDbObject* obj) override {
    EXPECT_TRUE(obj->isReadEnabled()) << "told about an object it cannot read";
    Add(L"modified", obj);
  }
  void objectErased(const AcDbDatabase*, const AcDbObject* obj, Adesk::Boolean erased) override {
    EXPECT_EQ(erased, obj->isErased());
    Add(erased ? L"erased" : L"unerased", obj);
  }
  void goodbye(const AcDbDatabase*) override { lines.push_back(L"goodbye"); }

  std::vector<std::wstring> Take() { return std::exchange(lines, {}); }
  std::vector<std::wstring> lines;

 private:
  void Add(const wchar_t* what, const AcDbObject* obj) {
    lines.push_back(std::wstring(what) + L" " + obj->isA()->name());
  }
};

using Lines = std::vector<std::wstring>;

AcDbObjectId AddLine(AcDbDatabase& db) {
  AcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(Acad::eOk, acdbOpenObject(space, db.modelSpaceId(), AcDb::kForWrite));
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
  line->setDatabaseDefaults(&db);
  AcDbObjectId id;
  EXPECT_EQ(Acad::eOk, space->appendAcDbEntity(id, line));
  line->close();
  space->close();
  return id;
}

TEST(DatabaseReactorTest, ToldOfAppendsChangesErasesAndTheEnd) {
  Recorder recorder;
  auto db = std::make_unique<AcDbDatabase>(true, false);
  db->addReactor(&recorder);
  db->addReactor(&recorder);  // once only
  const AcDbObjectId id = AddLine(*db);
  // The new line is told as appended, then as modified when its first write open ends; the
  // model space that took it changed too.
  EXPECT_EQ(recorder.Take(),
            Lines({L"appended AcDbLine", L"modified AcDbLine", L"modified AcDbBlockTableRecord"}));

  AcDbEntity* e = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbEntity(e, id, AcDb::kForWrite));
  e->setColorIndex(1);
  EXPECT_EQ(recorder.Take(), Lines()) << "told before the change was closed";
  e->close();
  EXPECT_EQ(recorder.Take(), Lines({L"modified AcDbLine"}));

  // A write open that changes nothing, and reads, tell nothing.
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbEntity(e, id, AcDb::kForWrite));
  e->close();
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbEntity(e, id, AcDb::kForRead));
  EXPECT_EQ(1, e->colorIndex());
  e->close();
  EXPECT_EQ(recorder.Take(), Lines());

  ASSERT_EQ(Acad::eOk, acdbOpenAcDbEntity(e, id, AcDb::kForWrite));
  e->erase();
  e->close();
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbEntity(e, id, AcDb::kForWrite, true));
  e->erase(false);
  e->close();
  EXPECT_EQ(recorder.Take(), Lines({L"erased AcDbLine", L"modified AcDbLine", L"unerased AcDbLine",
                                    L"modified AcDbLine"}));

  db.reset();
  EXPECT_EQ(recorder.Take(), Lines({L"goodbye"}));
}

TEST(DatabaseReactorTest, GroupMembershipChangesTheGroupAndItsMembersNameIt) {
  Recorder recorder;
  AcDbDatabase db(true, false);
  const AcDbObjectId a = AddLine(db), b = AddLine(db);
  AcDbDictionary* groups = nullptr;
  ASSERT_EQ(Acad::eOk, db.getGroupDictionary(groups, AcDb::kForWrite));
  auto* group = new AcDbGroup(L"route");
  AcDbObjectId group_id;
  ASSERT_EQ(Acad::eOk, groups->setAt(L"R1", group, group_id));
  group->close();
  groups->close();

  db.addReactor(&recorder);
  ASSERT_EQ(Acad::eOk, acdbOpenObject(group, group_id, AcDb::kForWrite));
  group->append(a);
  group->append(b);
  group->remove(a);
  group->close();
  EXPECT_EQ(recorder.Take(), Lines({L"modified AcDbGroup"}));

  AcDbObject* member = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(member, a, AcDb::kForRead));
  EXPECT_FALSE(member->getPersistentReactorIds().contains(group_id));
  member->close();
  ASSERT_EQ(Acad::eOk, acdbOpenObject(member, b, AcDb::kForRead));
  EXPECT_TRUE(member->getPersistentReactorIds().contains(group_id));
  member->close();

  // Removed listeners hear nothing more.
  EXPECT_EQ(Acad::eOk, db.removeReactor(&recorder));
  EXPECT_EQ(Acad::eKeyNotFound, db.removeReactor(&recorder));
  AddLine(db);
  EXPECT_EQ(recorder.Take(), Lines());
  EXPECT_EQ(platform::acad::DescribeOpenObjects(db), L"");
}

TEST(ArrayStampTest, SameStampMeansSameContent) {
  AcDbObjectIdArray a;
  const auto empty = a.contentStamp();
  AcDbObjectIdArray other;
  EXPECT_NE(empty, other.contentStamp()) << "two arrays made apart share a stamp";

  a.append(AcDbObjectId());
  const auto one = a.contentStamp();
  EXPECT_NE(empty, one);
  AcDbObjectIdArray copy = a;
  EXPECT_EQ(one, copy.contentStamp());
  const AcDbObjectIdArray& read = a;
  (void)read[0];
  (void)read.at(0);
  (void)read.length();
  EXPECT_EQ(one, a.contentStamp()) << "reading changed the stamp";

  // Every way of changing it gives a stamp not seen before.
  std::vector<unsigned long long> seen = {empty, other.contentStamp(), one};
  auto changed = [&](const AcDbObjectIdArray& array) {
    const auto now = array.contentStamp();
    const bool fresh = std::find(seen.begin(), seen.end(), now) == seen.end();
    seen.push_back(now);
    return fresh;
  };
  a[0] = AcDbObjectId();
  EXPECT_TRUE(changed(a)) << "operator[]";
  a.at(0) = AcDbObjectId();
  EXPECT_TRUE(changed(a)) << "at";
  a.append(copy);
  EXPECT_TRUE(changed(a)) << "append of an array";
  a.insertAt(0, AcDbObjectId());
  EXPECT_TRUE(changed(a)) << "insertAt";
  a.removeAt(0);
  EXPECT_TRUE(changed(a)) << "removeAt";
  a.removeLast();
  EXPECT_TRUE(changed(a)) << "removeLast";
  a.remove(AcDbObjectId());
  EXPECT_TRUE(changed(a)) << "remove";
  a.setLogicalLength(3);
  EXPECT_TRUE(changed(a)) << "setLogicalLength";
  a.removeAll();
  EXPECT_TRUE(changed(a)) << "removeAll";

  // Moving takes the stamp along; what is left behind is a new, empty array.
  const auto before = copy.contentStamp();
  AcDbObjectIdArray moved = std::move(copy);
  EXPECT_EQ(before, moved.contentStamp());
  EXPECT_TRUE(changed(copy)) << "the moved-from array kept the stamp";
  EXPECT_EQ(0, copy.length());  // NOLINT(bugprone-use-after-move): what moving leaves
  copy = std::move(moved);
  EXPECT_EQ(before, copy.contentStamp());
  EXPECT_TRUE(changed(moved));
}

}  // namespace
