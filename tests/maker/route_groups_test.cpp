// Route kinds and the route groups that hold an element.
#include <gtest/gtest.h>

#include <ApiComn.h>
#include <VuRida.h>
#include "drawing_support.h"

namespace {

TEST(RouteGroupsTest, KindsFromTheLinkData) {
  maker_test::TestDrawing drawing;
  drawing.AddBlock(L"RT1", {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)});
  const AcDbObjectId route = drawing.AddReference(L"RT1", AcGePoint3d(0, 0, 0), 0, 1, 3);
  const AcDbObjectId part = drawing.AddReference(L"RT1", AcGePoint3d(0, 0, 0), 0, 1, 0);
  const AcDbObjectId plain = drawing.AddReference(L"RT1", AcGePoint3d(0, 0, 0), 0, 1, -1);
  const AcDbObjectId odd = drawing.AddReference(L"RT1", AcGePoint3d(0, 0, 0), 0, 1, -1);
  CStringArray link;
  link.Add(L"x3");
  ASSERT_EQ(0, ApiComn_appendAttributesArray(odd, L"RQ_LINK", link, 1));

  int kind = 99;
  EXPECT_EQ(0, RootComn_GetBlockRootKind(route, kind));
  EXPECT_EQ(3, kind);
  EXPECT_EQ(0, RootComn_GetBlockRootKind(part, kind));
  EXPECT_EQ(0, kind);
  kind = -1;
  EXPECT_NE(0, RootComn_GetBlockRootKind(plain, kind));
  EXPECT_NE(0, RootComn_GetBlockRootKind(odd, kind));
  EXPECT_EQ(-1, kind);  // left as preset
}

TEST(RouteGroupsTest, AnElementInTwoRouteGroups) {
  maker_test::TestDrawing drawing;
  drawing.AddBlock(L"RT1", {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)});
  const AcDbObjectId a = drawing.AddReference(L"RT1", AcGePoint3d(0, 0, 0));
  const AcDbObjectId b = drawing.AddReference(L"RT1", AcGePoint3d(10, 0, 0));
  const AcDbObjectId c = drawing.AddReference(L"RT1", AcGePoint3d(20, 0, 0));
  const AcDbObjectId panel = drawing.AddReference(L"RT1", AcGePoint3d(30, 0, 0), 0, 1, 0);
  const AcDbObjectId g1 = drawing.AddGroup(L"ROUTE1", {a, b});
  drawing.AddGroup(L"OTHER", {c});
  const AcDbObjectId g3 = drawing.AddGroup(L"ROUTE2", {b, c, panel});
  const AcDbObjectId parts_only = drawing.AddGroup(L"PARTS", {panel});

  int count = -1;
  AcDbObjectIdArray groups;
  CStringArray names;
  CUIntArray sizes;
  ASSERT_EQ(0, RootComn_GetRootGroups(b, count, groups, names, sizes, 3, 0));
  ASSERT_EQ(2, count);
  ASSERT_EQ(2, groups.length());
  EXPECT_EQ(g1, groups[0]);
  EXPECT_EQ(g3, groups[1]);
  EXPECT_STREQ(L"ROUTE1", names[0]);
  EXPECT_STREQ(L"ROUTE2", names[1]);
  EXPECT_EQ(2u, sizes[0]);
  EXPECT_EQ(3u, sizes[1]);

  // The panel's route group only; the group of parts alone is no route group, unless asked.
  ASSERT_EQ(0, RootComn_GetRootGroups(panel, count, groups, names, sizes, 3, 0));
  ASSERT_EQ(1, count);
  EXPECT_EQ(g3, groups[0]);
  ASSERT_EQ(0, RootComn_GetRootGroups(panel, count, groups, names, sizes, -1, 0));
  ASSERT_EQ(2, count);
  EXPECT_EQ(parts_only, groups[1]);
  ASSERT_EQ(0, RootComn_GetRootGroups(b, count, groups, names, sizes, 3, 1));
  EXPECT_EQ(1, count);

  const AcDbObjectId lonely = drawing.AddReference(L"RT1", AcGePoint3d(50, 0, 0));
  EXPECT_NE(0, RootComn_GetRootGroups(lonely, count, groups, names, sizes, 3, 0));
  EXPECT_EQ(0, count);
  EXPECT_EQ(0, drawing.OpenObjects());
}

}  // namespace
