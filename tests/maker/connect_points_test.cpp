// Connection points, block names and insertion points of route elements.
#include <gtest/gtest.h>

#include <cmath>

#include <VuRida.h>
#include "drawing_support.h"

namespace {

TEST(ConnectPointsTest, PointsOfARotatedAndScaledReferenceInStoredOrder) {
  maker_test::TestDrawing drawing;
  drawing.AddLayer(L"OTHER");
  drawing.AddBlock(L"RB1", {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), AcGePoint3d(5, 5, 0)});
  drawing.AddBlock(L"DECOY", {AcGePoint3d(1, 1, 0)}, L"OTHER");
  // Rotated by 90 degrees and scaled by 2 at (100, 50): (x, y) -> (100 - 2y, 50 + 2x).
  const AcDbObjectId id = drawing.AddReference(L"RB1", AcGePoint3d(100, 50, 0), M_PI / 2, 2.0);

  AcGePoint3dArray points;
  AcDbObjectIdArray point_ids;
  ASSERT_EQ(0, VuRida_GetConnectPoint(id, points, L"rq_connect", &point_ids));
  ASSERT_EQ(3, points.length());
  EXPECT_EQ(3, point_ids.length());
  const AcGePoint3d expected[] = {AcGePoint3d(100, 50, 0), AcGePoint3d(100, 70, 0),
                                  AcGePoint3d(90, 60, 0)};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(expected[i].x, points[i].x, 1e-9) << i;
    EXPECT_NEAR(expected[i].y, points[i].y, 1e-9) << i;
  }

  // Points on another layer are no connection points.
  const AcDbObjectId decoy = drawing.AddReference(L"DECOY", AcGePoint3d(0, 0, 0));
  EXPECT_NE(0, VuRida_GetConnectPoint(decoy, points, RQCONECT_LAYER, nullptr));
  EXPECT_EQ(0, points.length());
  EXPECT_NE(0, VuRida_GetConnectPoint(AcDbObjectId(), points, RQCONECT_LAYER, nullptr));

  CString name;
  EXPECT_EQ(0, VuRida_GetIDByBlockName(id, name));
  EXPECT_STREQ(L"RB1", name);
  wchar_t buffer[256];
  EXPECT_EQ(0, VuRida_GetIDByBlockName(decoy, buffer));
  EXPECT_STREQ(L"DECOY", buffer);
  AcGePoint3d origin;
  EXPECT_EQ(0, RootComn_GetOriginPoint(id, origin));
  EXPECT_TRUE(origin.isEqualTo(AcGePoint3d(100, 50, 0)));
  EXPECT_EQ(0, drawing.OpenObjects());
}

}  // namespace
