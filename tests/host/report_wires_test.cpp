// The wire report: one line per wire and drawing, with the elements that carry it and the sum
// of their lengths between their connection points, in metres by the drawing's units.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tools/drawing_builder.h"
#include "tools/report.h"
#include "tools/system_folder.h"
#include "report_support.h"
#include "platform/win/text_encoding.h"

namespace host {
namespace {

using testing::Report;
using testing::ScratchFolder;
using testing::SetScaleFactors;
using testing::WriteBuiltDrawing;
using Row = std::vector<std::wstring>;
using Rows = std::vector<Row>;

std::wstring Record(const std::wstring& tag, const std::wstring& value) {
  return tag + L"|" + value + L"|2|1|55|0|";
}

// The wires of a first floor, mm ($INSUNITS 4). Lengths by hand:
//   seg_a   RT100 (points (0,0) and (100,0)) rotated 30°, scale 2: 200 mm. It carries two rows:
//           1L-2 in the "S" records and 1L-3 as PX02.
//   seg_b   RT100 scale 1.5: 150 mm; 1L-2 again on another route, and a malformed PX record
//           (two parts) that is no wire.
//   tee     RB50 (points (-50,0), (50,0), (0,50)) rotated 90°, scale x 1 y 2.4: the points
//           become (-50,0), (50,0), (0,120) before the rotation, so the first two are 100
//           apart and the largest distance is from an arm to the third point, √(50² + 120²) =
//           130 mm. Scaling after rotating would give 240 instead. It carries 1P-1 with the
//           code ZZ, which no master list holds.
//   panel   a part block carrying the same 1P-1, drawn with the segment's block (two connection
//           points 100 apart): counted, 0 mm all the same.
//   twice   RT100 rotated 45°: 100 mm; 1L-10 in the "S" records and the same wire again as PX02:
//           one element, counted once.
//   bare    RT100 with the route tools' empty records: no wire.
//   code    RT100 with only a construction item code: no wire either.
void FirstFloor(tools::DrawingBuilder& b) {
  b.DefineSegment(L"RT100", 100);
  b.DefineTee(L"RB50", 50);
  const AcDbObjectId seg_a = b.AddRouteElement(L"RT100", {0, 0, 30, 2});
  b.SetStrings(seg_a, L"RQ_ATTR",
               {Record(L"S501", L"E1"), Record(L"S004", L"1L-2"), Record(L"S3B9", L"L-1"),
                Record(L"S002", L"VVF1.6-3C"), L"PX02|1L-3!VVF2.0-3C (PF16)!L-2!E2!|2|1|55|0|"});
  const AcDbObjectId seg_b = b.AddRouteElement(L"RT100", {1000, 0, 0, 1.5});
  b.SetStrings(seg_b, L"RQ_ATTR",
               {Record(L"S501", L"E1"), Record(L"S004", L"1L-2"), Record(L"S3B9", L"L-1"),
                Record(L"S002", L"VVF1.6-3C"), L"PX02|1P-9!CVV!|2|1|55|0|"});
  const AcDbObjectId tee = b.AddRouteElement(L"RB50", {2000, 0, 90});
  SetScaleFactors(tee, 1, 2.4);
  b.SetStrings(tee, L"RQ_ATTR",
               {Record(L"S501", L"ZZ"), Record(L"S004", L"1P-1"), Record(L"S3B9", L"P-2"),
                Record(L"S002", L"CVT60sq")});
  const AcDbObjectId panel = b.AddPart(L"RT100", {2500, 0}, L"P-2");
  b.SetStrings(panel, L"RQ_ATTR",
               {Record(L"S001", L"P-2"), Record(L"S501", L"ZZ"), Record(L"S004", L"1P-1"),
                Record(L"S3B9", L"P-2"), Record(L"S002", L"CVT60sq")});
  const AcDbObjectId twice = b.AddRouteElement(L"RT100", {0, 500, 45});
  b.SetStrings(twice, L"RQ_ATTR",
               {Record(L"S501", L"E1"), Record(L"S004", L"1L-10"), Record(L"S3B9", L"L-3"),
                Record(L"S002", L"IV5.5sq"), L"PX02|1L-10!IV5.5sq!L-3!E1!|2|1|55|0|"});
  b.AddRouteElement(L"RT100", {0, 1000});
  const AcDbObjectId code = b.AddRouteElement(L"RT100", {0, 1500});
  b.SetStrings(
      code, L"RQ_ATTR",
      {Record(L"S501", L"E1"), Record(L"S004", L""), Record(L"S3B9", L""), Record(L"S002", L"")});
  b.AddLine(0, 0, 3000, 0);
}

// One segment of 100 units carrying 1L-2, in a drawing of the given units.
void OneSegment(tools::DrawingBuilder& b) {
  b.DefineSegment(L"RT100", 100);
  const AcDbObjectId seg = b.AddRouteElement(L"RT100", {0, 0});
  b.SetStrings(seg, L"RQ_ATTR",
               {Record(L"S501", L"E1"), Record(L"S004", L"1L-2"), Record(L"S3B9", L"L-1"),
                Record(L"S002", L"VVF1.6-3C")});
}

class WireReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteBuiltDrawing(dir_ / "1F.dxf", FirstFloor, L"4"));
    std::string error;
    system_ = tools::SystemFolderCopy::Create("", &error);
    ASSERT_NE(system_, nullptr) << error;
  }
  tools::ReportOptions Options(std::vector<std::string> files) {
    tools::ReportOptions options;
    options.kind = tools::ReportKind::kWires;
    options.files = std::move(files);
    options.config_path = (dir_ / "no_such.ini").string();
    return options;
  }
  std::string File(const std::string& name) { return (dir_ / name).string(); }

  ScratchFolder dir_{"harnex_wire_report"};
  std::unique_ptr<tools::SystemFolderCopy> system_;
};

