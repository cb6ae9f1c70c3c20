// PatternData: what makes a row empty, and clearing and copying rows.
#include "project/pattern_data.h"

#include <gtest/gtest.h>

#include "project/project_test_support.h"

namespace {

using projecttest::PatternDifference;

TEST(PatternRows, AnyOneValueMakesARowNonEmptyButTheCheckDoesNot) {
  PatternData pattern;
  EXPECT_TRUE(pattern.IsRowEmpty(0));
  pattern.checked[0] = true;
  EXPECT_TRUE(pattern.IsRowEmpty(0)) << "the check flag is not a value";

  for (int c = 0; c < kPatternColumns; ++c) {
    const PatternColumn column = PatternColumn(c);
    PatternData one;
    if (column == kColumnOnRack) {
      one.onRack[42] = 1;
    } else {
      one.Text(column, 42) = L"x";
    }
    EXPECT_FALSE(one.IsRowEmpty(42)) << "column " << c;
    EXPECT_TRUE(one.IsRowEmpty(41)) << "column " << c;
    EXPECT_EQ(one.UsedRows(), 43) << "column " << c;
  }
}

TEST(PatternRows, ColumnsMapToTheirArraysAndKeys) {
  PatternData pattern;
  pattern.Text(kColumnKouji, 1) = L"a";
  pattern.Text(kColumnKeitou, 1) = L"b";
  pattern.Text(kColumnBan, 1) = L"c";
  pattern.Text(kColumnHsize1, 1) = L"d";
  pattern.Text(kColumnHsize2, 1) = L"e";
  pattern.Text(kColumnHsize3, 1) = L"f";
  pattern.Text(kColumnHsize4, 1) = L"g";
  pattern.Text(kColumnMemo, 1) = L"h";
  EXPECT_EQ(pattern.kouji[1], L"a");
  EXPECT_EQ(pattern.keitou[1], L"b");
  EXPECT_EQ(pattern.ban[1], L"c");
  EXPECT_EQ(pattern.hsize1[1], L"d");
  EXPECT_EQ(pattern.hsize2[1], L"e");
  EXPECT_EQ(pattern.hsize3[1], L"f");
  EXPECT_EQ(pattern.hsize4[1], L"g");
  EXPECT_EQ(pattern.memo[1], L"h");

  const wchar_t* keys[] = {L"KOUJI",  L"KEITOU", L"BAN",    L"HSIZE1", L"HSIZE2",
                           L"HSIZE3", L"HSIZE4", L"ONRACK", L"MEMO"};
  for (int c = 0; c < kPatternColumns; ++c)
    EXPECT_STREQ(PatternColumnKey(PatternColumn(c)), keys[c]) << "column " << c;
}

TEST(PatternRows, ClearAndCopyTreatAllNineValues) {
  auto pattern = projecttest::MakePattern(
      L"P", kPatternTypeGeneral, kConduitUnderground,
      {{L"電灯", L"L-1", L"盤1", L"IV2.0", L"E19", L"G22", L"FEP30", 1, L"備考"}});
  pattern->checked[0] = true;
  pattern->CopyRow(0, 5);
  EXPECT_FALSE(pattern->checked[5]) << "the check is not copied";
  PatternData expected;
  expected.name = L"P";
  expected.type = kPatternTypeGeneral;
  expected.pipeSel = kConduitUnderground;
  projecttest::SetRow(expected, 0,
                      {L"電灯", L"L-1", L"盤1", L"IV2.0", L"E19", L"G22", L"FEP30", 1, L"備考"});
  projecttest::SetRow(expected, 5,
                      {L"電灯", L"L-1", L"盤1", L"IV2.0", L"E19", L"G22", L"FEP30", 1, L"備考"});
  EXPECT_EQ(PatternDifference(*pattern, expected), "");

  pattern->ClearRow(0);
  EXPECT_TRUE(pattern->IsRowEmpty(0));
  EXPECT_FALSE(pattern->checked[0]);
  EXPECT_FALSE(pattern->IsRowEmpty(5));

  pattern->checked[7] = true;
  pattern->Clear();
  EXPECT_EQ(PatternDifference(*pattern, PatternData()), "");
  EXPECT_FALSE(pattern->checked[7]);
  EXPECT_EQ(pattern->UsedRows(), 0);
}

}  // namespace
