// The list table placed as a user places it: RQ_HARNEX_LIST on the sample project's pattern,
// the table dragged to a point, or Enter, a first corner and a second corner that the table is
// fitted into. The drawing's $DIMSCALE is 2 and the list settings are the defaults (row height
// 5), so every table row is 10 high and a table of n rows is (n + 3) * 10 high; its top edge is
// its base point. Scale factors below follow from those heights, worked out by hand.
#include <gtest/gtest.h>

#include <VuRida.h>
#include <acutads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbsymtb.h>

#include <cmath>
#include <string>
#include <vector>

#include "annotation/annotation_block.h"
#include "annotation/list_drag.h"
#include "app/harnex_module.h"
#include "note_support.h"
#include "palette/main_dialog.h"

namespace note_test {
namespace {

AcGePoint3d P(double x, double y) {
  return AcGePoint3d(x, y, 0);
}

class ListPlacementTest : public NoteSessionTest {
 protected:
  void StartOnEmptyDrawing() {
    Start([](tools::DrawingBuilder& builder) { builder.SetGlobalScale(2); });
    ASSERT_NE(PaletteInstance, nullptr);
    CPtrArray rows;
    PaletteInstance->GetAllRowData(rows);
    rows_ = static_cast<int>(rows.GetSize());
    VuRida_RemoveAllFree(rows);
    ASSERT_GT(rows_, 0) << "the sample pattern has rows";
  }
  double TableHeight() const { return (rows_ + 3) * 10.0; }

  // The scale factors and position of the last block reference in model space.
  bool LastInsert(AcGePoint3d& position, AcGeScale3d& scale, std::wstring& layer) {
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, session().database()->modelSpaceId(), AcDb::kForRead) != Acad::eOk) {
      return false;
    }
    bool found = false;
    for (const AcDbObjectId& id : space->entityIds()) {
      AcDbEntity* entity = nullptr;
      if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
      if (auto* reference = AcDbBlockReference::cast(entity); reference && !entity->isErased()) {
        position = reference->position();
        scale = reference->scaleFactors();
        ACHAR* name = entity->layer();
        layer = name;
        acutDelString(name);
        found = true;
      }
      entity->close();
    }
    space->close();
    return found;
  }

  int rows_ = 0;
};

int CountInserts(const std::vector<Shape>& shapes) {
  int count = 0;
  for (const Shape& shape : shapes) count += shape.type == L"INSERT";
  return count;
}

TEST_F(ListPlacementTest, APointPlacementDragsTheTableAndLeavesAPxntBlockWithItsGrid) {
  StartOnEmptyDrawing();
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_LIST", L"move 100,200", L"point 300,400"}), 0)
      << session().stop_reason();
  EXPECT_NE(Transcript().find(L"配置点を指示 または Enterで矩形配置: "), std::wstring::npos);
  // While dragged, the table (the outline has no extent yet) follows the cursor.
  ASSERT_GE(shown().size(), 2u);
  bool followed = false;
  for (const Shape& shape : shown()[1]) {
    if (shape.type == L"INSERT") followed = static_cast<bool>(Near(shape.points[0], P(100, 200)));
  }
  EXPECT_TRUE(followed);

  EXPECT_EQ(NoteBlockNames(), std::vector<std::wstring>{L"PXNT0001"});
  AcGePoint3d position;
  AcGeScale3d scale;
  std::wstring layer;
  ASSERT_TRUE(LastInsert(position, scale, layer));
  EXPECT_TRUE(Near(position, P(300, 400)));
  EXPECT_DOUBLE_EQ(scale.sx, 1.0);
  EXPECT_EQ(layer, std::wstring(RQANNO_LAYER));

  // Header of three rows, one row per pattern row: n + 4 horizontal lines from 0 down to
  // -(n + 3) * 10, the first one the top edge at y = 0; all lines on the table layer.
  const std::vector<Shape> block = BlockShapes(L"PXNT0001");
  std::vector<double> levels;
  double lowest = 0;
  for (const Shape& shape : block) {
    if (shape.type != L"LINE") continue;
    EXPECT_EQ(shape.layer, std::wstring(RQTABLE_LAYER));
    EXPECT_EQ(shape.colour, 256);
    lowest = std::min({lowest, shape.points[0].y, shape.points[1].y});
    if (shape.points[0].y == shape.points[1].y) levels.push_back(shape.points[0].y);
  }
  ASSERT_EQ(levels.size(), static_cast<size_t>(rows_ + 4));
  EXPECT_DOUBLE_EQ(levels[0], 0);
  EXPECT_DOUBLE_EQ(levels[1], -10);
  EXPECT_DOUBLE_EQ(levels[2], -20);
  EXPECT_DOUBLE_EQ(levels.back(), -TableHeight());
  EXPECT_DOUBLE_EQ(lowest, -TableHeight());
  EXPECT_EQ(NoteDragInstance, nullptr);
}