TEST_F(WireReportTest, EachWireOfADrawingIsOneLineWithItsElementsAndRouteLength) {
  std::vector<std::wstring> said;
  bool all_read = false;
  tools::CsvTable table = Report(Options({File("1F.dxf")}), &said, &all_read);
  EXPECT_TRUE(all_read);
  EXPECT_TRUE(said.empty()) << platform::WideToUtf8(said.front());
  EXPECT_EQ(table.header, (Row{L"図面", L"系統番号", L"工事項目", L"盤/負荷名称", L"配線サイズ",
                               L"要素数", L"経路長(m)"}));
  // Without a configuration the construction items stay codes. System numbers in the order
  // people read them: 1L-10 after 1L-3.
  EXPECT_EQ(table.rows,
            (Rows{{L"1F.dxf", L"1L-2", L"E1", L"L-1", L"VVF1.6-3C", L"2", L"0.35"},
                  {L"1F.dxf", L"1L-3", L"E2", L"L-2", L"VVF2.0-3C (PF16)", L"1", L"0.20"},
                  {L"1F.dxf", L"1L-10", L"E1", L"L-3", L"IV5.5sq", L"1", L"0.10"},
                  {L"1F.dxf", L"1P-1", L"ZZ", L"P-2", L"CVT60sq", L"2", L"0.13"}}));
}

