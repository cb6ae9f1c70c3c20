// The maker's connection and group answers on the host's drawings stay right while the drawing
// changes: elements moved, turned, scaled, given another block, erased and unerased, blocks and
// the connection layer changed, members appended to and removed from groups,
// drawings read from files, and one drawing closed before another is opened.
#include <acdocman.h>
#include <dbents.h>
#include <dbgroup.h>
#include "platform/acad/dbhost.h"
#include <dbsymtb.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "tools/drawing_builder.h"
#include "host/dxf/dxf_reader.h"
#include "host/dxf/dxf_writer.h"
#include <RootComn.h>

namespace host {
namespace {

// A route of three 10-unit segments a, b, c from (0,0) to (30,0), in group ROUTE1 with a spare
// segment d that lies apart at (100,0); the list holds a, b, c, d in that order.
class RouteAnswersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::acad::OpenDocument(db_.get(), L"Routes.dwg");
    tools::DrawingBuilder b(db_.get());
    b.DefineSegment(L"RT10", 10);
    const auto run = b.AddStraightRun(L"RT10", 0, 0, 30, 0, 3);
    a_ = run[0];
    b_ = run[1];
    c_ = run[2];
    d_ = b.AddRouteElement(L"RT10", {100, 0});
    group_ = b.AddGroup(L"ROUTE1", {a_, b_, c_, d_});
    ASSERT_FALSE(b.failed()) << b.error().c_str();
    list_ = AcDbObjectIdArray();
    for (const AcDbObjectId& id : {a_, b_, c_, d_}) list_.append(id);
  }
  void TearDown() override {
    EXPECT_EQ(platform::acad::DescribeOpenObjects(*db_), L"");
    platform::acad::CloseDocument();
  }

  // The answer from the list and from the group at the joint (10,0) asked from a; both must
  // agree, since the group holds what the list holds.
  std::vector<AcDbObjectId> AtJoint() {
    AcDbObjectIdArray from_list, from_group;
    int count_list = -1, count_group = -1;
    RootComn_GetConnectBlock7(list_, a_, AcGePoint3d(10, 0, 0), from_list, count_list, 0, 3);
    RootComn_GetConnectBlock5(group_, a_, AcGePoint3d(10, 0, 0), from_group, count_group, 0, 3);
    std::vector<AcDbObjectId> list(from_list.begin(), from_list.end());
    std::vector<AcDbObjectId> group(from_group.begin(), from_group.end());
    EXPECT_EQ(list, group) << "the list and the group answer differently";
    EXPECT_EQ(count_list, static_cast<int>(list.size()));
    return list;
  }

  void Move(AcDbObjectId id, double dx, double dy) {
    AcDbEntity* e = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbEntity(e, id, AcDb::kForWrite));
    e->transformBy(AcGeMatrix3d::translation(AcGeVector3d(dx, dy, 0)));
    e->close();
  }
  void Erase(AcDbObjectId id, bool erasing) {
    AcDbObject* o = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(o, id, AcDb::kForWrite, true));
    EXPECT_EQ(Acad::eOk, o->erase(erasing));
    o->close();
  }
  std::vector<AcDbObjectId> GroupsOf(AcDbObjectId id) {
    int count = -1;
    AcDbObjectIdArray groups;
    CStringArray names;
    CUIntArray sizes;
    RootComn_GetRootGroups(id, count, groups, names, sizes, 3, 0);
    return std::vector<AcDbObjectId>(groups.begin(), groups.end());
  }

  // The entity count that GetRootGroups gives for the first group of `id`.
  unsigned FirstGroupSize(AcDbObjectId id) {
    int count = -1;
    AcDbObjectIdArray groups;
    CStringArray names;
    CUIntArray sizes;
    if (RootComn_GetRootGroups(id, count, groups, names, sizes, 3, 0) != 0) return 0;
    return sizes[0];
  }

  std::unique_ptr<AcDbDatabase> db_ = std::make_unique<AcDbDatabase>(true, false);
  AcDbObjectId a_, b_, c_, d_, group_;
  AcDbObjectIdArray list_;
};

using Ids = std::vector<AcDbObjectId>;

