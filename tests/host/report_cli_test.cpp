// harnex-host --report end to end: the program reads drawings and projects, says what it cannot
// read, and writes CSV files that Python's csv module (as a spreadsheet would) reads back with
// the BOM, CRLF line ends and the headers; --highlight marks one system in the picture.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include "platform/win/text_encoding.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/drawing_builder.h"
#include "tools/system_folder.h"
#include "report_support.h"
#include "terminal_support.h"

namespace host {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::ScratchFolder;

struct Outcome {
  int status = -1;
  std::string out, err;
};

// Runs the built program with `args` in folder `dir`, standard input empty.
Outcome RunProgram(const fs::path& dir, const std::string& args) {
  Outcome run;
  const fs::path program = fs::current_path().parent_path() / "harnex-host";
  if (!fs::exists(program)) {
    run.err = "no program at " + program.string();
    return run;
  }
  const std::string command = "cd '" + dir.string() + "' && " + program.string() + " " + args +
                              " </dev/null >stdout.bin 2>stderr.txt";
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = FileBytes(dir / "stdout.bin");
  run.err = FileBytes(dir / "stderr.txt");
  return run;
}

// Runs a Python check in `dir`; its output, and whether it exited 0.
bool RunPython(const fs::path& dir, const std::string& script, std::string* output) {
  std::ofstream(dir / "check.py") << script;
  const std::string command =
      "cd '" + dir.string() + "' && /usr/bin/python3 check.py >python.txt 2>&1";
  const int status = std::system(command.c_str());
  *output = FileBytes(dir / "python.txt");
  return status == 0;
}

void Segments(tools::DrawingBuilder& b, const std::wstring& second_system) {
  b.DefineSegment(L"RT100", 100);
  const AcDbObjectId a = b.AddRouteElement(L"RT100", {0, 0});
  b.SetStrings(a, L"RQ_ATTR",
               {L"S501|E1|2|1|55|0|", L"S004|1L-2|2|1|55|0|", L"S3B9|L-1,L-2|2|1|55|0|",
                L"S002|VVF1.6-3C|2|1|55|0|"});
  const AcDbObjectId b2 = b.AddRouteElement(L"RT100", {0, 500, 90, 3});
  b.SetStrings(b2, L"RQ_ATTR",
               {L"S501|E2|2|1|55|0|", L"S004|" + second_system + L"|2|1|55|0|",
                L"S3B9|L-2|2|1|55|0|", L"S002|IV5.5sq|2|1|55|0|"});
  b.AddRouteElement(L"RT100", {500, 0});  // no trunk number
}

TEST(ReportProgramTest, AWireReportOfABatchOpensInPythonsCsvWithBomCrlfAndHeaders) {
  ScratchFolder dir("harnex_report_cli");
  ASSERT_TRUE(testing::WriteBuiltDrawing(
      dir / "1F.dxf", [](tools::DrawingBuilder& b) { Segments(b, L"1L-3"); }, L"4"));
  ASSERT_TRUE(testing::WriteBuiltDrawing(
      dir / "2F.dxf", [](tools::DrawingBuilder& b) { Segments(b, L"2L-1"); }, L"6"));
  std::ofstream(dir / "broken.dxf") << "  0\nSECTION\n  2\nHEADER\n";
  const std::string drawing_before = FileBytes(dir / "1F.dxf");

  const Outcome run = RunProgram(dir.path(),
                                 "--report wires 1F.dxf broken.dxf 2F.dxf --config none.ini "
                                 "--allowance 2.5 --out wires.csv");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("harnex-host: broken.dxf: line "), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "") << "the report went to the file";
  EXPECT_EQ(FileBytes(dir / "1F.dxf"), drawing_before);

  // 1F is in millimetres: 100 mm and 300 mm (the second segment is scaled by 3); 2F in metres.
  std::string output;
  const bool passed = RunPython(dir.path(), R"py(import csv
raw = open("wires.csv", "rb").read()
assert raw.startswith(b"\xef\xbb\xbf"), raw[:10]
assert raw.count(b"\r\n") == raw.count(b"\n") == 5, raw
with open("wires.csv", encoding="utf-8-sig", newline="") as f:
    rows = list(csv.reader(f))
assert rows[0] == ["図面", "系統番号", "工事項目", "盤/負荷名称", "配線サイズ", "要素数",
                   "経路長(m)", "手配長(m)"], rows[0]
assert rows[1] == ["1F.dxf", "1L-2", "E1", "L-1,L-2", "VVF1.6-3C", "1", "0.10", "5.10"], rows[1]
assert rows[2] == ["1F.dxf", "1L-3", "E2", "L-2", "IV5.5sq", "1", "0.30", "5.30"], rows[2]
assert rows[3] == ["2F.dxf", "1L-2", "E1", "L-1,L-2", "VVF1.6-3C", "1", "100.00", "105.00"], rows[3]
assert rows[4] == ["2F.dxf", "2L-1", "E2", "L-2", "IV5.5sq", "1", "300.00", "305.00"], rows[4]
print("ok", len(rows))
)py",
                                &output);
  EXPECT_TRUE(passed) << output;
  EXPECT_EQ(output, "ok 5\n");
}

