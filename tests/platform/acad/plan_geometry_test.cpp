// Plan-view geometry: segments and arcs against rectangles, edges and corners included, and the
// arcs of polyline bulges.
#include "platform/acad/plan_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>

namespace platform::acad {

std::ostream& operator<<(std::ostream& out, const PlanPoint& p) {
  return out << "(" << p.x << "," << p.y << ")";
}

namespace {

constexpr double kPi = std::numbers::pi;
constexpr PlanRectangle kSquare{0, 0, 10, 10};

TEST(PlanGeometryTest, SegmentsMeetARectangleWhenAPointOfThemLiesInItEdgesIncluded) {
  const struct {
    PlanPoint a, b;
    bool meets;
  } cases[] = {
      {{2, 2}, {8, 8}, true},       // wholly inside
      {{5, 5}, {20, 5}, true},      // one end inside
      {{-5, 5}, {15, 5}, true},     // through, both ends outside
      {{-5, 12}, {12, -5}, true},   // diagonally through, both ends outside
      {{10, 3}, {20, 3}, true},     // starts on the right edge
      {{0, 10}, {-5, 15}, true},    // starts on a corner
      {{-5, 5}, {5, 15}, true},     // outside but for the corner (0,10), which it passes
      {{-5, 10}, {15, 10}, true},   // runs along the top edge
      {{3, 0}, {7, 0}, true},       // lies on the bottom edge
      {{-5, 5}, {5, -5}, true},     // passes through the corner (0,0)
      {{-5, 4}, {4, -5}, false},    // passes just outside the corner (0,0)
      {{9, 12}, {12, 9}, false},    // its box overlaps the square, the segment passes by
      {{8, 12}, {12, 8}, true},     // touches the corner (10,10)
      {{-5, 11}, {15, 11}, false},  // parallel above
      {{11, -5}, {11, 15}, false},  // parallel to the right
      {{20, 20}, {30, 30}, false},  // far away
      {{5, 5}, {5, 5}, true},       // a point inside
      {{15, 5}, {15, 5}, false},    // a point outside
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SegmentMeetsRectangle(c.a, c.b, kSquare), c.meets) << c.a << "-" << c.b;
    EXPECT_EQ(SegmentMeetsRectangle(c.b, c.a, kSquare), c.meets) << c.b << "-" << c.a;
  }
}

TEST(PlanGeometryTest, ArcsMeetARectangleByTheirSweepNotTheirCircle) {
  const struct {
    const char* what;
    PlanArc arc;
    bool meets;
  } cases[] = {
      {"circle inside", {{5, 5}, 2, 0, 0}, true},
      {"circle round the square, touching nothing", {{5, 5}, 8, 0, 0}, false},
      {"circle across the right edge", {{12, 5}, 3, 0, 0}, true},
      {"circle touching the right edge from outside", {{13, 5}, 3, 0, 0}, true},
      {"circle a hair off the right edge", {{13.001, 5}, 3, 0, 0}, false},
      {"circle whose box covers the corner, the circle not", {{13, 13}, 4, 0, 0}, false},
      {"circle through the corner region", {{13, 13}, 4.5, 0, 0}, true},
      {"arc of that circle turned away from the square", {{13, 13}, 4.5, 0, kPi / 2}, false},
      {"arc of that circle facing the square", {{13, 13}, 4.5, kPi, 3 * kPi / 2}, true},
      {"arc over the top, dipping into the square", {{5, 14}, 5, kPi, 2 * kPi}, true},
      {"arc over the top, bowing away from it", {{5, 14}, 5, 0, kPi}, false},
      {"arc sweeping past 0 radians", {{-3, 5}, 4, -kPi / 4, kPi / 4}, true},
      {"the rest of that circle", {{-3, 5}, 4, kPi / 4, -kPi / 4}, false},
  };
  for (const auto& c : cases) {
    const PlanArc& a = c.arc;
    const PlanPoint from{a.centre.x + a.radius * std::cos(a.start),
                         a.centre.y + a.radius * std::sin(a.start)};
    const PlanPoint to{a.centre.x + a.radius * std::cos(a.end),
                       a.centre.y + a.radius * std::sin(a.end)};
    EXPECT_EQ(ArcMeetsRectangle(a, from, to, kSquare), c.meets) << c.what;
  }
}

TEST(PlanGeometryTest, BulgesMakeArcsOnTheRightSide) {
  // Bulge 1 is a half circle: from (0,0) to (10,0) counter-clockwise it swings below the chord
  // through (5,-5); clockwise (-1) above it through (5,5).
  const PlanArc below = BulgeArc({0, 0}, {10, 0}, 1);
  EXPECT_NEAR(below.centre.x, 5, 1e-12);
  EXPECT_NEAR(below.centre.y, 0, 1e-12);
  EXPECT_NEAR(below.radius, 5, 1e-12);
  EXPECT_NEAR(DistToArc({5, -5}, below), 0, 1e-12);
  // Above the chord lies the other half of its circle: the nearest point is an end.
  EXPECT_NEAR(DistToArc({5, 5}, below), std::hypot(5.0, 5.0), 1e-12);
  const PlanArc above = BulgeArc({0, 0}, {10, 0}, -1);
  EXPECT_NEAR(DistToArc({5, 5}, above), 0, 1e-12);
  // A quarter arc (bulge tan(pi/8)) from (10,0) to (0,10) round the origin.
  const PlanArc quarter = BulgeArc({10, 0}, {0, 10}, std::tan(kPi / 8));
  EXPECT_NEAR(quarter.centre.x, 0, 1e-9);
  EXPECT_NEAR(quarter.centre.y, 0, 1e-9);
  EXPECT_NEAR(quarter.radius, 10, 1e-9);
  EXPECT_TRUE(IsStraight({0, 0}, {10, 0}, 0));
  EXPECT_TRUE(IsStraight({3, 3}, {3, 3}, 1));
  EXPECT_FALSE(IsStraight({0, 0}, {10, 0}, 0.5));
  // The half circle below the chord meets a box under the chord's middle; the one above does
  // not, though the chord itself runs through the box.
  const PlanRectangle under{4, -6, 6, -4};
  EXPECT_TRUE(ArcMeetsRectangle(below, {0, 0}, {10, 0}, under));
  EXPECT_FALSE(ArcMeetsRectangle(above, {0, 0}, {10, 0}, under));
  const PlanRectangle on_chord{4, -1, 6, 1};
  EXPECT_FALSE(ArcMeetsRectangle(below, {0, 0}, {10, 0}, on_chord));
  EXPECT_TRUE(SegmentMeetsRectangle({0, 0}, {10, 0}, on_chord));
}

}  // namespace
}  // namespace platform::acad
