// The pattern report: one line per non-empty row of every pattern, whichever program wrote the
// project file and in which encoding.
#include <gtest/gtest.h>
#include "platform/win/text_encoding.h"

#include <fstream>
#include <string>
#include <vector>

#include "tools/report.h"
#include "tools/system_folder.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "report_support.h"

namespace host {
namespace {

using testing::ScratchFolder;
using Row = std::vector<std::wstring>;

constexpr int kPatterns = 50;
constexpr int kRows = 100;

std::wstring Num(int n) {
  return std::to_wstring(n);
}

std::wstring PatternName(int p) {
  return L"パターン" + Num(p + 1);
}
bool IsTrunk(int p) {
  return p % 2 == 0;
}

// The nine values of row r of pattern p, as the palette shows them (on-rack as "○").
Row RowValues(int p, int r) {
  return {r % 3 == 0 ? L"動力" : L"電灯",
          L"P" + Num(p + 1) + L"-" + Num(r + 1),
          L"盤" + Num(p + 1) + L",負荷" + Num(r + 1),  // a comma: quoted in the file
          L"CV" + Num(r + 1) + L"sq",
          r % 2 == 1 ? L"(PF16)" : L"",
          L"",
          r % 5 == 0 ? L"(FEP30)" : L"",
          r % 4 == 0 ? L"○" : L"",
          r == 0 ? L"\"至急\" 1F" : L""};
}

// The project as Windows' profile functions write it: keys in the palette's order.
std::wstring ProjectText(const std::wstring& name) {
  std::wstring text = L"[PROJECT]\r\nNAME=" + name + L"\r\nCREATEDATE=2016/04/01 09:30:00\r\n";
  wchar_t key[32];
  for (int p = 0; p < kPatterns; ++p) {
    std::swprintf(key, 32, L"PATTERN-%03d", p + 1);
    text += std::wstring(key) + L"=" + PatternName(p) + L"\r\n";
  }
  const wchar_t* const keys[] = {L"KOUJI",  L"KEITOU", L"BAN",    L"HSIZE1", L"HSIZE2",
                                 L"HSIZE3", L"HSIZE4", L"ONRACK", L"MEMO"};
  for (int p = 0; p < kPatterns; ++p) {
    std::swprintf(key, 32, L"[PATTERN-%03d]", p + 1);
    text +=
        std::wstring(key) + L"\r\nTYPE=" + (IsTrunk(p) ? L"幹線" : L"一般") + L"\r\nPIPESEL=1\r\n";
    for (int r = 0; r < kRows; ++r) {
      Row values = RowValues(p, r);
      values[7] = values[7].empty() ? L"0" : L"1";
      for (int k = 0; k < 9; ++k) {
        std::swprintf(key, 32, L"%ls-%03d=", keys[k], r + 1);
        text += key + values[k] + L"\r\n";
      }
    }
  }
  return text;
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

tools::ReportOptions PatternOptions(std::vector<std::string> files, std::string config = "") {
  tools::ReportOptions options;
  options.kind = tools::ReportKind::kPatterns;
  options.files = std::move(files);
  options.config_path = std::move(config);
  return options;
}

TEST(PatternReportTest, FiftyFullPatternsReadAlikeFromWindowsAndFromThisProgram) {
  ScratchFolder dir("harnex_pattern_report");
  WriteBytes(dir / "ANSI棟.tpr", platform::WideToCp932(ProjectText(L"ANSI棟")));
  WriteBytes(dir / "UTF16棟.tpr",
             platform::EncodeText(ProjectText(L"UTF16棟"), platform::TextEncoding::kUtf16Le));
  {
    // The same project loaded and saved again by this program.
    ProjectModel model(platform::Utf8ToWide(dir.path().string()).c_str());
    ASSERT_EQ(LoadProject(model, L"ANSI棟"), kPatterns);
    ASSERT_TRUE(SaveProject(model, L"保存棟"));
  }
  ASSERT_NE(testing::FileBytes(dir / "ANSI棟.tpr").find("\x93\x64\x93\x94"), std::string::npos)
      << "電灯 in code page 932";

  std::vector<std::wstring> said;
  bool all_read = false;
  const tools::CsvTable table =
      testing::Report(PatternOptions({(dir / "ANSI棟.tpr").string(), (dir / "UTF16棟.tpr").string(),
                                      (dir / "保存棟.tpr").string()}),
                      &said, &all_read);
  EXPECT_TRUE(all_read);
  EXPECT_TRUE(said.empty());
  EXPECT_EQ(table.header, (Row{L"プロジェクト", L"パターン", L"種別", L"行", L"工事項目",
                               L"系統番号", L"盤/負荷名称", L"配線サイズ", L"電線管サイズ 屋内",
                               L"電線管サイズ 屋外", L"電線管サイズ 地中", L"ﾗｯｸ上", L"備考"}));
  const std::wstring projects[] = {L"ANSI棟", L"UTF16棟", L"保存棟"};
  ASSERT_EQ(table.rows.size(), 3u * kPatterns * kRows);
  size_t i = 0;
  for (const std::wstring& project : projects) {
    for (int p = 0; p < kPatterns; ++p) {
      for (int r = 0; r < kRows; ++r, ++i) {
        Row expected = {project, PatternName(p), IsTrunk(p) ? L"幹線" : L"一般", Num(r + 1)};
        for (const std::wstring& value : RowValues(p, r)) expected.push_back(value);
        ASSERT_EQ(table.rows[i], expected) << "row " << i;
      }
    }
  }
  // What a spreadsheet gets: quotes around the comma and the doubled quotes.
  const std::wstring text = tools::CsvText(table);
  EXPECT_NE(text.find(L"\r\nANSI棟,パターン1,幹線,1,動力,P1-1,\"盤1,負荷1\",CV1sq,,,(FEP30),○,"
                      L"\"\"\"至急\"\" 1F\"\r\n"),
            std::wstring::npos);
}

TEST(PatternReportTest, EmptyRowsAreLeftOutAndAProjectIsFoundByNameInTheProjectFolder) {
  std::string error;
  auto system = tools::SystemFolderCopy::Create("", &error);
  ASSERT_NE(system, nullptr) << error;
  ScratchFolder dir("harnex_pattern_gaps");
  // A row that holds only the on-rack flag is a row; one whose keys are all empty ends the
  // pattern, as the palette reads it.
  WriteBytes(dir / "gaps.tpr",
             platform::WideToCp932(L"[PROJECT]\r\nPATTERN-001=A\r\n[PATTERN-001]\r\nTYPE=一般\r\n"
                                   L"KOUJI-001=電灯\r\nONRACK-002=1\r\nKEITOU-004=X\r\n"));
  std::vector<std::wstring> said;
  bool all_read = false;
  const tools::CsvTable table =
      testing::Report(PatternOptions({(dir / "gaps.tpr").string(), "サンプルビル"},
                                     platform::WideToUtf8(system->config_path())),
                      &said, &all_read);
  EXPECT_TRUE(all_read) << (said.empty() ? "" : platform::WideToUtf8(said[0]));
  ASSERT_GE(table.rows.size(), 3u);
  EXPECT_EQ(table.rows[0],
            (Row{L"gaps", L"A", L"一般", L"1", L"電灯", L"", L"", L"", L"", L"", L"", L"", L""}));
  EXPECT_EQ(table.rows[1],
            (Row{L"gaps", L"A", L"一般", L"2", L"", L"", L"", L"", L"", L"", L"", L"○", L""}));
  // The bundled sample project, named without its folder: its first row as the file holds it.
  EXPECT_EQ(table.rows[2],
            (Row{L"サンプルビル", L"受変電から分電盤", L"幹線", L"1", L"電灯幹線", L"1L-1",
                 L"P-1,L-1", L"CV22sq-3C E8", L"(GP36)", L"(GP36)", L"(FEP50)", L"", L""}));
}

TEST(PatternReportTest, FilesThatAreNoProjectsAreSaidAndTheOthersStillReported) {
  ScratchFolder dir("harnex_pattern_bad");
  WriteBytes(dir / "good.tpr",
             "[PROJECT]\r\nPATTERN-001=A\r\n[PATTERN-001]\r\nKEITOU-001=1L-1\r\n");
  WriteBytes(dir / "empty.tpr", "[PROJECT]\r\nNAME=empty\r\n");
  WriteBytes(dir / "notes.txt", "PATTERN-001=A\r\n");
  const std::string files[] = {(dir / "empty.tpr").string(), (dir / "notes.txt").string(),
                               (dir / "none.tpr").string(), (dir / "good.tpr").string()};
  std::vector<std::wstring> said;
  bool all_read = true;
  const tools::CsvTable table =
      testing::Report(PatternOptions({files[0], files[1], files[2], files[3]}), &said, &all_read);
  EXPECT_FALSE(all_read);
  ASSERT_EQ(said.size(), 3u);
  EXPECT_EQ(said[0], platform::Utf8ToWide(files[0]) +
                         L": the project holds no pattern (no PATTERN-001 in [PROJECT])");
  EXPECT_EQ(said[1], platform::Utf8ToWide(files[1]) + L": not a project file (.tpr)");
  EXPECT_EQ(said[2], platform::Utf8ToWide(files[2]) + L": no such file");
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(table.rows[0][0], L"good");
  EXPECT_EQ(table.rows[0][2], L"幹線") << "a missing TYPE reads as trunk";
  EXPECT_EQ(table.rows[0][5], L"1L-1");
}

}  // namespace
}  // namespace host
