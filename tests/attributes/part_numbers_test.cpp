// Collecting the drawing's part numbers: distinct values in selection order, the progress
// meter, and the user's break.
#include "attributes/part_numbers.h"

#include <gtest/gtest.h>
#include "platform/acad/status_bar.h"

#include <string>
#include <vector>

#include "attributes_support.h"

namespace {

using attributes_test::BreakAt;

using attributes_test::ToVector;
using Strings = std::vector<std::wstring>;

class PartNumbersTest : public attributes_test::RouteDrawingTest {
 protected:
  // Part blocks with duplicate, empty and case-variant part numbers, a route element whose
  // records carry an "S001" of their own, and a line; eight entities pass the filter.
  void StartWithParts() {
    StartSession([](tools::DrawingBuilder& b) {
      b.DefineSegment(L"RT1", 100);
      b.DefinePart(L"KK_P", 20);
      b.AddPart(L"KK_P", {0, 0}, L"分電盤-2");
      b.AddRouteElement(L"RT1", {0, 0});
      b.AddPart(L"KK_P", {100, 0}, L"P-1");
      b.AddPart(L"KK_P", {200, 0}, L"");
      b.AddPart(L"KK_P", {300, 0}, L"分電盤-2");
      const AcDbObjectId route = b.AddRouteElement(L"RT1", {300, 0});
      b.SetStrings(route, L"RQ_ATTR", {L"S001|NOT-A-PART|2|1|55|0|"});
      b.AddPart(L"KK_P", {400, 0}, L"p-1");
      b.AddPart(L"KK_P", {500, 0}, L"P-1");
      b.AddLine(0, 100, 500, 100);
    });
    platform::acad::ResetProgressMeter();
  }
};

TEST_F(PartNumbersTest, DistinctNonEmptyPartNumbersInSelectionOrder) {
  StartWithParts();
  CStringArray parts;
  parts.Add(L"left over");
  EXPECT_EQ(CollectPartNumbers(parts), 3);
  EXPECT_EQ(ToVector(parts), (Strings{L"分電盤-2", L"P-1", L"p-1"}));

  const auto& meter = platform::acad::ProgressMeter();
  EXPECT_FALSE(meter.active) << "the status bar was not restored";
  EXPECT_EQ(meter.label, L"部品番号取得中...");
  EXPECT_EQ(meter.min, 0);
  EXPECT_EQ(meter.max, 8);
  EXPECT_EQ(meter.pos, 8);
  EXPECT_EQ(meter.shown_count, 1);
  EXPECT_EQ(meter.restore_count, 1);
}

TEST_F(PartNumbersTest, AUserBreakStopsTheLoopAndRestoresTheStatusBar) {
  StartWithParts();
  CStringArray parts;
  {
    // Esc while the fourth entity is looked at: the first three were read.
    BreakAt esc(session(), 4);
    EXPECT_EQ(CollectPartNumbers(parts), 2);
  }
  EXPECT_EQ(ToVector(parts), (Strings{L"分電盤-2", L"P-1"}));
  const auto& meter = platform::acad::ProgressMeter();
  EXPECT_FALSE(meter.active);
  EXPECT_EQ(meter.pos, 4);
  EXPECT_EQ(meter.restore_count, 1);

  // A break pressed before the loop starts stops it at the first entity.
  Queue({host::steps::Break()});
  EXPECT_EQ(CollectPartNumbers(parts), 0);
  EXPECT_EQ(parts.GetSize(), 0);
  EXPECT_FALSE(platform::acad::ProgressMeter().active);
  EXPECT_EQ(platform::acad::ProgressMeter().restore_count, 2);
}

TEST_F(PartNumbersTest, ADrawingWithoutPartsGivesNone) {
  StartSession([](tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT1", 100);
    b.AddStraightRun(L"RT1", 0, 0, 300, 0, 3);
  });
  CStringArray parts;
  EXPECT_EQ(CollectPartNumbers(parts), 0);
  EXPECT_EQ(parts.GetSize(), 0);
}

TEST_F(PartNumbersTest, ADrawingWithoutRouteElementsHasNothingToSelect) {
  StartSession([](tools::DrawingBuilder& b) { b.AddLine(0, 0, 10, 0); });
  platform::acad::ResetProgressMeter();
  CStringArray parts;
  parts.Add(L"left over");
  EXPECT_EQ(CollectPartNumbers(parts), -1);
  EXPECT_EQ(parts.GetSize(), 0);
  EXPECT_EQ(platform::acad::ProgressMeter().shown_count, 0);
}

}  // namespace