TEST(ReportProgramTest, CodePage932AndStandardOutputAndNoWritingOverAnInput) {
  std::string error;
  auto system = tools::SystemFolderCopy::Create("", &error);
  ASSERT_NE(system, nullptr) << error;
  ScratchFolder dir("harnex_report_cp932");
  const std::string config = platform::WideToUtf8(system->config_path());
  const Outcome patterns =
      RunProgram(dir.path(), "--report patterns サンプルビル --config '" + config +
                                 "' --encoding cp932 --out patterns.csv");
  EXPECT_EQ(patterns.status, 0) << patterns.err;
  std::string output;
  const bool passed = RunPython(dir.path(), R"py(import csv
raw = open("patterns.csv", "rb").read()
assert not raw.startswith(b"\xef\xbb\xbf")
try:
    raw.decode("utf-8")
    raise SystemExit("the file is UTF-8")
except UnicodeDecodeError:
    pass
with open("patterns.csv", encoding="cp932", newline="") as f:
    rows = list(csv.reader(f))
assert rows[0][:4] == ["プロジェクト", "パターン", "種別", "行"], rows[0]
assert rows[0][11] == "ﾗｯｸ上", rows[0]
assert rows[2][:6] == ["サンプルビル", "受変電から分電盤", "幹線", "2", "動力幹線", "1P-1"], rows[2]
assert rows[2][11] == "○", rows[2]
print("ok")
)py",
                                &output);
  EXPECT_TRUE(passed) << output;

  ASSERT_TRUE(
      testing::WriteBuiltDrawing(dir / "plan.dxf", [](tools::DrawingBuilder& b) { Segments(b, L"-"); }));
  const Outcome untagged = RunProgram(dir.path(), "--report untagged plan.dxf");
  EXPECT_EQ(untagged.status, 0) << untagged.err;
  EXPECT_EQ(untagged.out.rfind("\xEF\xBB\xBF図面,ハンドル,ブロック名,X,Y,画層\r\nplan.dxf,", 0), 0u)
      << untagged.out;
  EXPECT_NE(untagged.out.find(",RT100,0,500,0\r\n"), std::string::npos) << untagged.out;

  const std::string before = FileBytes(dir / "plan.dxf");
  const Outcome over = RunProgram(dir.path(), "--report untagged plan.dxf --out ./plan.dxf");
  EXPECT_EQ(over.status, 1);
  EXPECT_NE(over.err.find("will not write the report over an input file"), std::string::npos)
      << over.err;
  EXPECT_EQ(FileBytes(dir / "plan.dxf"), before);
}

TEST(ReportProgramTest, HighlightMarksTheElementsOfOneSystemInThePicture) {
  ScratchFolder dir("harnex_highlight");
  ASSERT_TRUE(testing::WriteBuiltDrawing(dir / "plan.dxf",
                                         [](tools::DrawingBuilder& b) { Segments(b, L"1L-3"); }));
  const Outcome run =
      RunProgram(dir.path(), "--drawing plan.dxf --svg plan.svg --highlight 1L-3 --no-host-module");
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string svg = FileBytes(dir / "plan.svg");
  // The second segment: (0,500) up by 300 (rotated 90°, scale 3); Y is flipped in the picture.
  EXPECT_NE(svg.find("<path d=\"M0.000 -500.000 L0.000 -800.000\"/>"), std::string::npos) << svg;
  EXPECT_EQ(svg.find("<path d=\"M0.000 0.000 L100.000 0.000\"/>"), std::string::npos)
      << "1L-2 is not asked for";
  EXPECT_EQ(RunProgram(dir.path(), "--highlight 1L-3 -").status, 1) << "needs --svg";
}

TEST(ReportProgramTest, ABatchShowsAProgressBarOnATerminalThatMessagesDoNotRunInto) {
  ScratchFolder dir("harnex_report_bar");
  ASSERT_TRUE(
      testing::WriteBuiltDrawing(dir / "1F.dxf", [](tools::DrawingBuilder& b) { Segments(b, L"1L-3"); }));
  std::ofstream(dir / "broken.dxf") << "  0\nSECTION\n";
  const std::string one = (dir / "1F.dxf").string(), broken = (dir / "broken.dxf").string();
  {
    testing_terminal::TerminalProgram batch(
        {"--report", "wires", one, broken, one, "--out", (dir / "w.csv").string()}, {});
    ASSERT_TRUE(batch.started());
    EXPECT_EQ(batch.Finish(), 1) << batch.output();
    // The bar's line is cleared before the message, which stands on a line of its own.
    EXPECT_NE(batch.output().find("集計中... ["), std::string::npos) << batch.output();
    EXPECT_NE(batch.output().find("\r\x1b[Kharnex-host: " + broken + ": line "), std::string::npos)
        << batch.output();
    EXPECT_NE(batch.output().find("] 100%"), std::string::npos) << batch.output();
  }
  testing_terminal::TerminalProgram single(
      {"--report", "wires", one, "--out", (dir / "w.csv").string()}, {});
  ASSERT_TRUE(single.started());
  EXPECT_EQ(single.Finish(), 0) << single.output();
  EXPECT_EQ(single.output().find("集計中"), std::string::npos) << "one file: no bar";
}

}  // namespace
}  // namespace host
