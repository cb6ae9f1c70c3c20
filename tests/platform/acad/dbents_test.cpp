// Entity geometry: curves by parameter, text boxes by alignment, hatch loops and transforms.
#include <gtest/gtest.h>

#include <cmath>

#include <dbelipse.h>
#include <dbents.h>
#include <dbhatch.h>
#include <dbpl.h>

namespace {

constexpr double kQuarter = 1.5707963267948966;

TEST(EntityGeometryTest, PolylineBulgesFollowTheirArcs) {
  AcDbPolyline pl;
  // A bulge of 1 is a half circle, counter-clockwise from (0,0) to (2,0): it passes (1,-1).
  pl.addVertexAt(0, AcGePoint2d(0, 0), 1.0);
  pl.addVertexAt(1, AcGePoint2d(2, 0));
  pl.addVertexAt(2, AcGePoint2d(2, 5));
  AcGePoint3d p;
  ASSERT_EQ(pl.getPointAtParam(0.5, p), Acad::eOk);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(1, -1, 0))) << p.x << "," << p.y;
  ASSERT_EQ(pl.getPointAtParam(1.5, p), Acad::eOk);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(2, 2.5, 0)));
  EXPECT_EQ(pl.getPointAtParam(2.5, p), Acad::eInvalidInput);
  pl.setClosed(true);
  ASSERT_EQ(pl.getPointAtParam(2.5, p), Acad::eOk);  // the closing segment back to (0,0)
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(1, 2.5, 0)));
  AcDbExtents ext;
  ASSERT_EQ(pl.getGeomExtents(ext), Acad::eOk);
  EXPECT_NEAR(ext.minPoint().y, -1, 1e-9);
  EXPECT_FALSE(pl.isOnlyLines());
  EXPECT_EQ(pl.getPointAt(7, p), Acad::eInvalidIndex);

  // A mirror turns the bulge's direction round.
  AcGeMatrix3d mirror;
  mirror.entry[1][1] = -1;
  ASSERT_EQ(pl.transformBy(mirror), Acad::eOk);
  ASSERT_EQ(pl.getPointAtParam(0.5, p), Acad::eOk);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(1, 1, 0))) << p.x << "," << p.y;
}

TEST(EntityGeometryTest, EllipsesAndArcs) {
  // Major axis 4 along x, minor 2; a quarter ellipse from angle 0 to 90 degrees.
  AcDbEllipse e(AcGePoint3d(1, 1, 0), AcGeVector3d::kZAxis, AcGeVector3d(4, 0, 0), 0.5, 0,
                kQuarter);
  AcGePoint3d start, end;
  ASSERT_EQ(e.getStartPoint(start), Acad::eOk);
  ASSERT_EQ(e.getEndPoint(end), Acad::eOk);
  EXPECT_TRUE(start.isEqualTo(AcGePoint3d(5, 1, 0)));
  EXPECT_TRUE(end.isEqualTo(AcGePoint3d(1, 3, 0)));
  EXPECT_FALSE(e.isClosed());
  // At 45 degrees, the point on the ellipse satisfies y/x = 1 and x²/16 + y²/4 = 1.
  AcGePoint3d mid;
  e.getPointAtParam(e.paramAtAngle(kQuarter / 2), mid);
  double x = mid.x - 1, y = mid.y - 1;
  EXPECT_NEAR(x, y, 1e-12);
  EXPECT_NEAR(x * x / 16 + y * y / 4, 1, 1e-12);
  EXPECT_EQ(e.set(AcGePoint3d::kOrigin, AcGeVector3d::kZAxis, AcGeVector3d(1, 0, 1), 0.5),
            Acad::eInvalidInput);

  AcDbArc arc(AcGePoint3d(0, 0, 0), 2, 0, kQuarter);
  ASSERT_EQ(arc.transformBy(AcGeMatrix3d::rotation(kQuarter, AcGeVector3d::kZAxis)), Acad::eOk);
  ASSERT_EQ(arc.getStartPoint(start), Acad::eOk);
  EXPECT_TRUE(start.isEqualTo(AcGePoint3d(0, 2, 0)));
  AcDbExtents ext;
  ASSERT_EQ(arc.getGeomExtents(ext), Acad::eOk);
  EXPECT_TRUE(ext.minPoint().isEqualTo(AcGePoint3d(-2, 0, 0)));
  EXPECT_TRUE(ext.maxPoint().isEqualTo(AcGePoint3d(0, 2, 0)));
}