TEST_F(RouteAnswersTest, MovedElementsAreAnsweredWhereTheyAreNow) {
  EXPECT_EQ(AtJoint(), Ids({b_}));
  // d moved so that its start lies on the joint: answered after b (member order).
  Move(d_, -90, 0);
  EXPECT_EQ(AtJoint(), Ids({b_, d_}));
  // b moved away: no longer answered; moved back: answered again.
  Move(b_, 0, 50);
  EXPECT_EQ(AtJoint(), Ids({d_}));
  Move(b_, 0, -50);
  EXPECT_EQ(AtJoint(), Ids({b_, d_}));
  // At b's far end (20,0) c met b, and d ends there now too; c moved up leaves d alone.
  AcDbObjectIdArray blocks;
  int count = -1;
  EXPECT_EQ(0, RootComn_GetConnectBlock7(list_, b_, AcGePoint3d(20, 0, 0), blocks, count, 0, 3));
  EXPECT_EQ(Ids(blocks.begin(), blocks.end()), Ids({c_, d_}));
  Move(c_, 0, 5);
  EXPECT_EQ(0, RootComn_GetConnectBlock7(list_, b_, AcGePoint3d(20, 0, 0), blocks, count, 0, 3));
  EXPECT_EQ(Ids(blocks.begin(), blocks.end()), Ids({d_}));
}

// An element changed in place: its records and colour leave it where it was; a new rotation
// (about its start, which stays), scale, normal or block moves its far end off the joint
// (20,0) with c, and so do a connection point moved in its block and the connection layer
// renamed; each change undone brings it back. The answer at (20,0) is asked from c each time.
TEST_F(RouteAnswersTest, AnElementChangedInPlaceIsAnsweredByWhereItsPointsAreNow) {
  const auto at_far_end = [this] {
    AcDbObjectIdArray blocks;
    int count = -1;
    RootComn_GetConnectBlock7(list_, c_, AcGePoint3d(20, 0, 0), blocks, count, 0, 3);
    return Ids(blocks.begin(), blocks.end());
  };
  const auto change = [](AcDbObjectId id, const auto& how) {
    AcDbBlockReference* r = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(r, id, AcDb::kForWrite));
    EXPECT_EQ(Acad::eOk, how(*r));
    r->close();
  };
  ASSERT_EQ(at_far_end(), Ids({b_}));
  tools::DrawingBuilder builder(db_.get());
  ASSERT_TRUE(builder.SetStrings(b_, L"RQ_ATTR", {L"S004|1L-1|2|1|55|0|"}));
  change(b_, [](AcDbBlockReference& r) { return r.setColorIndex(3); });
  EXPECT_EQ(at_far_end(), Ids({b_})) << "records and colour";

  change(b_, [](AcDbBlockReference& r) { return r.setRotation(M_PI / 2); });
  EXPECT_EQ(at_far_end(), Ids()) << "rotated";
  change(b_, [](AcDbBlockReference& r) { return r.setRotation(0); });
  EXPECT_EQ(at_far_end(), Ids({b_}));
  change(b_, [](AcDbBlockReference& r) { return r.setScaleFactors(AcGeScale3d(2, 1, 1)); });
  EXPECT_EQ(at_far_end(), Ids()) << "scaled";
  change(b_, [](AcDbBlockReference& r) { return r.setScaleFactors(AcGeScale3d(1, 1, 1)); });
  EXPECT_EQ(at_far_end(), Ids({b_}));
  change(b_, [](AcDbBlockReference& r) { return r.setNormal(AcGeVector3d(0, 0, -1)); });
  EXPECT_EQ(at_far_end(), Ids()) << "turned over";
  change(b_, [](AcDbBlockReference& r) { return r.setNormal(AcGeVector3d(0, 0, 1)); });
  EXPECT_EQ(at_far_end(), Ids({b_}));
  const AcDbObjectId rt10 = builder.DefineSegment(L"RT10", 10);
  const AcDbObjectId rt20 = builder.DefineSegment(L"RT20", 20);
  change(b_, [rt20](AcDbBlockReference& r) { return r.setBlockTableRecord(rt20); });
  EXPECT_EQ(at_far_end(), Ids()) << "another block";
  change(b_, [rt10](AcDbBlockReference& r) { return r.setBlockTableRecord(rt10); });
  EXPECT_EQ(at_far_end(), Ids({b_}));

  // The far connection point of RT10 moved up, then back: every reference follows.
  const auto move_far_point = [rt10](double y) {
    AcDbBlockTableRecord* block = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(block, rt10, AcDb::kForRead));
    AcDbBlockTableRecordIterator* raw = nullptr;
    ASSERT_EQ(Acad::eOk, block->newIterator(raw));
    std::unique_ptr<AcDbBlockTableRecordIterator> it(raw);
    int moved = 0;
    for (; !it->done(); it->step()) {
      AcDbEntity* entity = nullptr;
      if (it->getEntity(entity, AcDb::kForWrite) != Acad::eOk) continue;
      if (auto* point = AcDbPoint::cast(entity); point && point->position().x == 10) {
        point->setPosition(AcGePoint3d(10, y, 0));
        ++moved;
      }
      entity->close();
    }
    block->close();
    EXPECT_EQ(moved, 1);
  };
  move_far_point(5);
  EXPECT_EQ(at_far_end(), Ids()) << "the block's point moved";
  move_far_point(0);
  EXPECT_EQ(at_far_end(), Ids({b_}));

  const auto rename_layer = [this](const wchar_t* from, const wchar_t* to) {
    AcDbLayerTable* table = nullptr;
    ASSERT_EQ(Acad::eOk, db_->getLayerTable(table, AcDb::kForRead));
    AcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(Acad::eOk, table->getAt(from, layer, AcDb::kForWrite));
    table->close();
    EXPECT_EQ(Acad::eOk, layer->setName(to));
    layer->close();
  };
  rename_layer(L"RQ_CONNECT", L"RQ_CONNECT_OLD");
  EXPECT_EQ(at_far_end(), Ids()) << "no connection layer";
  rename_layer(L"RQ_CONNECT_OLD", L"RQ_CONNECT");
  EXPECT_EQ(at_far_end(), Ids({b_}));
}

