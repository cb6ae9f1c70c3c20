// The untagged report: the elements that the settings check would mark, in drawing order, with
// their handle, block, insertion point and layer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/drawing_builder.h"
#include "tools/report.h"
#include "report_support.h"

namespace host {
namespace {

using testing::ScratchFolder;
using testing::WriteBuiltDrawing;
using Row = std::vector<std::wstring>;
using Rows = std::vector<Row>;

// The handle as DXF writes it; taken while the built drawing's ids are alive.
std::wstring Hex(AcDbObjectId id) {
  wchar_t buffer[32];
  std::swprintf(buffer, 32, L"%llX", static_cast<unsigned long long>(tools::HandleOf(id)));
  return buffer;
}

TEST(UntaggedReportTest, TheElementsTheCheckWouldMarkAreListedInDrawingOrder) {
  ScratchFolder dir("harnex_untagged_report");
  std::vector<std::wstring> expected;  // handles
  ASSERT_TRUE(WriteBuiltDrawing(dir / "plan.dxf", [&](tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT100", 100);
    b.DefineTee(L"RBT_P", 20, true);
    b.DefinePart(L"KK_LOAD", 20);
    auto element = [&](const std::wstring& block, const tools::Placement& at,
                       const std::vector<std::wstring>& records) {
      const AcDbObjectId id = b.AddRouteElement(block, at);
      b.SetStrings(id, L"RQ_ATTR", records);
      return id;
    };
    const AcDbObjectId dash = element(L"RT100", {0, 0}, {L"S004|-|2|1|55|0|"});
    element(L"RT100", {100, 0}, {L"S004|ｰ|2|1|55|0|"});  // half-width katakana: a value
    const AcDbObjectId empty = element(L"RT100", {250.5, -40}, {L"S004||2|1|55|0|"});
    testing::PutOnLayer(b.database(), empty, L"E-ルート");
    element(L"RT100", {400, 0}, {L"S004|0|2|1|55|0|"});
    element(L"RBT_P", {500, 0}, {L"S004||2|1|55|0|"});     // panels keep their colour
    element(L"RT100", {600, 0}, {L"S002|VVF|2|1|55|0|"});  // no "S004" record at all
    const AcDbObjectId frozen = element(L"RT100", {700, 0}, {L"S004||2|1|55|0|"});
    testing::PutOnLayer(b.database(), frozen, L"FROZEN", true);
    // A part block counts only when its state says it stands in a route.
    const AcDbObjectId load = b.AddPart(L"KK_LOAD", {800, 0}, L"L-1");
    b.SetStrings(load, L"RQ_ATTR", {L"S001|L-1|2|1|55|0|", L"S004||2|1|55|0|"});
    const AcDbObjectId in_route = b.AddPart(L"KK_LOAD", {1000, 20.125}, L"L-2", L"1");
    b.SetStrings(in_route, L"RQ_ATTR", {L"S001|L-2|2|1|55|0|", L"S004|-|2|1|55|0|"});
    b.AddLine(0, 0, 10, 10);
    expected = {Hex(dash), Hex(empty), Hex(in_route)};
  }));

  tools::ReportOptions options;
  options.kind = tools::ReportKind::kUntagged;
  options.files = {(dir / "plan.dxf").string()};
  std::vector<std::wstring> said;
  bool all_read = false;
  const tools::CsvTable table = testing::Report(options, &said, &all_read);
  EXPECT_TRUE(all_read);
  EXPECT_TRUE(said.empty());
  EXPECT_EQ(table.header, (Row{L"図面", L"ハンドル", L"ブロック名", L"X", L"Y", L"画層"}));
  ASSERT_EQ(expected.size(), 3u);
  EXPECT_EQ(table.rows, (Rows{{L"plan.dxf", expected[0], L"RT100", L"0", L"0", L"0"},
                              {L"plan.dxf", expected[1], L"RT100", L"250.5", L"-40", L"E-ルート"},
                              {L"plan.dxf", expected[2], L"KK_LOAD", L"1000", L"20.125", L"0"}}));
}

TEST(UntaggedReportTest, ADrawingWithoutUntaggedElementsGivesOnlyTheHeader) {
  ScratchFolder dir("harnex_untagged_none");
  ASSERT_TRUE(WriteBuiltDrawing(dir / "done.dxf", [](tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT100", 100);
    const AcDbObjectId id = b.AddRouteElement(L"RT100", {0, 0});
    b.SetStrings(id, L"RQ_ATTR", {L"S004|1L-1|2|1|55|0|"});
  }));
  tools::ReportOptions options;
  options.kind = tools::ReportKind::kUntagged;
  options.files = {(dir / "done.dxf").string()};
  std::vector<std::wstring> said;
  bool all_read = false;
  const tools::CsvTable table = testing::Report(options, &said, &all_read);
  EXPECT_TRUE(all_read);
  EXPECT_TRUE(table.rows.empty());
  EXPECT_EQ(tools::CsvText(table), L"図面,ハンドル,ブロック名,X,Y,画層\r\n");
}

}  // namespace
}  // namespace host
