// Row operations on one pattern: whole rows (nine values and the check flag) inserted, deleted,
// swapped and compacted, rows with a single unusual value never taken for blank, and the rack
// mark of imported rows. (The search and the checked rows are tested through the palette's row
// area in pattern_editor_test.)
#include "project/pattern_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/project_test_support.h"

namespace {

using projecttest::Row;
using projecttest::SetRow;

// Rows are written as a list of short tags: a tag is the row's system number, "U:" and its
// underground conduit size for a row with only that, "○" for a row with only the on-rack flag,
// "-" for an empty row; "*" marks a checked row. Layout() reads a pattern back the same way, with
// every other value of the row appended after "/" so that no value can go missing unseen.
void PutTag(PatternData& pattern, int row, std::wstring tag) {
  if (!tag.empty() && tag.back() == L'*') {
    pattern.checked[row] = true;
    tag.pop_back();
  }
  if (tag == L"-") return;
  if (tag == L"○") {
    pattern.onRack[row] = 1;
  } else if (tag.rfind(L"U:", 0) == 0) {
    pattern.hsize4[row] = tag.substr(2).c_str();
  } else {
    // A full row: every column holds something, two of them derived from the tag.
    SetRow(pattern, row, Row{L"", L"", L"盤", L"CV", L"E", L"G", L"FEP", 1, L""});
    pattern.keitou[row] = tag.c_str();
    pattern.kouji[row] = (L"電灯" + tag).c_str();
    pattern.memo[row] = (L"ﾒﾓ" + tag).c_str();
  }
}

void Put(PatternData& pattern, const std::vector<std::wstring>& tags) {
  pattern.Clear();
  for (size_t i = 0; i < tags.size(); ++i) PutTag(pattern, static_cast<int>(i), tags[i]);
}

std::wstring Layout(const PatternData& pattern, int rows) {
  std::wstring out;
  for (int row = 0; row < rows; ++row) {
    if (row) out += L",";
    std::wstring tag;
    if (pattern.IsRowEmpty(row)) {
      tag = L"-";
    } else if (!pattern.keitou[row].IsEmpty()) {
      const std::wstring k = pattern.keitou[row].str();
      tag = k;
      // The other values must have travelled with the system number.
      if (pattern.kouji[row] != (L"電灯" + k).c_str() || pattern.memo[row] != (L"ﾒﾓ" + k).c_str() ||
          pattern.ban[row] != L"盤" || pattern.hsize1[row] != L"CV" ||
          pattern.hsize2[row] != L"E" || pattern.hsize3[row] != L"G" ||
          pattern.hsize4[row] != L"FEP" || pattern.onRack[row] != 1) {
        tag += L"/torn";
      }
    } else if (!pattern.hsize4[row].IsEmpty()) {
      tag = L"U:" + std::wstring(pattern.hsize4[row].str());
    } else if (pattern.onRack[row] == 1) {
      tag = L"○";
    } else {
      tag = L"?";
    }
    if (pattern.checked[row]) tag += L"*";
    out += tag;
  }
  return out;
}

// Everything after the first `rows` rows is empty and unchecked.
bool RestIsBlank(const PatternData& pattern, int rows) {
  for (int row = rows; row < kPatternRows; ++row) {
    if (!pattern.IsRowEmpty(row) || pattern.checked[row]) return false;
  }
  return true;
}

TEST(PatternRows, InsertMovesOnlyTheRowsUpToTheLastFilledOne) {
  struct Case {
    std::vector<std::wstring> before;
    int at;
    const wchar_t* after;  // the first 9 rows
  };
  const Case cases[] = {
      // Seven rows, a blank inserted at row 5: rows 5 and 6 move to 6 and 7.
      {{L"A", L"B", L"C", L"D", L"E", L"F*", L"G"}, 5, L"A,B,C,D,E,-,F*,G,-"},
      // A gap between filled rows moves down with them: everything up to the last filled row.
      {{L"A", L"-", L"C"}, 0, L"-,A,-,C,-,-,-,-,-"},
      // At or after the last filled row: nothing moves; a checked blank row is unchecked.
      {{L"A", L"B", L"-*"}, 2, L"A,B,-,-,-,-,-,-,-"},
      // Rows with a single unusual value move like the others.
      {{L"U:FEP28", L"○*", L"A"}, 0, L"-,U:FEP28,○*,A,-,-,-,-,-"},
  };
  for (const Case& c : cases) {
    PatternData pattern;
    Put(pattern, c.before);
    ASSERT_TRUE(InsertBlankRow(pattern, c.at)) << c.after;
    EXPECT_EQ(Layout(pattern, 9), c.after);
    EXPECT_TRUE(RestIsBlank(pattern, 9)) << c.after;
  }
}

TEST(PatternRows, InsertRefusesWhenTheLastRowIsTaken) {
  for (const wchar_t* last : {L"Z", L"U:FEP", L"○"}) {
    PatternData pattern;
    Put(pattern, {L"A"});
    PutTag(pattern, 99, last);  // rows 1 to 98 are empty
    const std::wstring before = Layout(pattern, kPatternRows);
    EXPECT_FALSE(InsertBlankRow(pattern, 0)) << projecttest::Utf8(last);
    EXPECT_EQ(Layout(pattern, kPatternRows), before) << projecttest::Utf8(last);
  }
}

TEST(PatternRows, DeleteMovesTheRowsBelowUpAndEmptiesTheLastRow) {
  auto full = projecttest::MakeFullPattern(L"P");
  full->checked[1] = true;
  full->checked[99] = true;
  const auto original = projecttest::MakeFullPattern(L"P");
  ASSERT_TRUE(DeleteRow(*full, 0));
  for (int row = 0; row < 99; ++row) {
    EXPECT_EQ(full->keitou[row], original->keitou[row + 1]) << row;
    EXPECT_EQ(full->hsize4[row], original->hsize4[row + 1]) << row;
    EXPECT_EQ(full->onRack[row], original->onRack[row + 1]) << row;
  }
  EXPECT_TRUE(full->checked[0]) << "the check flag moved with its row";
  EXPECT_TRUE(full->checked[98]);
  EXPECT_TRUE(full->IsRowEmpty(99));
  EXPECT_FALSE(full->checked[99]);

  PatternData pattern;
  Put(pattern, {L"A", L"U:FEP", L"○*", L"B"});
  ASSERT_TRUE(DeleteRow(pattern, 0));
  EXPECT_EQ(Layout(pattern, 4), L"U:FEP,○*,B,-");
  ASSERT_TRUE(DeleteRow(pattern, 1));
  EXPECT_EQ(Layout(pattern, 4), L"U:FEP,B,-,-");
  EXPECT_FALSE(DeleteRow(pattern, 100));
}

TEST(PatternRows, SwapExchangesWholeRows) {
  PatternData pattern;
  Put(pattern, {L"A*", L"U:FEP", L"○"});
  ASSERT_TRUE(SwapRows(pattern, 0, 1));
  EXPECT_EQ(Layout(pattern, 3), L"U:FEP,A*,○");
  ASSERT_TRUE(SwapRows(pattern, 2, 1));
  EXPECT_EQ(Layout(pattern, 3), L"U:FEP,○,A*");
  EXPECT_FALSE(SwapRows(pattern, 99, 100));
  EXPECT_EQ(Layout(pattern, 3), L"U:FEP,○,A*");
}

TEST(PatternRows, CompactingKeepsTheOrderAndCountsTheRowsThatMoved) {
  struct Case {
    std::vector<std::wstring> before;
    const wchar_t* after;  // the first 6 rows
    int moved;
  };
  const Case cases[] = {
      {{L"P", L"-", L"-", L"Q", L"R"}, L"P,Q,R,-,-,-", 2},
      {{L"P", L"Q", L"R"}, L"P,Q,R,-,-,-", 0},
      {{L"-", L"U:FEP", L"-*", L"○*"}, L"U:FEP,○*,-,-,-,-", 2},  // a checked blank row vanishes
      {{L"P", L"Q", L"-*"}, L"P,Q,-,-,-,-", 0},
      {{}, L"-,-,-,-,-,-", 0},
  };
  for (const Case& c : cases) {
    PatternData pattern;
    Put(pattern, c.before);
    EXPECT_EQ(CompactRows(pattern), c.moved) << c.after;
    EXPECT_EQ(Layout(pattern, 6), c.after);
    EXPECT_TRUE(RestIsBlank(pattern, 6)) << c.after;
  }
}

TEST(PatternRows, AnImportedRowSetsSevenColumnsAndTheRackFromItsMark) {
  struct Case {
    const wchar_t* rack;
    int onRack;
  };
  for (const Case& c : {Case{L"○", 1}, Case{L"", 0}, Case{L"1", 0}, Case{L"○ ", 0}}) {
    PatternData pattern;
    pattern.hsize4[3] = L"FEP";
    pattern.checked[3] = true;
    CStringArray values;
    for (const wchar_t* v : {L"電灯", L"L-1", L"分電盤", L"CV5.5", L"E19", L"G22"}) values.Add(v);
    values.Add(c.rack);
    values.Add(L"備考");
    ASSERT_TRUE(SetImportedRow(pattern, 3, values));
    EXPECT_EQ(pattern.kouji[3], L"電灯");
    EXPECT_EQ(pattern.keitou[3], L"L-1");
    EXPECT_EQ(pattern.ban[3], L"分電盤");
    EXPECT_EQ(pattern.hsize1[3], L"CV5.5");
    EXPECT_EQ(pattern.hsize2[3], L"E19");
    EXPECT_EQ(pattern.hsize3[3], L"G22");
    EXPECT_EQ(pattern.hsize4[3], L"") << "the underground size is not imported";
    EXPECT_EQ(pattern.onRack[3], c.onRack) << projecttest::Utf8(c.rack);
    EXPECT_EQ(pattern.memo[3], L"備考");
    EXPECT_FALSE(pattern.checked[3]);
  }
}

}  // namespace
