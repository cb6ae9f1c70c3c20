// Which members of a list or group are connected to an element at a point.
#include <gtest/gtest.h>

#include <dbents.h>
#include <dbmain.h>
#include <gemat3d.h>

#include <VuRida.h>
#include "drawing_support.h"

namespace {

class RouteConnectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drawing_.AddBlock(L"RT1", {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)});
    from_ = drawing_.AddReference(L"RT1", AcGePoint3d(0, 0, 0));
    inside_ = drawing_.AddReference(L"RT1", AcGePoint3d(10 + 0.5e-10, 0, 0));
    outside_ = drawing_.AddReference(L"RT1", AcGePoint3d(10 + 2e-10, 0, 0));
    // Ends at (10, 0): its second point meets, rotated by 180 degrees about (20, 0).
    backwards_ = drawing_.AddReference(L"RT1", AcGePoint3d(20, 0, 0), M_PI);
    above_ = drawing_.AddReference(L"RT1", AcGePoint3d(10, 0, 5));
    members_ = {from_, outside_, above_, backwards_, inside_};
  }

  AcDbObjectIdArray Members() const {
    AcDbObjectIdArray ids;
    for (const auto& id : members_) ids.append(id);
    return ids;
  }

  maker_test::TestDrawing drawing_;
  AcDbObjectId from_, inside_, outside_, backwards_, above_;
  std::vector<AcDbObjectId> members_;
};

TEST_F(RouteConnectTest, ListMembersWithinTheToleranceInListOrder) {
  AcDbObjectIdArray blocks;
  int count = -1;
  ASSERT_EQ(
      0, RootComn_GetConnectBlock7(Members(), from_, AcGePoint3d(10, 0, 0), blocks, count, 0, 3));
  ASSERT_EQ(2, count);
  EXPECT_EQ(backwards_, blocks[0]);
  EXPECT_EQ(inside_, blocks[1]);

  // In plan view the element 5 units above meets too; a limit cuts the answer.
  ASSERT_EQ(
      0, RootComn_GetConnectBlock7(Members(), from_, AcGePoint3d(10, 0, 0), blocks, count, 0, 2));
  ASSERT_EQ(3, count);
  EXPECT_EQ(above_, blocks[0]);
  ASSERT_EQ(
      0, RootComn_GetConnectBlock7(Members(), from_, AcGePoint3d(10, 0, 0), blocks, count, 1, 3));
  EXPECT_EQ(1, count);

  // `from` itself is never answered; a point where nothing else meets gives none.
  EXPECT_NE(0,
            RootComn_GetConnectBlock7(Members(), from_, AcGePoint3d(0, 0, 0), blocks, count, 0, 3));
  EXPECT_EQ(0, count);
  EXPECT_NE(0,
            RootComn_GetConnectBlock7(Members(), from_, AcGePoint3d(5, 0, 0), blocks, count, 0, 3));
  EXPECT_EQ(0, drawing_.OpenObjects());
}

TEST_F(RouteConnectTest, GroupMembersOnlyAndMovedElementsNoLongerMeet) {
  const AcDbObjectId group = drawing_.AddGroup(L"ROUTE", {from_, inside_});
  AcDbObjectIdArray blocks;
  int count = 0;
  ASSERT_EQ(0, RootComn_GetConnectBlock5(group, from_, AcGePoint3d(10, 0, 0), blocks, count, 0, 3));
  ASSERT_EQ(1, count);
  EXPECT_EQ(inside_, blocks[0]);
  EXPECT_NE(0, RootComn_GetConnectBlock5(AcDbObjectId(), from_, AcGePoint3d(10, 0, 0), blocks,
                                         count, 0, 3));

  // Asked once, then the element moves away: the next answer follows the drawing.
  ASSERT_EQ(
      0, RootComn_GetConnectBlock7(Members(), from_, AcGePoint3d(10, 0, 0), blocks, count, 0, 3));
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbEntity(entity, inside_, AcDb::kForWrite));
  entity->transformBy(AcGeMatrix3d::translation(AcGeVector3d(0, 100, 0)));
  entity->close();
  ASSERT_EQ(
      0, RootComn_GetConnectBlock7(Members(), from_, AcGePoint3d(10, 0, 0), blocks, count, 0, 3));
  ASSERT_EQ(1, count);
  EXPECT_EQ(backwards_, blocks[0]);
  EXPECT_EQ(0, drawing_.OpenObjects());
}

TEST_F(RouteConnectTest, ElementsBetweenAListsMembersAreNotMembers) {
  // The whole list asked first, then a list and a group of its first and last members only:
  // the elements that meet at (10, 0) between them belong to neither.
  AcDbObjectIdArray blocks;
  int count = 0;
  ASSERT_EQ(
      0, RootComn_GetConnectBlock7(Members(), from_, AcGePoint3d(10, 0, 0), blocks, count, 0, 2));
  ASSERT_EQ(3, count);

  AcDbObjectIdArray ends;
  ends.append(from_);
  ends.append(inside_);
  ASSERT_EQ(0, RootComn_GetConnectBlock7(ends, from_, AcGePoint3d(10, 0, 0), blocks, count, 0, 2));
  ASSERT_EQ(1, count);
  EXPECT_EQ(inside_, blocks[0]);

  const AcDbObjectId group = drawing_.AddGroup(L"ENDS", {inside_, from_});
  ASSERT_EQ(0,
            RootComn_GetConnectBlock5(group, inside_, AcGePoint3d(10, 0, 0), blocks, count, 0, 2));
  ASSERT_EQ(1, count);
  EXPECT_EQ(from_, blocks[0]);
  EXPECT_EQ(0, drawing_.OpenObjects());
}

}  // namespace