TEST(EntityGeometryTest, TextBoxFollowsAlignmentAndWidth) {
  // "AB配線": two half-width and two full-width characters at height 2: 1+1+2+2 half-heights,
  // so 6 × 1 = 6 units wide at width factor 1, 12 at width factor 2.
  AcDbText text(AcGePoint3d(10, 10, 0), L"AB配線", AcDbObjectId::kNull, 2.0);
  AcDbExtents ext;
  ASSERT_EQ(text.getGeomExtents(ext), Acad::eOk);
  EXPECT_TRUE(ext.minPoint().isEqualTo(AcGePoint3d(10, 10, 0)));
  EXPECT_TRUE(ext.maxPoint().isEqualTo(AcGePoint3d(16, 12, 0)));

  text.setWidthFactor(2.0);
  text.setHorizontalMode(AcDb::kTextMid);
  text.setAlignmentPoint(AcGePoint3d(0, 0, 0));
  ASSERT_EQ(text.getGeomExtents(ext), Acad::eOk);
  EXPECT_TRUE(ext.minPoint().isEqualTo(AcGePoint3d(-6, -1, 0)));
  EXPECT_TRUE(ext.maxPoint().isEqualTo(AcGePoint3d(6, 1, 0)));

  text.setHorizontalMode(AcDb::kTextRight);
  text.setVerticalMode(AcDb::kTextTop);
  text.setRotation(kQuarter);
  ASSERT_EQ(text.getGeomExtents(ext), Acad::eOk);
  // Turned a quarter: the text runs up to the anchor and hangs to its right (-up is +x).
  EXPECT_TRUE(ext.minPoint().isEqualTo(AcGePoint3d(0, -12, 0)));
  EXPECT_TRUE(ext.maxPoint().isEqualTo(AcGePoint3d(2, 0, 0)));
  EXPECT_EQ(text.setHeight(0), Acad::eInvalidInput);
}

TEST(EntityGeometryTest, HatchLoopsAndPattern) {
  AcDbHatch hatch;
  EXPECT_TRUE(hatch.isSolidFill());
  ASSERT_EQ(hatch.setPattern(AcDbHatch::kPreDefined, L"ANSI31"), Acad::eOk);
  EXPECT_FALSE(hatch.isSolidFill());
  hatch.setAssociative(false);
  AcGePoint2dArray square;
  square.append(AcGePoint2d(0, 0));
  square.append(AcGePoint2d(4, 0));
  square.append(AcGePoint2d(4, 4));
  square.append(AcGePoint2d(0, 4));
  AcGeDoubleArray bulges;
  EXPECT_EQ(hatch.appendLoop(AcDbHatch::kExternal, square, bulges), Acad::eOk);
  AcGeDoubleArray wrong;
  wrong.append(0.0);
  EXPECT_EQ(hatch.appendLoop(AcDbHatch::kDefault, square, wrong), Acad::eInvalidInput);
  ASSERT_EQ(hatch.numLoops(), 1);
  Adesk::Int32 type = 0;
  AcGePoint2dArray vertices;
  ASSERT_EQ(hatch.getLoopAt(0, type, vertices, bulges), Acad::eOk);
  EXPECT_EQ(type, AcDbHatch::kExternal | AcDbHatch::kPolyline);
  ASSERT_EQ(vertices.length(), 4);
  EXPECT_EQ(bulges.length(), 4);
  EXPECT_TRUE(vertices[2].isEqualTo(AcGePoint2d(4, 4)));
  ASSERT_EQ(hatch.transformBy(AcGeMatrix3d::translation(AcGeVector3d(1, 2, 0))), Acad::eOk);
  AcDbExtents ext;
  ASSERT_EQ(hatch.getGeomExtents(ext), Acad::eOk);
  EXPECT_TRUE(ext.minPoint().isEqualTo(AcGePoint3d(1, 2, 0)));
  EXPECT_TRUE(ext.maxPoint().isEqualTo(AcGePoint3d(5, 6, 0)));
  EXPECT_EQ(hatch.evaluateHatch(), Acad::eOk);
  EXPECT_EQ(hatch.evaluationCount(), 1);
}

}  // namespace