TEST_F(RouteAnswersTest, AnElementOpenWhileAskedIsAnsweredOnceClosed) {
  AcDbEntity* e = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbEntity(e, b_, AcDb::kForWrite));
  AtJoint();   // b cannot be read while it is open for write, whatever that answers
  e->close();  // closed without a change: nothing tells of it
  EXPECT_EQ(AtJoint(), Ids({b_}));
}

TEST_F(RouteAnswersTest, ErasedMembersAreNotAnsweredUntilUnerased) {
  EXPECT_EQ(AtJoint(), Ids({b_}));
  Erase(b_, true);
  EXPECT_EQ(AtJoint(), Ids());
  AcDbObjectIdArray blocks;
  int count = -1;
  EXPECT_EQ(1, RootComn_GetConnectBlock5(group_, a_, AcGePoint3d(10, 0, 0), blocks, count, 0, 3));
  EXPECT_EQ(Ids(), GroupsOf(b_));
  EXPECT_EQ(3u, FirstGroupSize(a_)) << "the erased member still counts";
  Erase(b_, false);
  EXPECT_EQ(AtJoint(), Ids({b_}));
  EXPECT_EQ(Ids({group_}), GroupsOf(b_));
  EXPECT_EQ(4u, FirstGroupSize(a_));
}

TEST_F(RouteAnswersTest, GroupMembersAppendedAndRemovedChangeTheAnswers) {
  tools::DrawingBuilder b(db_.get());
  const AcDbObjectId e = b.AddRouteElement(L"RT10", {10, 0});  // starts on the joint
  const AcDbObjectId other = b.AddGroup(L"ROUTE2", {c_});
  ASSERT_FALSE(b.failed());
  AcDbObjectIdArray blocks;
  int count = -1;
  auto at_joint = [&] {
    RootComn_GetConnectBlock5(group_, a_, AcGePoint3d(10, 0, 0), blocks, count, 0, 3);
    return Ids(blocks.begin(), blocks.end());
  };
  EXPECT_EQ(at_joint(), Ids({b_}));
  EXPECT_EQ(Ids(), GroupsOf(e));
  EXPECT_EQ(Ids({group_, other}), GroupsOf(c_));

  AcDbGroup* group = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(group, group_, AcDb::kForWrite));
  EXPECT_EQ(Acad::eOk, group->append(e));
  EXPECT_EQ(Acad::eOk, group->remove(b_));
  EXPECT_EQ(Acad::eOk, group->remove(c_));
  group->close();
  EXPECT_EQ(at_joint(), Ids({e}));
  EXPECT_EQ(Ids({group_}), GroupsOf(e));
  EXPECT_EQ(Ids(), GroupsOf(b_));
  EXPECT_EQ(Ids({other}), GroupsOf(c_));

  // Back into the group, b comes after e: the answer keeps the group's order. c joins ROUTE1
  // after ROUTE2, and its groups still come in the group dictionary's order.
  ASSERT_EQ(Acad::eOk, acdbOpenObject(group, group_, AcDb::kForWrite));
  EXPECT_EQ(Acad::eOk, group->append(b_));
  EXPECT_EQ(Acad::eOk, group->append(c_));
  group->close();
  EXPECT_EQ(at_joint(), Ids({e, b_}));
  EXPECT_EQ(Ids({group_, other}), GroupsOf(c_));
  // The group erased: it answers nothing and holds nothing.
  Erase(group_, true);
  EXPECT_EQ(-1, RootComn_GetConnectBlock5(group_, a_, AcGePoint3d(10, 0, 0), blocks, count, 0, 3));
  EXPECT_EQ(Ids(), GroupsOf(e));
  EXPECT_EQ(Ids({other}), GroupsOf(c_));
}

