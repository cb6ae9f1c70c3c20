// Layers, new entities, the global scale, ellipse marks and polar points.
#include <gtest/gtest.h>

#include <cmath>

#include <dbelipse.h>
#include <dbents.h>
#include <dbmain.h>
#include <dbsymtb.h>

#include <VuRida.h>
#include "drawing_support.h"

namespace {

TEST(VuRidaDrawingTest, LayersEntitiesAndScale) {
  EXPECT_DOUBLE_EQ(1.0, VuRida_GetGlobalScale());  // no drawing at all
  maker_test::TestDrawing drawing;
  EXPECT_DOUBLE_EQ(1.0, VuRida_GetGlobalScale());
  ASSERT_EQ(Acad::eOk, drawing.db()->setDimscale(2.5));
  EXPECT_DOUBLE_EQ(2.5, VuRida_GetGlobalScale());

  AcDbObjectId first, second;
  ASSERT_EQ(0, VuRida_createLayer(RQANNO_LAYER, &first));
  ASSERT_EQ(0, VuRida_createLayer(L"rq_anno", &second));  // exists already, any case
  EXPECT_EQ(first, second);
  ASSERT_EQ(0, VuRida_createLayer(L"_RQ_凡例記入", nullptr));
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(Acad::eOk, drawing.db()->getLayerTable(layers, AcDb::kForRead));
  EXPECT_TRUE(layers->has(L"RQ_ANNO"));
  EXPECT_TRUE(layers->has(L"_RQ_凡例記入"));
  layers->close();

  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
  AcDbObjectId id;
  ASSERT_EQ(0, VuRida_addEntity(line, id));
  EXPECT_FALSE(id.isNull());
  EXPECT_EQ(id, line->objectId());
  EXPECT_EQ(drawing.db()->modelSpaceId(), line->blockId());
  EXPECT_EQ(1, drawing.OpenObjects());  // left open for the caller to close
  line->close();
  EXPECT_EQ(0, drawing.OpenObjects());
}

TEST(VuRidaDrawingTest, EllipseMarkAndPolarPoints) {
  maker_test::TestDrawing drawing;
  // A half ellipse across a route that runs along x: axis at 90 degrees, lengths 1.0 and 0.8.
  AcDbEllipse* mark = nullptr;
  ASSERT_EQ(0, RootComn_CreateEllipse(mark, AcGePoint3d(10, 5, 0), 1.0, 0.8, M_PI / 2, 0.0, M_PI));
  ASSERT_NE(nullptr, mark);
  AcGePoint3d start, end, middle;
  mark->getPointAtParam(0.0, start);
  mark->getPointAtParam(M_PI, end);
  mark->getPointAtParam(M_PI / 2, middle);
  EXPECT_NEAR(10.0, start.x, 1e-12);
  EXPECT_NEAR(5.5, start.y, 1e-12);
  EXPECT_NEAR(4.5, end.y, 1e-12);
  EXPECT_NEAR(9.6, middle.x, 1e-12);  // the minor half-axis 0.4, to the left of the axis
  delete mark;

  // A minor length above the major one draws the same curve.
  ASSERT_EQ(0, RootComn_CreateEllipse(mark, AcGePoint3d(0, 0, 0), 0.8, 1.0, 0.0, 0.0, M_PI));
  AcGePoint3d p;
  double param = 0;
  mark->getStartParam(param);
  mark->getPointAtParam(param, p);
  EXPECT_NEAR(0.4, p.x, 1e-12);
  EXPECT_NEAR(0.0, p.y, 1e-12);
  mark->getEndParam(param);
  mark->getPointAtParam(param, p);
  EXPECT_NEAR(-0.4, p.x, 1e-12);
  delete mark;
  EXPECT_NE(0, RootComn_CreateEllipse(mark, AcGePoint3d(0, 0, 0), 0.0, 1.0, 0, 0, M_PI));

  AcGePoint3d polar;
  ASSERT_EQ(0, RootComn_PointRotation2(AcGePoint3d(1, 2, 3), 2.0, 90.0, polar));
  EXPECT_NEAR(1.0, polar.x, 1e-12);
  EXPECT_NEAR(4.0, polar.y, 1e-12);
  EXPECT_DOUBLE_EQ(3.0, polar.z);
  ASSERT_EQ(0, RootComn_PointRotation2(AcGePoint3d(0, 0, 0), 1.0, 225.0, polar));
  EXPECT_NEAR(-std::sqrt(0.5), polar.x, 1e-12);
  EXPECT_NEAR(-std::sqrt(0.5), polar.y, 1e-12);
}

}  // namespace