TEST_F(WireReportTest, NamesComeFromTheConfiguredMasterListsAndTheAllowanceAddsBothEnds) {
  tools::ReportOptions options = Options({File("1F.dxf")});
  options.config_path = platform::WideToUtf8(system_->config_path());
  options.with_allowance = true;
  options.allowance = 1.5;
  std::vector<std::wstring> said;
  bool all_read = false;
  tools::CsvTable table = Report(options, &said, &all_read);
  ASSERT_EQ(table.header.size(), 8u);
  EXPECT_EQ(table.header.back(), L"手配長(m)");
  // E1 and E2 are the general list's 電灯 and コンセント; ZZ is in no list and stays a code.
  EXPECT_EQ(table.rows,
            (Rows{{L"1F.dxf", L"1L-2", L"電灯", L"L-1", L"VVF1.6-3C", L"2", L"0.35", L"3.35"},
                  {L"1F.dxf", L"1L-3", L"コンセント", L"L-2", L"VVF2.0-3C (PF16)", L"1", L"0.20",
                   L"3.20"},
                  {L"1F.dxf", L"1L-10", L"電灯", L"L-3", L"IV5.5sq", L"1", L"0.10", L"3.10"},
                  {L"1F.dxf", L"1P-1", L"ZZ", L"P-2", L"CVT60sq", L"2", L"0.13", L"3.13"}}));
}

TEST_F(WireReportTest, TheDrawingsUnitsGiveTheMetres) {
  ASSERT_TRUE(WriteBuiltDrawing(dir_ / "m.dxf", OneSegment, L"6"));
  ASSERT_TRUE(WriteBuiltDrawing(dir_ / "cm.dxf", OneSegment, L"5"));
  ASSERT_TRUE(WriteBuiltDrawing(dir_ / "none.dxf", OneSegment));
  ASSERT_TRUE(WriteBuiltDrawing(dir_ / "odd.dxf", OneSegment, L"99"));
  std::vector<std::wstring> said;
  bool all_read = false;
  tools::CsvTable table =
      Report(Options({File("m.dxf"), File("cm.dxf"), File("none.dxf"), File("odd.dxf")}), &said,
             &all_read);
  EXPECT_TRUE(all_read);
  ASSERT_EQ(table.rows.size(), 4u);
  // 100 metres, 100 centimetres, 100 millimetres; an unknown unit is read as millimetres and
  // said so.
  EXPECT_EQ(table.rows[0][0], L"m.dxf");
  EXPECT_EQ(table.rows[0][6], L"100.00");
  EXPECT_EQ(table.rows[1][6], L"1.00");
  EXPECT_EQ(table.rows[2][6], L"0.10");
  EXPECT_EQ(table.rows[3][6], L"0.10");
  ASSERT_EQ(said.size(), 1u);
  EXPECT_NE(said[0].find(L"odd.dxf: $INSUNITS"), std::wstring::npos);
}

TEST_F(WireReportTest, ABrokenFileIsSaidWithItsNameAndTheOthersAreStillReported) {
  ASSERT_TRUE(WriteBuiltDrawing(dir_ / "m.dxf", OneSegment, L"6"));
  {
    std::ofstream broken(dir_ / "broken.dxf");
    broken << "  0\nSECTION\n  2\nENTITIES\n  0\nINSERT\n";
  }
  const std::string before = testing::FileBytes(dir_ / "1F.dxf");
  std::vector<std::wstring> said;
  bool all_read = true;
  tools::CsvTable table =
      Report(Options({File("1F.dxf"), File("broken.dxf"), File("missing.dxf"), File("m.dxf")}),
             &said, &all_read);
  EXPECT_FALSE(all_read);
  ASSERT_EQ(said.size(), 2u);
  EXPECT_EQ(said[0].rfind(platform::Utf8ToWide(File("broken.dxf")) + L": line ", 0), 0u)
      << platform::WideToUtf8(said[0]);
  EXPECT_EQ(said[1], platform::Utf8ToWide(File("missing.dxf")) + L": cannot be opened")
      << platform::WideToUtf8(said[1]);
  ASSERT_EQ(table.rows.size(), 5u);
  EXPECT_EQ(table.rows[3][0], L"1F.dxf");
  EXPECT_EQ(table.rows[4][0], L"m.dxf");
  EXPECT_EQ(table.rows[4][6], L"100.00");
  EXPECT_EQ(testing::FileBytes(dir_ / "1F.dxf"), before) << "inputs are only read";
}

}  // namespace
}  // namespace host