TEST_F(RouteAnswersTest, ListsChangedBetweenQuestionsAreReadAgain) {
  EXPECT_EQ(AtJoint(), Ids({b_}));
  // A copy of the list is the same list; a changed copy is another one.
  AcDbObjectIdArray copy = list_;
  AcDbObjectIdArray blocks;
  int count = -1;
  tools::DrawingBuilder b(db_.get());
  const AcDbObjectId e = b.AddRouteElement(L"RT10", {10, 0});
  ASSERT_FALSE(b.failed());
  copy.append(e);
  RootComn_GetConnectBlock7(copy, a_, AcGePoint3d(10, 0, 0), blocks, count, 0, 3);
  EXPECT_EQ(Ids(blocks.begin(), blocks.end()), Ids({b_, e}));
  // b replaced by e in place: b is no member any more.
  list_[1] = e;
  RootComn_GetConnectBlock7(list_, a_, AcGePoint3d(10, 0, 0), blocks, count, 0, 3);
  EXPECT_EQ(Ids(blocks.begin(), blocks.end()), Ids({e}));
  // An element listed twice is answered once, at its first place.
  list_.append(b_);
  list_.append(e);
  RootComn_GetConnectBlock7(list_, a_, AcGePoint3d(10, 0, 0), blocks, count, 0, 3);
  EXPECT_EQ(Ids(blocks.begin(), blocks.end()), Ids({e, b_}));
}

TEST(RouteAnswersAcrossDrawingsTest, ANewDrawingGetsNoAnswerFromTheOneClosedBefore) {
  // Two drawings made the same way, one after the other, with the route at another height:
  // the second drawing's answers come from its own geometry only.
  for (double y : {0.0, 50.0}) {
    auto db = std::make_unique<AcDbDatabase>(true, false);
    platform::acad::OpenDocument(db.get(), L"Routes.dwg");
    tools::DrawingBuilder b(db.get());
    b.DefineSegment(L"RT10", 10);
    const auto run = b.AddStraightRun(L"RT10", 0, y, 30, y, 3);
    const AcDbObjectId group = b.AddGroup(L"ROUTE1", run);
    ASSERT_FALSE(b.failed());
    AcDbObjectIdArray list, blocks;
    for (const AcDbObjectId& id : run) list.append(id);
    int count = -1;
    // The group first: the first question about the new drawing must not reach the old one's.
    EXPECT_EQ(0,
              RootComn_GetConnectBlock5(group, run[0], AcGePoint3d(10, y, 0), blocks, count, 0, 3));
    EXPECT_EQ(Ids(blocks.begin(), blocks.end()), Ids({run[1]})) << "y " << y;
    EXPECT_EQ(0,
              RootComn_GetConnectBlock7(list, run[0], AcGePoint3d(10, y, 0), blocks, count, 0, 3));
    EXPECT_EQ(Ids(blocks.begin(), blocks.end()), Ids({run[1]})) << "y " << y;
    const double elsewhere = y == 0 ? 50 : 0;
    EXPECT_EQ(1, RootComn_GetConnectBlock7(list, run[0], AcGePoint3d(10, elsewhere, 0), blocks,
                                           count, 0, 3))
        << "y " << y;
    EXPECT_EQ(1, RootComn_GetConnectBlock5(group, run[0], AcGePoint3d(10, elsewhere, 0), blocks,
                                           count, 0, 3))
        << "y " << y;
    platform::acad::CloseDocument();
  }
}

TEST_F(RouteAnswersTest, ADrawingReadFromAFileKnowsItsGroups) {
  const std::string dxf = WriteDxf(*db_);
  DxfReadResult read = ReadDxf(dxf);
  ASSERT_TRUE(read.ok()) << read.error.c_str();
  AcDbDatabase& db = *read.database;
  AcDbObjectId b, group;
  ASSERT_EQ(Acad::eOk, db.getAcDbObjectId(b, false, b_.handle()));
  ASSERT_EQ(Acad::eOk, db.getAcDbObjectId(group, false, group_.handle()));
  // The element names its group among its persistent reactors, as groups keep it.
  AcDbObject* element = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(element, b, AcDb::kForRead));
  const AcDbObjectIdArray reactors = element->getPersistentReactorIds();
  element->close();
  EXPECT_TRUE(reactors.contains(group));
  EXPECT_EQ(Ids({group}), GroupsOf(b));
  AcDbObjectId a;
  ASSERT_EQ(Acad::eOk, db.getAcDbObjectId(a, false, a_.handle()));
  AcDbObjectIdArray blocks;
  int count = -1;
  EXPECT_EQ(0, RootComn_GetConnectBlock5(group, a, AcGePoint3d(10, 0, 0), blocks, count, 0, 3));
  EXPECT_EQ(Ids(blocks.begin(), blocks.end()), Ids({b}));
  EXPECT_EQ(platform::acad::DescribeOpenObjects(db), L"");
}

}  // namespace
}  // namespace host
