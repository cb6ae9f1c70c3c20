// The hash grid of connection points: tolerance, cell borders, plan-view queries.
#include <gtest/gtest.h>

#include <algorithm>

#include "maker/connect_index.h"
#include "maker/route_index.h"

namespace {

using vurida::ConnectIndex;

TEST(ConnectIndexTest, FindsMembersWithinToleranceOnly) {
  ConnectIndex index(3);
  index.Add(0, 10.0, 5.0, 0.0);
  index.Add(0, 20.0, 5.0, 0.0);
  index.Add(1, 20.0, 5.0, 0.0);
  index.Add(2, 20.0 + 0.5e-10, 5.0, 0.0);  // just inside 1e-10
  index.Add(3, 20.0 + 2e-10, 5.0, 0.0);    // just outside
  index.Add(4, 20.0, 5.0, 1.0);            // same plan position, another height

  EXPECT_EQ(index.Near(20.0, 5.0, 0.0, 1e-10), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(index.Near(10.0, 5.0, 0.0, 1e-10), (std::vector<int>{0}));
  EXPECT_TRUE(index.Near(15.0, 5.0, 0.0, 1e-10).empty());
  EXPECT_EQ(index.Near(20.0, 5.0, 1.0, 1e-10), (std::vector<int>{4}));
}

TEST(ConnectIndexTest, PointsOnEitherSideOfACellBorderMeet) {
  // Pairs 0.28 apart, asked with the tolerance 0.3, every tenth from -2 to 2 on each axis: with
  // cells 1 unit wide, some pairs lie across a cell border wherever the borders are, and every
  // pair must meet.
  ConnectIndex index(3, 1.0);
  int member = 0;
  for (int k = -20; k <= 20; ++k) {
    const double v = k / 10.0;
    for (int axis = 0; axis < 3; ++axis) {
      double a[3] = {0.5, 0.5, 0.5}, b[3] = {0.5, 0.5, 0.5};
      a[axis] = v - 0.14;
      b[axis] = v + 0.14;
      // Each pair far from the others along an axis it does not vary on.
      const int apart = axis == 0 ? 1 : 0;
      a[apart] += 100 * member;
      b[apart] += 100 * member;
      index.Add(member, a[0], a[1], a[2]);
      EXPECT_EQ(index.Near(b[0], b[1], b[2], 0.3), (std::vector<int>{member}))
          << "v " << v << " axis " << axis;
      ++member;
    }
  }
}

TEST(ConnectIndexTest, RemovedPointsAreNoLongerFound) {
  ConnectIndex index(3);
  index.Add(1, 10.0, 0.0, 0.0);
  index.Add(1, 10.0, 0.0, 0.0);  // the same point twice: each Remove takes one
  index.Add(2, 10.0, 0.0, 0.0);
  EXPECT_FALSE(index.Remove(3, 10.0, 0.0, 0.0));  // no such member there
  EXPECT_FALSE(index.Remove(2, 10.0, 1e-12, 0.0));
  EXPECT_TRUE(index.Remove(2, 10.0, 0.0, 0.0));
  EXPECT_EQ(index.Near(10.0, 0.0, 0.0, 1e-10), (std::vector<int>{1}));
  EXPECT_TRUE(index.Remove(1, 10.0, 0.0, 0.0));
  EXPECT_EQ(index.Near(10.0, 0.0, 0.0, 1e-10), (std::vector<int>{1}));
  EXPECT_TRUE(index.Remove(1, 10.0, 0.0, 0.0));
  EXPECT_TRUE(index.Near(10.0, 0.0, 0.0, 1e-10).empty());
  EXPECT_EQ(0u, index.size());
}

TEST(ConnectIndexTest, PlanViewIgnoresHeight) {
  ConnectIndex index(2);
  index.Add(0, 1.0, 2.0, 0.0);
  index.Add(1, 1.0, 2.0, 30.0);
  EXPECT_EQ(index.Near(1.0, 2.0, 99.0, 1e-10), (std::vector<int>{0, 1}));
  EXPECT_EQ(2, index.dimension());
}

TEST(ConnectIndexTest, ManyPointsSurviveGrowthAndRemovalsAndKeepTheirTags) {
  // Joints of a 60 x 60 grid of segments: member m has its points at joint m and joint m + 1 of
  // its row, so every inner joint holds two members. Enough points to make the table grow many
  // times, and removals that must not hide the points probed past them.
  ConnectIndex index(3);
  constexpr int kSide = 60;
  auto member = [](int row, int col) { return row * kSide + col; };
  for (int row = 0; row < kSide; ++row) {
    for (int col = 0; col + 1 < kSide; ++col) {
      const int m = member(row, col);
      index.Add(m, col, row, 0.0, 1000u + m);
      index.Add(m, col + 1, row, 0.0, 1000u + m);
    }
  }
  EXPECT_EQ(size_t{2 * kSide * (kSide - 1)}, index.size());
  EXPECT_EQ(size_t{kSide * kSide}, index.joints());  // the two ends at a joint share a place
  // Take out every segment of an even column.
  for (int row = 0; row < kSide; ++row) {
    for (int col = 0; col + 1 < kSide; col += 2) {
      EXPECT_TRUE(index.Remove(member(row, col), col, row, 0.0));
      EXPECT_TRUE(index.Remove(member(row, col), col + 1, row, 0.0));
    }
  }
  std::vector<ConnectIndex::Hit> hits;
  // Odd segments 1 to 57 are left, touching joints 1 to 58 once each.
  EXPECT_EQ(size_t{2 * 29 * kSide}, index.size());
  EXPECT_EQ(size_t{58 * kSide}, index.joints());
  for (int row = 0; row < kSide; ++row) {
    for (int col = 0; col < kSide; ++col) {
      // Joint col is the end of segment col - 1 and the start of segment col; only odd
      // segments are left.
      std::vector<int> expected;
      if (col >= 1 && (col - 1) % 2 == 1) expected.push_back(member(row, col - 1));
      if (col + 1 < kSide && col % 2 == 1) expected.push_back(member(row, col));
      EXPECT_EQ(expected, index.Near(col, row, 0.0, 1e-10)) << "joint " << col << "," << row;
      index.Near(col, row, 0.0, 1e-10, hits);
      for (const ConnectIndex::Hit& h : hits) EXPECT_EQ(1000u + h.member, h.tag);
    }
  }
}

TEST(ConnectIndexTest, ManyMembersAtOnePlaceComeAndGoOneByOne) {
  // Five ends at one place (a star), one just beside it, and places that are equal only in
  // plan, so nothing may be merged that is not the same point.
  ConnectIndex index(3);
  for (int m = 0; m < 5; ++m) index.Add(m, 3.0, 4.0, 0.0);
  index.Add(5, 3.0 + 1e-11, 4.0, 0.0);
  index.Add(6, 3.0, 4.0, 2.0);
  EXPECT_EQ(7u, index.size());
  EXPECT_EQ(4u, index.joints());  // 0+1+2, 3+4, 5, 6
  EXPECT_EQ(index.Near(3.0, 4.0, 0.0, 1e-10), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(index.Near(3.0, 4.0, 2.0, 1e-10), (std::vector<int>{6}));
  EXPECT_TRUE(index.Remove(0, 3.0, 4.0, 0.0));  // the first of a shared place
  EXPECT_TRUE(index.Remove(4, 3.0, 4.0, 0.0));  // the last of another
  EXPECT_FALSE(index.Remove(4, 3.0, 4.0, 0.0));
  EXPECT_FALSE(index.Remove(6, 3.0, 4.0, 0.0));  // member 6 is elsewhere
  EXPECT_EQ(index.Near(3.0, 4.0, 0.0, 1e-10), (std::vector<int>{1, 2, 3, 5}));
  // A new end at the place fills a free place in an entry before it takes a new entry.
  index.Add(7, 3.0, 4.0, 0.0);
  EXPECT_EQ(4u, index.joints());
  EXPECT_EQ(index.Near(3.0, 4.0, 0.0, 1e-10), (std::vector<int>{1, 2, 3, 5, 7}));
  // Taking out the first of an entry keeps the others found.
  EXPECT_TRUE(index.Remove(1, 3.0, 4.0, 0.0));
  EXPECT_EQ(index.Near(3.0, 4.0, 0.0, 1e-10), (std::vector<int>{2, 3, 5, 7}));
  for (int m : {2, 3, 7}) EXPECT_TRUE(index.Remove(m, 3.0, 4.0, 0.0)) << m;
  EXPECT_EQ(index.Near(3.0, 4.0, 0.0, 1e-10), (std::vector<int>{5}));
  EXPECT_EQ(2u, index.joints());

  ConnectIndex plan(2);
  plan.Add(0, 3.0, 4.0, 0.0);
  plan.Add(1, 3.0, 4.0, 9.0);  // the same place in plan view
  EXPECT_EQ(1u, plan.joints());
  EXPECT_TRUE(plan.Remove(0, 3.0, 4.0, 5.0));
  EXPECT_EQ(plan.Near(3.0, 4.0, 0.0, 1e-10), (std::vector<int>{1}));
}

TEST(ConnectIndexTest, ALargeTableFindsEveryPoint) {
  // Enough places for a table of several megabytes, the size that is laid on huge pages.
  ConnectIndex index(3);
  constexpr int kPlaces = 70000;
  for (int i = 0; i < kPlaces; ++i) index.Add(i, (i % 300) * 2.5, (i / 300) * 2.5, 0.0);
  EXPECT_EQ(size_t{kPlaces}, index.joints());
  for (int i = 0; i < kPlaces; i += 7) {
    EXPECT_EQ(index.Near((i % 300) * 2.5, (i / 300) * 2.5, 0.0, 1e-10), (std::vector<int>{i})) << i;
  }
  EXPECT_TRUE(index.Near(1.25, 1.25, 0.0, 1e-10).empty());
}

TEST(PositionsTest, CloseAndScatteredMembersKeepTheirFirstPositionAndId) {
  // Ids that are only compared, never opened.
  auto id = [](uintptr_t n) { return AcDbObjectId(reinterpret_cast<AcDbStub*>(n * 16)); };
  using Read = vurida::Positions::Read;

  vurida::Positions close;
  close.Assign({Read{7, 0, id(1)}, Read{5, 1, id(2)}, Read{7, 2, id(1)}, Read{6, 3, id(3)}});
  EXPECT_EQ(0, close.Of(7));
  EXPECT_EQ(1, close.Of(5));
  EXPECT_EQ(3, close.Of(6));
  EXPECT_EQ(-1, close.Of(4));
  EXPECT_EQ(-1, close.Of(8));
  EXPECT_EQ(-1, close.Of(-1));
  const vurida::Positions::View view = close.view();
  ASSERT_NE(nullptr, view.Of(6));
  EXPECT_EQ(id(3), view.Of(6)->id);
  EXPECT_EQ(id(1), view.Of(7)->id);
  EXPECT_EQ(nullptr, view.Of(4));
  // 5, 6 and 7 fill the range: membership needs no look into the array.
  EXPECT_TRUE(view.complete);
  EXPECT_TRUE(view.Holds(5) && view.Holds(6) && view.Holds(7));
  EXPECT_FALSE(view.Holds(4) || view.Holds(8));

  vurida::Positions holed;
  holed.Assign({Read{5, 0, id(1)}, Read{7, 1, id(2)}});
  EXPECT_FALSE(holed.view().complete);
  EXPECT_TRUE(holed.view().Holds(5) && holed.view().Holds(7));
  EXPECT_FALSE(holed.view().Holds(6));

  vurida::Positions scattered;
  scattered.Assign({Read{900000, 0, id(4)}, Read{3, 1, id(5)}, Read{900000, 2, id(4)}});
  EXPECT_EQ(0, scattered.Of(900000));
  EXPECT_EQ(1, scattered.Of(3));
  EXPECT_EQ(-1, scattered.Of(4));
  EXPECT_EQ(-1, scattered.Of(0));
  ASSERT_NE(nullptr, scattered.view().Of(3));
  EXPECT_EQ(id(5), scattered.view().Of(3)->id);
  EXPECT_FALSE(scattered.view().complete);
  EXPECT_FALSE(scattered.view().Holds(4));

  vurida::Positions none;
  none.Assign({});
  EXPECT_EQ(-1, none.Of(0));
  EXPECT_EQ(nullptr, none.view().Of(0));
}

}  // namespace
