// The list table's layout: cell texts, column widths, grid lines and text positions.
//
// The measure used here counts characters: every character is one unit wide, so every width
// below is worked out by hand from the labels and cell texts. Sizes of every test: text height
// 2, width factor 0.5 (one character of room = 1), row height 5, left margin 1, right margin 2.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "annotation/draw_note.h"
#include "annotation/list_table.h"

namespace {

ListTableSizes Sizes() {
  ListTableSizes sizes;
  sizes.textHeight = 2;
  sizes.widthFactor = 0.5;
  sizes.rowHeight = 5;
  sizes.leftMargin = 1;
  sizes.rightMargin = 2;
  return sizes;
}

bool CountCharacters(const CString& text, double& width) {
  width = text.GetLength();
  return true;
}

// Rows of nine fields: item, system number, load name, wire size, indoors, outdoors,
// underground, rack mark, remarks.
class Rows {
 public:
  Rows(std::initializer_list<std::vector<const wchar_t*>> rows) {
    for (const auto& fields : rows) {
      auto* row = new CStringArray;
      for (const wchar_t* field : fields) row->Add(field);
      rows_.Add(row);
    }
  }
  ~Rows() {
    for (int i = 0; i < rows_.GetSize(); ++i) delete static_cast<CStringArray*>(rows_[i]);
  }
  const CPtrArray& get() const { return rows_; }

