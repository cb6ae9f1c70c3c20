// The path counts and number ranges of automatic assignment's traces.
#include "attributes/trace_paths.h"

#include <gtest/gtest.h>

namespace {

using trace_paths::NumberRanges;
using trace_paths::PathCounts;

// Whether `ranges` meets a path that holds only the element numbered `number`.
bool Covers(const NumberRanges& ranges, int number) {
  PathCounts path;
  path.Join(number);
  return ranges.Meets(path);
}

TEST(TracePathsTest, PathCountsFollowJoinsAndLeavesAcrossGrowth) {
  PathCounts path;
  EXPECT_FALSE(path.AnyIn(0, 100000));
  path.Join(5);
  path.Join(5);
  path.Join(3000);  // past the first size: the counts grow and keep what they held
  EXPECT_TRUE(path.AnyIn(5, 5));
  EXPECT_TRUE(path.AnyIn(0, 10));
  EXPECT_FALSE(path.AnyIn(6, 2999));
  EXPECT_TRUE(path.AnyIn(2999, 3000));
  EXPECT_TRUE(path.AnyIn(3000, 1 << 20));  // beyond every number held
  path.Leave(5);
  EXPECT_TRUE(path.AnyIn(5, 5));  // joined twice, left once
  path.Leave(5);
  EXPECT_FALSE(path.AnyIn(0, 2999));
  path.Leave(3000);
  EXPECT_FALSE(path.AnyIn(0, 1 << 20));
}

TEST(TracePathsTest, RangesJoinNeighboursAndNeverLoseANumber) {
  NumberRanges ranges;
  EXPECT_TRUE(ranges.empty());
  EXPECT_FALSE(Covers(ranges, 0));
  for (int n : {10, 11, 12, 14}) ranges.Add(n);  // 10-12 and 14
  EXPECT_TRUE(Covers(ranges, 12));
  EXPECT_FALSE(Covers(ranges, 13));
  ranges.Add(13);  // joins both into 10-14
  EXPECT_TRUE(Covers(ranges, 13));
  ranges.Add(30);
  ranges.Add(50);
  ranges.Add(100);  // four ranges: 10-14, 30, 50, 100
  EXPECT_FALSE(Covers(ranges, 20));
  EXPECT_FALSE(Covers(ranges, 40));
  EXPECT_FALSE(Covers(ranges, 70));
  // A fifth: the two closest (30 and 34, 4 apart) become one; nothing else is covered more.
  ranges.Add(34);
  EXPECT_TRUE(Covers(ranges, 32));
  EXPECT_FALSE(Covers(ranges, 20));
  EXPECT_FALSE(Covers(ranges, 40));
  EXPECT_FALSE(Covers(ranges, 70));
  for (int n : {10, 14, 30, 34, 50, 100}) EXPECT_TRUE(Covers(ranges, n)) << n;
  // Another set added: 45-46 is a fifth range again, and lies closest to 50 (4 apart, against
  // 11 from 34): 45-50.
  NumberRanges wide;
  wide.Add(45);
  wide.Add(46);
  ranges.Add(wide);
  EXPECT_TRUE(Covers(ranges, 47));
  EXPECT_FALSE(Covers(ranges, 40));
  EXPECT_FALSE(Covers(ranges, 70));
  // A range reaching from one to the next joins them.
  NumberRanges span;
  for (int n = 15; n <= 29; ++n) span.Add(n);
  ranges.Add(span);  // 10-34 now one range
  EXPECT_TRUE(Covers(ranges, 20));
  EXPECT_FALSE(Covers(ranges, 40));
  for (int n : {10, 34, 45, 46, 50, 100}) EXPECT_TRUE(Covers(ranges, n)) << n;
}

}  // namespace
