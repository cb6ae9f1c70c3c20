// Free block names, new block references, text style settings and extents.
#include <gtest/gtest.h>

#include <dbents.h>
#include <dbmain.h>
#include <dbsymtb.h>

#include <ApiComn.h>
#include "drawing_support.h"

namespace {

TEST(ApiComnDrawingTest, SpaceBlockNameTakesTheFirstUnusedNumber) {
  maker_test::TestDrawing drawing;
  wchar_t name[16] = L"PXNT";
  ASSERT_EQ(0, ApiComn_SpaceBlockName(name, 4));
  EXPECT_STREQ(L"PXNT0001", name);

  drawing.AddBlock(L"PXNT0001", {});
  drawing.AddBlock(L"pxnt0002", {});  // block names do not depend on case
  drawing.AddBlock(L"PXNT0004", {});
  CString text = L"PXNT";
  ASSERT_EQ(0, ApiComn_SpaceBlockName(text, 4));
  EXPECT_STREQ(L"PXNT0003", text);

  wchar_t small[8] = L"AB";
  drawing.AddBlock(L"AB1", {});
  ASSERT_EQ(0, ApiComn_SpaceBlockName(small, 1));
  EXPECT_STREQ(L"AB2", small);
  EXPECT_EQ(0, drawing.OpenObjects());
}

TEST(ApiComnDrawingTest, CreateInsertMakesAnUnplacedReference) {
  maker_test::TestDrawing drawing;
  const AcDbObjectId block =
      drawing.AddBlock(L"PXNT0001", {AcGePoint3d(0, 0, 0), AcGePoint3d(4, 2, 0)});
  AcDbBlockReference* reference = nullptr;
  ASSERT_EQ(0,
            ApiComn_CreateInsert(reference, L"PXNT0001", AcGePoint3d(5, 6, 0), 0.0, 1.0, 1.0, 1.0));
  ASSERT_NE(nullptr, reference);
  EXPECT_TRUE(reference->objectId().isNull());
  EXPECT_EQ(block, reference->blockTableRecord());
  EXPECT_TRUE(reference->position().isEqualTo(AcGePoint3d(5, 6, 0)));

  // Its extents follow the block's entities: the line and points from (0,0) to (4,2), moved.
  AcGePoint3d low, high;
  ASSERT_EQ(0, ApiComn_GetEntityRang(reference, low, high));
  EXPECT_NEAR(5.0, low.x, 1e-9);
  EXPECT_NEAR(6.0, low.y, 1e-9);
  EXPECT_NEAR(9.0, high.x, 1e-9);
  EXPECT_NEAR(8.0, high.y, 1e-9);
  delete reference;

  AcDbEntity* entity = reinterpret_cast<AcDbEntity*>(1);
  EXPECT_NE(0, ApiComn_CreateInsert(entity, L"NOSUCH", AcGePoint3d(0, 0, 0), 0.0, 1.0, 1.0, 1.0));
  EXPECT_EQ(nullptr, entity);
}

TEST(ApiComnDrawingTest, TextStyleSettingsAreTheCurrentStyles) {
  maker_test::TestDrawing drawing;
  double height = 0, width = 0;
  ASSERT_EQ(0, ApiComn_SetTextStyle(2.5, 0.8));
  ASSERT_EQ(0, ApiComn_GetTextStyle(height, width));
  EXPECT_DOUBLE_EQ(2.5, height);
  EXPECT_DOUBLE_EQ(0.8, width);
  AcDbTextStyleTableRecord* style = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(style, drawing.db()->textstyle(), AcDb::kForRead));
  EXPECT_DOUBLE_EQ(2.5, style->textSize());
  EXPECT_DOUBLE_EQ(0.8, style->xScale());
  style->close();
}

}  // namespace