TEST_F(ListPlacementTest, EnterTwiceCancelsAndLeavesNoBlock) {
  StartOnEmptyDrawing();
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_LIST", L"move 50,50", L"enter", L"enter"}), 0)
      << session().stop_reason();
  EXPECT_NE(Transcript().find(L"\n矩形の始点:"), std::wstring::npos);
  EXPECT_NE(Transcript().find(L"\nｷｬﾝｾﾙされました.\n"), std::wstring::npos);
  EXPECT_TRUE(NoteBlockNames().empty());
  EXPECT_EQ(CountInserts(ModelSpaceShapes()), 0);
  EXPECT_EQ(NoteDragInstance, nullptr);
}

TEST_F(ListPlacementTest, ARectangleFromLowerRightToUpperLeftHangsTheTableFromTheFirstCorner) {
  StartOnEmptyDrawing();
  const double h = TableHeight();
  // First corner S = (1000, 0). A rectangle 100000 wide and h / 2 high: the height limits, f =
  // 0.5. One h / 40 high gives f = 0.025 < 0.1: hidden while sampled, its pick refused.
  const AcGePoint3d tooFlat = P(-99000, h / 40);
  const AcGePoint3d fits = P(-99000, h / 2);
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_LIST", L"enter", L"point 1000,0",
                      L"move " + At(tooFlat.x, tooFlat.y), L"point " + At(tooFlat.x, tooFlat.y),
                      L"move " + At(fits.x, fits.y), L"point " + At(fits.x, fits.y)}),
            0)
      << session().stop_reason();
  EXPECT_NE(Transcript().find(L"矩形の終点を指示: "), std::wstring::npos);
  ASSERT_GE(shown().size(), 6u);
  EXPECT_EQ(CountInserts(shown()[3]), 0) << "the table is hidden when it does not fit";
  EXPECT_EQ(CountInserts(shown()[4]), 0) << "the refused pick keeps the drag running";
  EXPECT_EQ(CountInserts(shown()[5]), 1);

  AcGePoint3d position;
  AcGeScale3d scale;
  std::wstring layer;
  ASSERT_TRUE(LastInsert(position, scale, layer));
  EXPECT_TRUE(Near(position, P(1000, 0)));
  EXPECT_NEAR(scale.sx, 0.5, 1e-12);
  EXPECT_NEAR(scale.sy, 0.5, 1e-12);
  EXPECT_DOUBLE_EQ(scale.sz, 1.0);
  EXPECT_EQ(NoteBlockNames().size(), 1u);
}