 private:
  CPtrArray rows_;
};

bool Same(const AcGePoint3d& a, const AcGePoint3d& b) {
  return std::fabs(a.x - b.x) < 1e-9 && std::fabs(a.y - b.y) < 1e-9;
}

::testing::AssertionResult HasLine(const TableLayout& layout, size_t index, double x0, double y0,
                                   double x1, double y1) {
  if (index >= layout.lines.size()) return ::testing::AssertionFailure() << "no line " << index;
  const TableLine& line = layout.lines[index];
  if (Same(line.start, AcGePoint3d(x0, y0, 0)) && Same(line.end, AcGePoint3d(x1, y1, 0))) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "line " << index << " is (" << line.start.x << "," << line.start.y << ")-("
         << line.end.x << "," << line.end.y << "), expected (" << x0 << "," << y0 << ")-(" << x1
         << "," << y1 << ")";
}

const TableText* FindText(const TableLayout& layout, const wchar_t* text) {
  for (const TableText& each : layout.texts) {
    if (each.text == text) return &each;
  }
  return nullptr;
}

TEST(ListCellTexts, ColumnsByModeAndTheWireSizeSplitAtItsFirstBlank) {
  const std::vector<const wchar_t*> fields = {L"動力幹線", L"T-1", L"P-1", L"CV  8sq x3", L"22",
                                              L"28",       L"36",  L"○",   L"予備"};
  CStringArray row;
  for (const wchar_t* field : fields) row.Add(field);
  CString trunk[kListColumns];
  ListCellTexts(kDrawNoteModeTrunkList, row, trunk);
  EXPECT_EQ(trunk[0], L"T-1");
  EXPECT_EQ(trunk[1], L"P-1");
  // Several blanks after the first word: the rest loses its leading blanks, keeps inner ones.
  EXPECT_EQ(trunk[2], L"CV");
  EXPECT_EQ(trunk[3], L"8sq x3");
  EXPECT_EQ(trunk[4], L"○");
  EXPECT_EQ(trunk[5], L"22");
  EXPECT_EQ(trunk[6], L"28");
  EXPECT_EQ(trunk[7], L"36");
  EXPECT_EQ(trunk[8], L"予備");
  CString general[kListColumns];
  ListCellTexts(kDrawNoteModeGeneralList, row, general);
  EXPECT_EQ(general[0], L"動力幹線");

  // A wire size that begins with a blank stays whole; one without a blank too.
  row[3] = L" CV 8";
  ListCellTexts(kDrawNoteModeTrunkList, row, trunk);
  EXPECT_EQ(trunk[2], L" CV 8");
  EXPECT_EQ(trunk[3], L"");
  row[3] = L"CV8";
  ListCellTexts(kDrawNoteModeTrunkList, row, trunk);
  EXPECT_EQ(trunk[2], L"CV8");
  EXPECT_EQ(trunk[3], L"");
  // One word followed by one blank: the rest is empty.
  row[3] = L"CV ";
  ListCellTexts(kDrawNoteModeTrunkList, row, trunk);
  EXPECT_EQ(trunk[2], L"CV");
  EXPECT_EQ(trunk[3], L"");
}

// The load name cells of the data rows, top to bottom: the left-aligned texts at X1 + L.
std::vector<CString> LoadNameCells(const TableLayout& layout) {
  std::vector<CString> cells;
  for (const TableText& each : layout.texts) {
    if (!each.centred && std::fabs(each.at.x - (layout.left[1] + 1)) < 1e-9) {
      cells.push_back(each.text);
    }
  }
  return cells;
}

TEST(LayOutTable, GeneralRowsRepeatingTheLoadNameShowTheDittoMark) {
  const Rows rows = {{L"I", L"", L"A", L"", L"", L"", L"", L"", L""},
                     {L"I", L"", L"A", L"", L"", L"", L"", L"", L""},
                     {L"I", L"", L"B", L"", L"", L"", L"", L"", L""},
                     {L"I", L"", L"A", L"", L"", L"", L"", L"", L""}};
  TableLayout layout;
  ASSERT_TRUE(LayOutTable(kDrawNoteModeGeneralList, rows.get(), Sizes(), CountCharacters, layout));
  const std::vector<CString> general = LoadNameCells(layout);
  const std::vector<CString> expected = {L"A", L"\x3000\x3003", L"B", L"A"};
  EXPECT_EQ(general, expected);

  // Trunk rows show every name.
  ASSERT_TRUE(LayOutTable(kDrawNoteModeTrunkList, rows.get(), Sizes(), CountCharacters, layout));
  const std::vector<CString> trunk = LoadNameCells(layout);
  const std::vector<CString> all = {L"A", L"A", L"B", L"A"};
  EXPECT_EQ(trunk, all);
}

TEST(LayOutTable, OneTrunkRowGivesFiveHorizontalLinesAndCellsInTheirColumns) {
  // Widths: header label length + 1; data text length + 3 (L + Rm), conduit + 2 (2L).
  //   W0 max(4+1, "T-1" 3+3) = 6      W1 max(4+1, "LOAD" 4+3) = 7   W2 max(5+1, "CV" 2+3) = 6
  //   W3 max(4+1, "8" 1+3) = 5        W4 8+1 = 9 ("ｹｰﾌﾞﾙﾗｯｸ" is eight characters; the rack
  //   mark is not measured)
  //   W5 max(2+1, "22" 2+2) = 4; W6 = W7 = 4 (made equal)  W8 9+1 = 10
  // X = 0, 6, 13, 19, 24, 33, 37, 41, 45, 55.
  const Rows rows = {{L"", L"T-1", L"LOAD", L"CV 8", L"22", L"", L"", L"○○○○○○○○○○○○○○○○", L""}};
  TableLayout layout;
  ASSERT_TRUE(LayOutTable(kDrawNoteModeTrunkList, rows.get(), Sizes(), CountCharacters, layout));
  const double x[] = {0, 6, 13, 19, 24, 33, 37, 41, 45, 55};
  for (int c = 0; c <= kListColumns; ++c) EXPECT_DOUBLE_EQ(layout.left[c], x[c]) << "X" << c;

  ASSERT_EQ(layout.lines.size(), 15u);
  EXPECT_TRUE(HasLine(layout, 0, 0, 0, 55, 0));
  EXPECT_TRUE(HasLine(layout, 1, 24, -5, 45, -5));
  EXPECT_TRUE(HasLine(layout, 2, 33, -10, 45, -10));
  EXPECT_TRUE(HasLine(layout, 3, 0, -15, 55, -15));
  EXPECT_TRUE(HasLine(layout, 4, 0, -20, 55, -20));
  EXPECT_TRUE(HasLine(layout, 5, 0, 0, 0, -20));
  EXPECT_TRUE(HasLine(layout, 6, 6, 0, 6, -20));
  EXPECT_TRUE(HasLine(layout, 7, 13, 0, 13, -20));
  EXPECT_TRUE(HasLine(layout, 8, 19, -15, 19, -20));
  EXPECT_TRUE(HasLine(layout, 9, 24, 0, 24, -20));
  EXPECT_TRUE(HasLine(layout, 10, 33, -5, 33, -20));
  EXPECT_TRUE(HasLine(layout, 11, 37, -10, 37, -20));
  EXPECT_TRUE(HasLine(layout, 12, 41, -10, 41, -20));
  EXPECT_TRUE(HasLine(layout, 13, 45, 0, 45, -20));
  EXPECT_TRUE(HasLine(layout, 14, 55, 0, 55, -20));
  int horizontal = 0;
  for (const TableLine& line : layout.lines) horizontal += line.start.y == line.end.y;
  EXPECT_EQ(horizontal, 5);

  struct Expected {
    const wchar_t* text;
    double x, y;
    bool centred;
    double widthFactor;
  };
  const Expected texts[] = {{L"幹線番号", 3, -7.5, true, 0.5},
                            {L"負荷名称", 9.5, -7.5, true, 0.5},
                            {L"幹線サイズ", 18.5, -7.5, true, 0.5},
                            {L"管　　路", 34.5, -2.5, true, 0.5},
                            {L"ｹｰﾌﾞﾙﾗｯｸ", 28.5, -10, true, 0.5},
                            {L"配　管", 39, -7.5, true, 0.5},
                            {L"屋内", 35, -12.5, true, 0.5},
                            {L"屋外", 39, -12.5, true, 0.5},
                            {L"地中", 43, -12.5, true, 0.5},
                            {L"備　考", 50, -7.5, true, 0.5},
                            {L"T-1", 1, -17.5, false, 0.5},
                            {L"LOAD", 7, -17.5, false, 0.5},
                            {L"CV", 14, -17.5, false, 0.5},
                            {L"8", 20, -17.5, false, 0.5},
                            {L"○○○○○○○○○○○○○○○○", 28.5, -17.5, true, 1.0},
                            {L"22", 35, -17.5, true, 0.5}};
  // The two width-only labels are not drawn, nor are the empty cells.
  ASSERT_EQ(layout.texts.size(), std::size(texts));
  for (size_t i = 0; i < std::size(texts); ++i) {
    const TableText& text = layout.texts[i];
    EXPECT_EQ(text.text, texts[i].text) << i;
    EXPECT_TRUE(Same(text.at, AcGePoint3d(texts[i].x, texts[i].y, 0)))
        << i << ": (" << text.at.x << "," << text.at.y << ")";
    EXPECT_EQ(text.centred, texts[i].centred) << i;
    EXPECT_DOUBLE_EQ(text.widthFactor, texts[i].widthFactor) << i;
  }
}

TEST(LayOutTable, EmptyConduitsKeepEqualHeaderWidthsAndUnmeasurableTextsAddNothing) {
  // General rows: column 0 is headed "工事項目" and filled with the item.
  const Rows rows = {{L"ITEM-LONGER", L"", L"X", L"", L"", L"", L"", L"", L""}};
  // "屋外" cannot be measured: its own width would be 0, but the three stay equal at 3.
  // "----" cannot be measured and column 3 has no text: W3 stays 0.
  const TableMeasure measure = [](const CString& text, double& width) {
    if (text == L"屋外" || text == L"----") return false;
    width = text.GetLength();
    return true;
  };
  TableLayout layout;
  ASSERT_TRUE(LayOutTable(kDrawNoteModeGeneralList, rows.get(), Sizes(), measure, layout));
  EXPECT_DOUBLE_EQ(layout.widths[0], 11 + 3);  // "ITEM-LONGER" over "工事項目" (5)
  EXPECT_DOUBLE_EQ(layout.widths[3], 0);
  EXPECT_DOUBLE_EQ(layout.widths[5], 3);
  EXPECT_DOUBLE_EQ(layout.widths[6], 3);
  EXPECT_DOUBLE_EQ(layout.widths[7], 3);
  ASSERT_NE(FindText(layout, L"工事項目"), nullptr);
  EXPECT_EQ(FindText(layout, L"幹線番号"), nullptr);

  const Rows none = {};
  EXPECT_FALSE(LayOutTable(kDrawNoteModeGeneralList, none.get(), Sizes(), measure, layout));
}

}  // namespace
