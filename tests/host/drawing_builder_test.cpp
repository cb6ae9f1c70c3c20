// The drawing builder: drawings that the maker's functions read as the route tools' drawings.
#include "tools/drawing_builder.h"

#include <acdocman.h>
#include <acutads.h>
#include <dbents.h>
#include "platform/acad/dbhost.h"
#include <dbsymtb.h>
#include <gtest/gtest.h>

#include <cmath>

#include <ApiComn.h>
#include <AttributeData.h>
#include <RootComn.h>
#include <VuRida.h>

namespace host {
namespace {

class DrawingBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::acad::OpenDocument(&db_, L"Test.dwg"); }
  void TearDown() override {
    EXPECT_EQ(platform::acad::DescribeOpenObjects(db_), L"") << "the builder left objects open";
    platform::acad::CloseDocument();
  }
  AcDbDatabase db_{true, false};
};

TEST_F(DrawingBuilderTest, ConnectionPointsFollowTheReference) {
  tools::DrawingBuilder b(&db_);
  b.DefineSegment(L"RT100", 100);
  b.DefineTee(L"RB50", 50);
  // Rotated by 90 degrees and scaled by 2 at (10,20): the block's (100,0) lands at (10,220).
  const AcDbObjectId segment = b.AddRouteElement(L"RT100", {10, 20, 90, 2});
  const AcDbObjectId tee = b.AddRouteElement(L"RB50", {0, 0});
  ASSERT_FALSE(b.failed()) << b.error().c_str();

  AcGePoint3dArray points;
  ASSERT_EQ(VuRida_GetConnectPoint(segment, points, L"RQ_CONNECT", nullptr), 0);
  ASSERT_EQ(points.length(), 2);
  EXPECT_NEAR(points[0].x, 10, 1e-9);
  EXPECT_NEAR(points[0].y, 20, 1e-9);
  EXPECT_NEAR(points[1].x, 10, 1e-9);
  EXPECT_NEAR(points[1].y, 220, 1e-9);

  ASSERT_EQ(VuRida_GetConnectPoint(tee, points, L"RQ_CONNECT", nullptr), 0);
  ASSERT_EQ(points.length(), 3);
  EXPECT_NEAR(points[0].x, -50, 1e-9);
  EXPECT_NEAR(points[1].x, 50, 1e-9);
  EXPECT_NEAR(points[2].y, 50, 1e-9);
}

TEST_F(DrawingBuilderTest, ElementsCarryTheRouteToolsDataAndGroups) {
  tools::DrawingBuilder b(&db_);
  b.DefineSegment(L"RT100", 100);
  b.DefinePart(L"KK_PANEL", 40);
  const AcDbObjectId panel = b.AddPart(L"KK_PANEL", {0, 0}, L"P-1");
  const auto run = b.AddStraightRun(L"RT100", 0, 0, 300, 0, 3);
  const AcDbObjectId group = b.AddGroup(L"ROUTE1", {panel, run[0], run[1], run[2]});
  const AcDbObjectId other = b.AddGroup(L"ROUTE2", {run[2]});
  ASSERT_FALSE(b.failed()) << b.error().c_str();
  ASSERT_EQ(run.size(), 3u);

  int kind = -1;
  ASSERT_EQ(RootComn_GetBlockRootKind(run[1], kind), 0);
  EXPECT_EQ(kind, 3);
  ASSERT_EQ(RootComn_GetBlockRootKind(panel, kind), 0);
  EXPECT_EQ(kind, 0);

  CStringArray records;
  ASSERT_EQ(ApiComn_extractAttributesArrayID(run[0], L"RQ_ATTR", records, 0), 0);
  ASSERT_EQ(records.GetSize(), 4);
  EXPECT_STREQ(records[0].GetString(), L"S501||2|1|55|0|");
  EXPECT_STREQ(records[1].GetString(), L"S004||2|1|55|0|");
  EXPECT_STREQ(records[2].GetString(), L"S3B9||2|1|55|0|");
  EXPECT_STREQ(records[3].GetString(), L"S002||2|1|55|0|");
  ASSERT_EQ(ApiComn_extractAttributesArrayID(panel, L"RQ_ATTR", records, 0), 0);
  ASSERT_EQ(records.GetSize(), 1);
  EXPECT_STREQ(records[0].GetString(), L"S001|P-1|2|1|55|0|");

  EXPECT_STREQ(CAttributeData::GetValueAttID(run[0], L"ETAT").GetString(), L"1");
  EXPECT_STREQ(CAttributeData::GetValueAttID(panel, L"S001").GetString(), L"P-1");

  // The segments meet end to end, and the panel sits at the first one's start.
  AcDbObjectIdArray members, found;
  for (const auto& id : {panel, run[0], run[1], run[2]}) members.append(id);
  int count = 0;
  ASSERT_EQ(RootComn_GetConnectBlock7(members, run[1], AcGePoint3d(100, 0, 0), found, count, 0, 3),
            0);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(found[0], run[0]);
  ASSERT_EQ(RootComn_GetConnectBlock5(group, run[0], AcGePoint3d(0, 0, 0), found, count, 0, 3), 0);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(found[0], panel);

  AcDbObjectIdArray groups;
  CStringArray names;
  CUIntArray sizes;
  ASSERT_EQ(RootComn_GetRootGroups(run[2], count, groups, names, sizes, 3, 0), 0);
  EXPECT_EQ(count, 2);
  (void)other;
}

TEST_F(DrawingBuilderTest, AnUnknownBlockStopsTheBuilder) {
  tools::DrawingBuilder b(&db_);
  EXPECT_TRUE(b.AddRouteElement(L"NOPE", {0, 0}).isNull());
  EXPECT_TRUE(b.failed());
  b.DefineSegment(L"RT1", 1);
  EXPECT_TRUE(b.AddRouteElement(L"RT1", {0, 0}).isNull());  // nothing more after a failure
}

// A drawing built with no document open (a benchmark's, a generator's) has no working database:
// block pieces still land on their layers.
TEST(DrawingBuilderWithoutDocumentTest, BlockPiecesGetTheirLayers) {
  AcDbDatabase db(true, false);
  tools::DrawingBuilder b(&db);
  const AcDbObjectId block = b.DefineSegment(L"RT10", 10);
  ASSERT_FALSE(b.failed()) << b.error().c_str();
  AcDbBlockTableRecord* record = nullptr;
  ASSERT_EQ(acdbOpenObject(record, block, AcDb::kForRead), Acad::eOk);
  int on_connect_layer = 0;
  for (AcDbObjectId id : record->entityIds()) {
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForRead), Acad::eOk);
    ACHAR* layer = e->layer();
    if (layer && std::wstring(layer) == L"RQ_CONNECT") ++on_connect_layer;
    if (layer) acutDelString(layer);
    e->close();
  }
  record->close();
  EXPECT_EQ(on_connect_layer, 2);  // the two connection points
  EXPECT_EQ(platform::acad::DescribeOpenObjects(db), L"");
}

}  // namespace
}  // namespace host