TEST_F(ListPlacementTest, ChangedListSettingsRebuildTheTableAtTheNextCursorMove) {
  StartOnEmptyDrawing();
  // During the drag the user opens "詳" on the palette and doubles the row height to 10: rows
  // become 20 high, the table (n + 3) * 20.
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_LIST", L"move 0,0", L"click 402", L"@211 type 403 10.0",
                      L"@211 click 1", L"move 100,200", L"point 100,200"}),
            0)
      << session().stop_reason();
  EXPECT_DOUBLE_EQ(PaletteInstance->GetListSettingsRecord().rowHeight, 10.0);
  double lowest = 0;
  int levels = 0;
  for (const Shape& shape : BlockShapes(L"PXNT0001")) {
    if (shape.type != L"LINE") continue;
    lowest = std::min({lowest, shape.points[0].y, shape.points[1].y});
    levels += shape.points[0].y == shape.points[1].y;
  }
  EXPECT_DOUBLE_EQ(lowest, -(rows_ + 3) * 20.0);
  // The old grid is gone, not kept under the new one.
  EXPECT_EQ(levels, rows_ + 4);
  EXPECT_EQ(NoteBlockNames().size(), 1u);
}

TEST_F(ListPlacementTest, WithoutThePaletteTheCommandSaysSoAndDrawsNothing) {
  Start([](tools::DrawingBuilder& builder) { builder.SetGlobalScale(2); }, false);
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_LIST"}), 0) << session().stop_reason();
  EXPECT_EQ(Transcript(), L"\nコマンド: RQ_HARNEX_LIST\n\nERROR:設定ﾃﾞｰﾀが取得出来ません。");
  EXPECT_TRUE(NoteBlockNames().empty());
  EXPECT_EQ(NoteDragInstance, nullptr);
}

// The fit on its own, on a block whose extents are exactly 200 x 40: one line from (0, 0) to
// (200, -40).
TEST_F(ListPlacementTest, TheFitTakesTheSmallerRatioAndRefusesLessThanATenth) {
  StartOnEmptyDrawing();
  AcDbBlockReference* reference = MakeAnnotationBlock(AcGePoint3d::kOrigin);
  ASSERT_NE(reference, nullptr);
  AcDbBlockTableRecord* block = nullptr;
  ASSERT_EQ(acdbOpenObject(block, reference->blockTableRecord(), AcDb::kForWrite), Acad::eOk);
  auto* line = new AcDbLine(P(0, 0), P(200, -40));
  ASSERT_EQ(block->appendAcDbEntity(line), Acad::eOk);
  line->close();
  block->close();

  // 100 x 10: 100 / 200 = 0.5, 10 / 40 = 0.25.
  EXPECT_EQ(FitTableToRectangle(P(10, 50), P(110, 40), reference, false), 0);
  EXPECT_NEAR(reference->scaleFactors().sx, 0.25, 1e-12);
  EXPECT_NEAR(reference->scaleFactors().sy, 0.25, 1e-12);
  EXPECT_TRUE(Near(reference->position(), P(10, 50)));
  // Corners in the other order: the table still hangs from the first one.
  EXPECT_EQ(FitTableToRectangle(P(110, 40), P(10, 50), reference, false), 0);
  EXPECT_TRUE(Near(reference->position(), P(110, 40)));
  EXPECT_NEAR(reference->scaleFactors().sx, 0.25, 1e-12);
  // 10 x 10: min(0.05, 0.25) = 0.05 < 0.1. Zero height: refused as well.
  EXPECT_EQ(FitTableToRectangle(P(0, 0), P(10, 10), reference, false), -1);
  EXPECT_EQ(FitTableToRectangle(P(0, 0), P(100, 0), reference, false), -1);
  // Exactly a tenth is accepted: 20 x 4.
  EXPECT_EQ(FitTableToRectangle(P(0, 0), P(20, -4), reference, false), 0);
  EXPECT_NEAR(reference->scaleFactors().sx, 0.1, 1e-12);
  // No block reference: refused.
  AcDbLine notATable(P(0, 0), P(200, -40));
  EXPECT_EQ(FitTableToRectangle(P(0, 0), P(100, 100), &notATable, false), -1);
  delete reference;
}

}  // namespace
}  // namespace note_test
