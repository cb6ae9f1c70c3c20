// Geometry: matrices (products, rotations, inverse, determinant), vectors and tolerances.
#include <gtest/gtest.h>

#include <cmath>

#include <gemat3d.h>
#include <gescl3d.h>

namespace {

constexpr double kQuarter = 1.5707963267948966;

TEST(GeometryTest, RotationsAboutAxesThroughPoints) {
  struct Case {
    double angle;
    AcGeVector3d axis;
    AcGePoint3d center, in, out;
  };
  const Case cases[] = {
      {kQuarter, AcGeVector3d::kZAxis, AcGePoint3d::kOrigin, {1, 0, 0}, {0, 1, 0}},
      {kQuarter, AcGeVector3d::kZAxis, {1, 1, 0}, {2, 1, 0}, {1, 2, 0}},
      {-kQuarter, AcGeVector3d::kZAxis, AcGePoint3d::kOrigin, {1, 0, 0}, {0, -1, 0}},
      {kQuarter, AcGeVector3d::kXAxis, AcGePoint3d::kOrigin, {0, 1, 0}, {0, 0, 1}},
      {2 * kQuarter, AcGeVector3d(1, 1, 0), AcGePoint3d::kOrigin, {1, 0, 0}, {0, 1, 0}},
  };
  for (const Case& c : cases) {
    AcGePoint3d p = AcGeMatrix3d::rotation(c.angle, c.axis, c.center) * c.in;
    EXPECT_TRUE(p.isEqualTo(c.out)) << c.angle << " -> " << p.x << "," << p.y << "," << p.z;
  }
}

TEST(GeometryTest, ProductsInverseAndDeterminant) {
  AcGeMatrix3d move = AcGeMatrix3d::translation(AcGeVector3d(10, 0, 0));
  AcGeMatrix3d turn = AcGeMatrix3d::rotation(kQuarter, AcGeVector3d::kZAxis);
  // move · turn turns first, then moves.
  EXPECT_TRUE(((move * turn) * AcGePoint3d(1, 0, 0)).isEqualTo(AcGePoint3d(10, 1, 0)));
  AcGeMatrix3d pre = turn;
  pre.preMultBy(move);
  EXPECT_TRUE(pre.isEqualTo(move * turn));
  AcGeMatrix3d post = turn;
  post.postMultBy(move);
  EXPECT_TRUE((post * AcGePoint3d(1, 0, 0)).isEqualTo(AcGePoint3d(0, 11, 0)));

  AcGeMatrix3d scale;
  AcGeScale3d(2, 3, 4).getMatrix(scale);
  EXPECT_NEAR(scale.det(), 24, 1e-12);
  EXPECT_NEAR(turn.det(), 1, 1e-12);
  AcGeMatrix3d all = move * turn * scale;
  AcGeMatrix3d inv = all.inverse();
  EXPECT_TRUE((all * inv).isEqualTo(AcGeMatrix3d::kIdentity));
  AcGePoint3d p(3, -4, 5);
  EXPECT_TRUE((inv * (all * p)).isEqualTo(p));
  EXPECT_NEAR(inv.det(), 1.0 / 24, 1e-12);

  AcGeMatrix3d cs;
  cs.setCoordSystem(AcGePoint3d(1, 2, 3), AcGeVector3d::kYAxis, -AcGeVector3d::kXAxis,
                    AcGeVector3d::kZAxis);
  EXPECT_TRUE((cs * AcGePoint3d(1, 0, 0)).isEqualTo(AcGePoint3d(1, 3, 3)));
  EXPECT_TRUE(AcGeMatrix3d::scaling(2, AcGePoint3d(1, 1, 1)) * AcGePoint3d(2, 2, 2) ==
              AcGePoint3d(3, 3, 3));
}

TEST(GeometryTest, VectorsAndTolerances) {
  EXPECT_NEAR(AcGeVector3d::kXAxis.angleTo(AcGeVector3d(0, 1, 0)), kQuarter, 1e-15);
  EXPECT_NEAR(AcGeVector3d::kXAxis.angleTo(AcGeVector3d(0, -1, 0), AcGeVector3d::kZAxis),
              3 * kQuarter, 1e-15);
  EXPECT_TRUE(AcGeVector3d(3, 4, 0).normal().isEqualTo(AcGeVector3d(0.6, 0.8, 0)));
  EXPECT_DOUBLE_EQ(AcGeVector3d(3, 4, 0).length(), 5);
  EXPECT_TRUE(AcGeVector3d::kXAxis.crossProduct(AcGeVector3d::kYAxis) == AcGeVector3d::kZAxis);

  // Points are equal within 1e-10 by default, vectors within 1e-12.
  EXPECT_DOUBLE_EQ(AcGeContext::gTol.equalPoint(), 1e-10);
  EXPECT_DOUBLE_EQ(AcGeContext::gTol.equalVector(), 1e-12);
  EXPECT_TRUE(AcGePoint3d(1, 1, 0).isEqualTo(AcGePoint3d(1 + 5e-11, 1, 0)));
  EXPECT_FALSE(AcGePoint3d(1, 1, 0).isEqualTo(AcGePoint3d(1 + 5e-10, 1, 0)));
  AcGeTol loose;
  loose.setEqualPoint(1e-3);
  EXPECT_TRUE(AcGePoint3d(1, 1, 0).isEqualTo(AcGePoint3d(1.0005, 1, 0), loose));
  EXPECT_DOUBLE_EQ(AcGePoint3d(0, 0, 0).distanceTo(AcGePoint3d(1, 2, 2)), 3);
  EXPECT_TRUE((AcGePoint3d(1, 2, 3) - AcGePoint3d(1, 0, 0)).isEqualTo(AcGeVector3d(0, 2, 3)));
}

}  // namespace
