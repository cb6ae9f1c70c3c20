// The hash grid of connection points: tolerance, cell borders, plan-view queries.
#include <gtest/gtest.h>

#include "connect_index.h"

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
  // With 1-unit cells, 0 and -0.00000000005 fall in different cells and must still be found.
  ConnectIndex index(3, 1.0);
  index.Add(7, -0.5e-10, 0.0, 0.0);
  index.Add(8, 0.0, -0.5e-10, 0.0);
  index.Add(9, -3.0, -7.25, 0.0);
  EXPECT_EQ(index.Near(0.0, 0.0, 0.0, 1e-10), (std::vector<int>{7, 8}));
  EXPECT_EQ(index.Near(-3.0, -7.25, 0.0, 1e-10), (std::vector<int>{9}));
}

TEST(ConnectIndexTest, PlanViewIgnoresHeight) {
  ConnectIndex index(2);
  index.Add(0, 1.0, 2.0, 0.0);
  index.Add(1, 1.0, 2.0, 30.0);
  EXPECT_EQ(index.Near(1.0, 2.0, 99.0, 1e-10), (std::vector<int>{0, 1}));
  EXPECT_EQ(2, index.dimension());
}

}  // namespace
