// Text extents with the monospaced Gothic metric: full-width characters a whole em, others half.
#include <gtest/gtest.h>

#include <string>

#include <acgi.h>
#include <dbsymtb.h>
#include "editor_drawing_support.h"

namespace {

struct Case {
  const wchar_t* text;
  double size, x_scale;
  double width;  // expected advance
};

TEST(TextStyleExtentsTest, MixedHalfAndFullWidth) {
  const Case cases[] = {
      {L"ABC", 2.0, 1.0, 3.0},
      {L"幹線番号", 2.0, 1.0, 8.0},
      {L"ｹｰﾌﾞﾙﾗｯｸ", 2.0, 1.0, 8.0},           // half-width katakana: 8 narrow characters
      {L"A1　(2)", 2.5, 0.8, 5 * 1.0 + 2.0},  // 5 narrow and an ideographic space
      {L"ＣＶ-8sq（屋内）", 3.0, 1.0, 3.0 * 6 + 1.5 * 4},
      {L"○", 2.0, 1.0, 1.0},  // ambiguous width counts as narrow
      {L"　〃", 2.0, 1.0, 4.0},
  };
  for (const Case& c : cases) {
    AcGiTextStyle style;
    style.setTextSize(c.size);
    style.setXScale(c.x_scale);
    AcGePoint2d e = style.extents(c.text, false, -1, true);
    EXPECT_DOUBLE_EQ(e.x, c.width) << std::wstring(c.text);
    EXPECT_DOUBLE_EQ(e.y, c.size) << std::wstring(c.text);
  }
}

TEST(TextStyleExtentsTest, LengthControlCodesAndEmptyText) {
  AcGiTextStyle style;
  style.setTextSize(4.0);
  EXPECT_DOUBLE_EQ(style.extents(L"幹線AB", false, 3, true).x, 10.0);
  EXPECT_DOUBLE_EQ(style.extents(L"", false, -1, true).x, 0.0);
  EXPECT_DOUBLE_EQ(style.extents(L"", false, -1, true).y, 0.0);
  // Not raw: %%d is one narrow character, %%u switches underlining and takes no room.
  EXPECT_DOUBLE_EQ(style.extents(L"90%%d%%uA", false, -1, false).x, 8.0);
  EXPECT_DOUBLE_EQ(style.extents(L"90%%d", false, -1, true).x, 10.0);
}

TEST(TextStyleExtentsTest, LoadedFromTheDrawingsTextStyle) {
  editor_test::TestDrawing drawing;
  AcDbTextStyleTable* table = nullptr;
  ASSERT_EQ(drawing.db()->getTextStyleTable(table, AcDb::kForWrite), Acad::eOk);
  auto* record = new AcDbTextStyleTableRecord;
  record->setName(L"NOTE");
  record->setTextSize(3.0);
  record->setXScale(0.8);
  record->setFileName(L"msgothic.ttc");
  AcDbObjectId id;
  ASSERT_EQ(table->add(id, record), Acad::eOk);
  record->close();
  table->close();

  AcGiTextStyle style;
  ASSERT_EQ(fromAcDbTextStyle(style, id), Acad::eOk);
  EXPECT_STREQ(style.fileName(), L"msgothic.ttc");
  EXPECT_STREQ(style.styleName(), L"NOTE");
  EXPECT_DOUBLE_EQ(style.extents(L"幹A", false, -1, true).x, 3.0 * 0.8 * 1.5);
  EXPECT_NE(fromAcDbTextStyle(style, drawing.modelSpace()), Acad::eOk);  // no text style
  EXPECT_EQ(drawing.OpenObjects(), L"");
}

}  // namespace
