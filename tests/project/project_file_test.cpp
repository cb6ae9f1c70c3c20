// Project files: save and load round trips, the reading rules of hand-written files, the
// reference file, encodings, the atomic replacement under failing file calls, and names.
#include "project/project_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/win/file_system.h"
#include "project/project_test_support.h"
#include "platform/win/text_encoding.h"
#include <windows.h>

namespace {

using projecttest::Cp932;
using projecttest::FixedClock;
using projecttest::Key;
using projecttest::MakeFullPattern;
using projecttest::MakePattern;
using projecttest::MessageLog;
using projecttest::PatternDifference;
using projecttest::ProjectFileTest;
using projecttest::Row;
using projecttest::TempProjectFolder;
using projecttest::Utf8;

// The key names of a section of a saved file, joined with ",".
std::wstring Keys(const TempProjectFolder& dir, const wchar_t* file, const wchar_t* section) {
  wchar_t list[65536];
  const CString path = dir.Win() + L"\\" + file;
  GetPrivateProfileStringW(section, nullptr, L"", list, 65536, path);
  std::wstring joined;
  for (const wchar_t* k = list; *k; k += wcslen(k) + 1)
    joined += (joined.empty() ? L"" : L",") + std::wstring(k);
  return joined;
}

// The model's patterns against the expected ones, in order.
void ExpectPatterns(const ProjectModel& project, const std::vector<const PatternData*>& expected) {
  ASSERT_EQ(project.PatternCount(), static_cast<int>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(PatternDifference(*project.Pattern(static_cast<int>(i)), *expected[i]), "")
        << "pattern " << i;
}

std::string ReadSourceFile(const char* name) {
  const std::filesystem::path here = std::filesystem::path(__FILE__).parent_path();
  std::ifstream in(here / name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// ---- Save and load round trips ---------------------------------------------------------------

TEST_F(ProjectFileTest, RoundTripKeepsEveryValueButNotTheChecks) {
  auto light = MakePattern(L"照明系", kPatternTypeGeneral, kConduitIndoor,
                           {{L"電灯", L"L-1", L"L-1a,L-1b", L"IV2.0", L"E19", L"", L"", 0, L"ﾒﾓ"},
                            {},
                            {L"", L"", L"", L"", L"", L"", L"", 1, L""},
                            {L"", L"", L"", L"", L"", L"", L"FEP30", 0, L""}});
  light->checked[0] = true;
  auto power = MakePattern(L"動力", kPatternTypeTrunk, kConduitUnderground,
                           {{L"動力", L"P-1", L"MCC", L"CV8sq-3C", L"", L"", L"", 1, L""}});
  project_.AddPattern(std::move(light));
  project_.AddPattern(std::move(power));
  ASSERT_TRUE(SaveProject(project_, L"A棟"));
  EXPECT_TRUE(dir_.Exists("A棟.tpr"));
  EXPECT_FALSE(dir_.Exists(Utf8(kProjectTempFileName))) << "no temporary file after a save";

  ProjectModel loaded(dir_.Win());
  ASSERT_EQ(LoadProject(loaded, L"A棟"), 2);
  EXPECT_EQ(loaded.Name(), L"A棟");
  EXPECT_EQ(loaded.CurrentIndex(), 0);
  // The empty second row is passed over: the on-rack-only and the underground-only rows follow
  // the first one without a gap.
  auto expected_light =
      MakePattern(L"照明系", kPatternTypeGeneral, kConduitIndoor,
                  {{L"電灯", L"L-1", L"L-1a,L-1b", L"IV2.0", L"E19", L"", L"", 0, L"ﾒﾓ"},
                   {L"", L"", L"", L"", L"", L"", L"", 1, L""},
                   {L"", L"", L"", L"", L"", L"", L"FEP30", 0, L""}});
  auto expected_power =
      MakePattern(L"動力", kPatternTypeTrunk, kConduitUnderground,
                  {{L"動力", L"P-1", L"MCC", L"CV8sq-3C", L"", L"", L"", 1, L""}});
  ExpectPatterns(loaded, {expected_light.get(), expected_power.get()});
  EXPECT_FALSE(loaded.Pattern(0)->checked[0]) << "checks are never stored";
  EXPECT_EQ(Key(dir_, L"A棟.tpr", L"PATTERN-001", L"ONRACK-002"), L"1");
  EXPECT_EQ(Key(dir_, L"A棟.tpr", L"PATTERN-001", L"KOUJI-002"), L"");
  EXPECT_EQ(Key(dir_, L"A棟.tpr", L"PATTERN-001", L"HSIZE4-003"), L"FEP30");
  EXPECT_EQ(log_.Text(), L"") << "a save that works shows nothing";
}

TEST_F(ProjectFileTest, SearchPatternAndUnnamedPatternsAreNotSavedAndTakeNoNumber) {
  project_.AddPattern(MakePattern(L"P", 0, 0, {{L"p"}}));
  project_.AddPattern(MakePattern(L"Q", 0, 0, {{L"q"}}));
  project_.AddPattern(MakePattern(kSearchPatternName, 0, 0, {{L"s"}}));
  project_.AddPattern(MakePattern(L"", 0, 0, {{L"u"}}));
  project_.AddPattern(MakePattern(L"R", 1, 2, {{L"r"}}));
  ASSERT_TRUE(SaveProject(project_, L"proj"));
  EXPECT_EQ(Keys(dir_, L"proj.tpr", L"PROJECT"),
            L"NAME,CREATEDATE,PATTERN-001,PATTERN-002,PATTERN-003");
  EXPECT_EQ(Key(dir_, L"proj.tpr", L"PROJECT", L"PATTERN-003"), L"R");
  EXPECT_EQ(Key(dir_, L"proj.tpr", L"PATTERN-004", L"TYPE"), L"<none>");

  ProjectModel loaded(dir_.Win());
  ASSERT_EQ(LoadProject(loaded, L"proj"), 3);
  EXPECT_EQ(loaded.Pattern(0)->name, L"P");
  EXPECT_EQ(loaded.Pattern(1)->name, L"Q");
  EXPECT_EQ(loaded.Pattern(2)->name, L"R");
  EXPECT_EQ(loaded.Pattern(2)->kouji[0], L"r");
  EXPECT_EQ(loaded.Pattern(2)->pipeSel, 2);
}

TEST_F(ProjectFileTest, RowsAreNumberedWithoutGapsUpToOneHundred) {
  auto three = MakePattern(L"three", 0, 0, {{L"1"}, {L"2"}, {L"3"}});
  auto spread = std::make_unique<PatternData>();
  spread->name = L"spread";
  spread->keitou[0] = L"first";
  spread->memo[50] = L"middle";
  spread->hsize2[99] = L"last";
  project_.AddPattern(std::move(three));
  project_.AddPattern(std::move(spread));
  project_.AddPattern(MakeFullPattern(L"full"));
  ASSERT_TRUE(SaveProject(project_, L"rows"));

  EXPECT_EQ(Key(dir_, L"rows.tpr", L"PATTERN-001", L"KOUJI-003"), L"3");
  EXPECT_EQ(Key(dir_, L"rows.tpr", L"PATTERN-001", L"KOUJI-004"), L"<none>");
  EXPECT_EQ(Keys(dir_, L"rows.tpr", L"PATTERN-002"),
            L"TYPE,PIPESEL,"
            L"KOUJI-001,KEITOU-001,BAN-001,HSIZE1-001,HSIZE2-001,HSIZE3-001,HSIZE4-001,ONRACK-001,"
            L"MEMO-001,"
            L"KOUJI-002,KEITOU-002,BAN-002,HSIZE1-002,HSIZE2-002,HSIZE3-002,HSIZE4-002,ONRACK-002,"
            L"MEMO-002,"
            L"KOUJI-003,KEITOU-003,BAN-003,HSIZE1-003,HSIZE2-003,HSIZE3-003,HSIZE4-003,ONRACK-003,"
            L"MEMO-003");
  EXPECT_EQ(Key(dir_, L"rows.tpr", L"PATTERN-002", L"MEMO-002"), L"middle");
  EXPECT_EQ(Key(dir_, L"rows.tpr", L"PATTERN-002", L"HSIZE2-003"), L"last");
  EXPECT_EQ(Key(dir_, L"rows.tpr", L"PATTERN-003", L"MEMO-100"), L"ﾒﾓ100");
  EXPECT_EQ(Key(dir_, L"rows.tpr", L"PATTERN-003", L"KOUJI-101"), L"<none>");

  ProjectModel loaded(dir_.Win());
  ASSERT_EQ(LoadProject(loaded, L"rows"), 3);
  EXPECT_EQ(loaded.Pattern(0)->UsedRows(), 3);
  EXPECT_EQ(loaded.Pattern(1)->memo[1], L"middle");
  EXPECT_EQ(loaded.Pattern(1)->hsize2[2], L"last");
  EXPECT_EQ(loaded.Pattern(2)->UsedRows(), 100);
  auto full = MakeFullPattern(L"full");
  EXPECT_EQ(PatternDifference(*loaded.Pattern(2), *full), "");
}

TEST_F(ProjectFileTest, CreateDateIsSetOnceAndUpdateDateFollowsEverySave) {
  project_.AddPattern(MakePattern(L"P", 0, 0, {{L"x"}}));
  ASSERT_TRUE(SaveProject(project_, L"dated"));
  EXPECT_EQ(Key(dir_, L"dated.tpr", L"PROJECT", L"CREATEDATE"), L"2016/04/01 09:30:00");
  EXPECT_EQ(Key(dir_, L"dated.tpr", L"PROJECT", L"UPDATEDATE"), L"<none>");

  clock_.Set(2016, 4, 2, 17, 5, 12);
  ASSERT_TRUE(SaveProject(project_, L"dated"));
  EXPECT_EQ(Key(dir_, L"dated.tpr", L"PROJECT", L"CREATEDATE"), L"2016/04/01 09:30:00");
  EXPECT_EQ(Key(dir_, L"dated.tpr", L"PROJECT", L"UPDATEDATE"), L"2016/04/02 17:05:12");
  clock_.Set(2017, 1, 9, 8, 7, 6);
  ASSERT_TRUE(SaveProject(project_, L"dated"));
  EXPECT_EQ(Key(dir_, L"dated.tpr", L"PROJECT", L"CREATEDATE"), L"2016/04/01 09:30:00");
  EXPECT_EQ(Key(dir_, L"dated.tpr", L"PROJECT", L"UPDATEDATE"), L"2017/01/09 08:07:06");
  EXPECT_EQ(Keys(dir_, L"dated.tpr", L"PROJECT"), L"NAME,CREATEDATE,UPDATEDATE,PATTERN-001");

  // A copied project carries an empty UPDATEDATE and keeps its creation date when saved.
  dir_.Write("copy.tpr",
             "[PROJECT]\r\nNAME=copy\r\nCREATEDATE=2010/01/01 00:00:00\r\n"
             "UPDATEDATE=\r\nPATTERN-001=P\r\n[PATTERN-001]\r\nTYPE=\x8a\xb2\x90\xfc\r\n");
  ASSERT_TRUE(SaveProject(project_, L"copy"));
  EXPECT_EQ(Key(dir_, L"copy.tpr", L"PROJECT", L"CREATEDATE"), L"2010/01/01 00:00:00");
  EXPECT_EQ(Key(dir_, L"copy.tpr", L"PROJECT", L"UPDATEDATE"), L"2017/01/09 08:07:06");
  // The creation date is copied through a buffer of 64 characters.
  dir_.Write("longdate.tpr", "[PROJECT]\r\nCREATEDATE=" + std::string(70, '7') + "\r\n");
  ASSERT_TRUE(SaveProject(project_, L"longdate"));
  EXPECT_EQ(Key(dir_, L"longdate.tpr", L"PROJECT", L"CREATEDATE"), std::wstring(63, L'7'));
  // A project saved under a name whose file exists adopts that file's creation date.
  dir_.Write("old.tpr", "[PROJECT]\r\nNAME=old\r\n");
  ASSERT_TRUE(SaveProject(project_, L"OLD"));
  EXPECT_EQ(Key(dir_, L"old.tpr", L"PROJECT", L"CREATEDATE"), L"");
  EXPECT_EQ(Key(dir_, L"old.tpr", L"PROJECT", L"NAME"), L"OLD");
}

// ---- Reading hand-written files --------------------------------------------------------------

TEST_F(ProjectFileTest, PatternNumbersEndAtTheFirstGap) {
  dir_.Write("gap.tpr",
             "[PROJECT]\r\nPATTERN-001=A\r\nPATTERN-003=C\r\n[PATTERN-001]\r\nKOUJI-001=a\r\n"
             "[PATTERN-003]\r\nKOUJI-001=c\r\n");
  dir_.Write("none.tpr", "[PROJECT]\r\nNAME=none\r\nPATTERN-002=B\r\n");
  dir_.Write("blank.tpr", "[PROJECT]\r\nPATTERN-001=\r\nPATTERN-002=B\r\n");
  ASSERT_EQ(LoadProject(project_, L"gap"), 1);
  EXPECT_EQ(project_.Pattern(0)->kouji[0], L"a");
  ASSERT_EQ(LoadProject(project_, L"none"), 0);
  EXPECT_EQ(project_.Name(), L"none");
  EXPECT_EQ(project_.CurrentIndex(), -1);
  EXPECT_EQ(LoadProject(project_, L"blank"), 0);
}

TEST_F(ProjectFileTest, MissingFileLeavesTheModelAlone) {
  project_.SetName(L"keep");
  project_.AddPattern(MakePattern(L"P", 0, 0, {}));
  EXPECT_EQ(LoadProject(project_, L"absent"), -1);
  EXPECT_EQ(project_.Name(), L"keep");
  EXPECT_EQ(project_.PatternCount(), 1);
  // Names are found without regard to case, as Windows finds files.
  dir_.Write("Mixed.tpr", "[PROJECT]\r\nPATTERN-001=P\r\n");
  EXPECT_EQ(LoadProject(project_, L"MIXED"), 1);
}

TEST_F(ProjectFileTest, RowsEndAtAnAllEmptyRowOrAfterOneHundred) {
  std::string text = "[PROJECT]\r\nPATTERN-001=stop\r\nPATTERN-002=zero\r\nPATTERN-003=many\r\n";
  // Row 2 has all nine keys without values: it ends the rows, row 3 is not read.
  text +=
      "[PATTERN-001]\r\nKOUJI-001=a\r\nKOUJI-002=\r\nKEITOU-002=\r\nBAN-002=\r\nHSIZE1-002=\r\n"
      "HSIZE2-002=\r\nHSIZE3-002=\r\nHSIZE4-002=\r\nONRACK-002=\r\nMEMO-002=\r\n"
      "KOUJI-003=c\r\n";
  // An ONRACK of "0" is text: the row is read and the next one too.
  text += "[PATTERN-002]\r\nONRACK-001=0\r\nKOUJI-002=b\r\n";
  text += "[PATTERN-003]\r\n";
  for (int k = 1; k <= 105; ++k)
    text += "MEMO-" + std::string(k < 100 ? "0" : "") + (k < 10 ? "0" : "") + std::to_string(k) +
            "=m" + std::to_string(k) + "\r\n";
  dir_.Write("rows.tpr", text);
  ASSERT_EQ(LoadProject(project_, L"rows"), 3);
  EXPECT_EQ(project_.Pattern(0)->UsedRows(), 1);
  EXPECT_EQ(project_.Pattern(0)->kouji[2], L"");
  EXPECT_EQ(project_.Pattern(1)->kouji[1], L"b");
  EXPECT_TRUE(project_.Pattern(1)->IsRowEmpty(0));
  EXPECT_EQ(project_.Pattern(2)->UsedRows(), 100);
  EXPECT_EQ(project_.Pattern(2)->memo[99], L"m100");
}

TEST_F(ProjectFileTest, TypeAndNumbersFollowTheReadingRules) {
  struct Case {
    const char* type;  // code page 932 bytes; null: no TYPE key
    const char* number;
    int expected_type;
    int expected_number;
  };
  const Case cases[] = {
      {"\x8a\xb2\x90\xfc", "2", 0, 2},          // 幹線
      {"\x88\xea\x94\xca", " 3abc", 1, 3},      // 一般
      {"\x8a\xb2\x90\xfc\x8a\xb2", "x", 1, 0},  // 幹線幹線: any other text
      {"trunk", "-1", 1, -1},
      {"", "", 0, 0},
      {nullptr, nullptr, 0, 0},
      {"\"\x8a\xb2\x90\xfc\"", "+7", 0, 7},  // quotes go as the profile function reads them
  };
  int n = 0;
  for (const Case& c : cases) {
    std::string text = "[PROJECT]\r\nPATTERN-001=P\r\n[PATTERN-001]\r\n";
    if (c.type) text += std::string("TYPE=") + c.type + "\r\n";
    if (c.number)
      text += std::string("PIPESEL=") + c.number + "\r\nONRACK-001=" + c.number + "\r\n";
    text += "KOUJI-001=k\r\n";
    std::string name = "t";  // appended: g++ 12 at -O3 misreads "t" + temporary (-Wrestrict)
    name += std::to_string(n++);
    dir_.Write(name + ".tpr", text);
    ASSERT_EQ(LoadProject(project_, platform::Utf8ToWide(name).c_str()), 1) << text;
    EXPECT_EQ(project_.Pattern(0)->type, c.expected_type) << text;
    EXPECT_EQ(project_.Pattern(0)->pipeSel, c.expected_number) << text;
    EXPECT_EQ(project_.Pattern(0)->onRack[0], c.expected_number) << text;
  }
}

TEST_F(ProjectFileTest, LongValuesAreCutByTheReadBuffers) {
  const std::string long_name(200, 'N');
  const std::string long_value(300, 'v');
  dir_.Write("long.tpr", "[PROJECT]\r\nPATTERN-001=" + long_name +
                             "\r\n[PATTERN-001]\r\nMEMO-001=" + long_value + "\r\n");
  ASSERT_EQ(LoadProject(project_, L"long"), 1);
  EXPECT_EQ(project_.Pattern(0)->name, std::wstring(127, L'N'));
  EXPECT_EQ(project_.Pattern(0)->memo[0], std::wstring(127, L'v'));

  // Reading one pattern again keeps 259 characters of a value and of the name it compares.
  dir_.Write("reload.tpr",
             "[PROJECT]\r\nPATTERN-001=P\r\n[PATTERN-001]\r\nMEMO-001=" + long_value + "\r\n");
  project_.SetName(L"reload");
  PatternData pattern;
  pattern.name = L"P";
  ReloadPattern(project_, pattern);
  EXPECT_EQ(pattern.memo[0], std::wstring(259, L'v'));
}

// ---- The reference file and encodings --------------------------------------------------------

// The model of the reference file tests/project/golden_project.tpr.
void FillGoldenProject(ProjectModel& project) {
  project.AddPattern(
      MakePattern(L"照明系", kPatternTypeGeneral, kConduitIndoor,
                  {{L"電灯", L"L-1", L"L-1a,L-1b", L"IV2.0", L"E19", L"", L"", 0, L"ｹｰﾌﾞﾙﾗｯｸ経由"},
                   {},
                   {L"", L"", L"", L"", L"", L"", L"", 1, L""},
                   {L"", L"", L"", L"", L"", L"", L"FEP30", 0, L""}}));
  project.AddPattern(MakePattern(kSearchPatternName, kPatternTypeGeneral, 0, {{L"電灯"}}));
  project.AddPattern(MakePattern(L"", kPatternTypeGeneral, 0, {{L"unnamed"}}));
  project.AddPattern(MakePattern(L"動力", kPatternTypeTrunk, kConduitNone, {}));
}

TEST_F(ProjectFileTest, SavedFileEqualsTheReferenceByteForByte) {
  const std::string reference = ReadSourceFile("golden_project.tpr");
  ASSERT_FALSE(reference.empty());
  FillGoldenProject(project_);
  ASSERT_TRUE(SaveProject(project_, L"A棟"));
  EXPECT_EQ(dir_.Read("A棟.tpr"), reference);
}

TEST_F(ProjectFileTest, FileWrittenOnWindowsLoads) {
  // The reference file is what the Windows profile functions write: code page 932, CRLF.
  dir_.Write("windows.tpr", ReadSourceFile("golden_project.tpr"));
  ASSERT_EQ(LoadProject(project_, L"windows"), 2);
  ProjectModel expected(dir_.Win());
  FillGoldenProject(expected);
  expected.RemovePattern(2);
  expected.RemovePattern(1);
  expected.Pattern(0)->CopyRow(2, 1);
  expected.Pattern(0)->CopyRow(3, 2);
  expected.Pattern(0)->ClearRow(3);
  ExpectPatterns(project_, {expected.Pattern(0), expected.Pattern(1)});
}

TEST_F(ProjectFileTest, ValueOutsideCodePage932MakesTheFileUtf16) {
  project_.AddPattern(MakePattern(L"P", 0, 0, {{L"caf\u00e9", L"\U0002000B"}}));
  ASSERT_TRUE(SaveProject(project_, L"wide"));
  const std::string bytes = dir_.Read("wide.tpr");
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE[\0", 4)) << "UTF-16LE with BOM";
  EXPECT_NE(bytes.find(std::string("\r\0\n\0", 4)), std::string::npos) << "CRLF";
  ProjectModel loaded(dir_.Win());
  ASSERT_EQ(LoadProject(loaded, L"wide"), 1);
  EXPECT_EQ(loaded.Pattern(0)->kouji[0], L"caf\u00e9");
  EXPECT_EQ(loaded.Pattern(0)->keitou[0], L"\U0002000B");

  // Every save writes a new file: without such a value it is code page 932 again.
  project_.Pattern(0)->kouji[0] = L"電灯";
  project_.Pattern(0)->keitou[0] = L"L-1";
  ASSERT_TRUE(SaveProject(project_, L"wide"));
  EXPECT_EQ(dir_.Read("wide.tpr").substr(0, 30), "[PROJECT]\r\nNAME=wide\r\nCREATEDA");
  ASSERT_EQ(LoadProject(loaded, L"wide"), 1);
  EXPECT_EQ(loaded.Pattern(0)->kouji[0], L"電灯");
}

// ---- Atomic replacement ----------------------------------------------------------------------

// Passes every call on to another file system and, after each call that may change the disk,
// lets the test look at the disk.
TEST(ProjectFolder, ComesFromTheSystemFolderOfTheConfiguration) {
  TempProjectFolder dir;
  const std::wstring root = platform::Utf8ToWide(dir.Root());
  const std::wstring config = root + L"\\harnex.ini";
  ASSERT_TRUE(WritePrivateProfileStringW(L"環境設定", L"ｼｽﾃﾑ", (root + L"\\system").c_str(),
                                         config.c_str()));
  EXPECT_EQ(ProjectFolderFromConfig(config.c_str()), CString(root + L"\\system\\プロジェクト"));
  const std::wstring empty = root + L"\\empty.ini";
  EXPECT_EQ(ProjectFolderFromConfig(empty.c_str()), L"");
}

// ---- Reading one pattern again ---------------------------------------------------------------

TEST_F(ProjectFileTest, ReloadPatternGivesBackTheStoredState) {
  project_.AddPattern(MakePattern(L"A", 0, 0, {{L"a"}}));
  project_.AddPattern(MakePattern(L"B", 1, 2, {{L"b1"}, {L"b2", L"", L"", L"", L"", L"", L"", 1}}));
  ASSERT_TRUE(SaveProject(project_, L"reload"));
  project_.SetName(L"reload");

  PatternData edited = *project_.Pattern(1);
  edited.type = 0;
  edited.pipeSel = 3;
  edited.kouji[0] = L"changed";
  edited.memo[10] = L"added";
  edited.checked[1] = true;
  ReloadPattern(project_, edited);
  auto expected = MakePattern(L"B", 1, 2, {{L"b1"}, {L"b2", L"", L"", L"", L"", L"", L"", 1}});
  EXPECT_EQ(PatternDifference(edited, *expected), "");
  EXPECT_FALSE(edited.checked[1]);

  PatternData unknown = edited;
  unknown.name = L"b";  // names compare exactly
  unknown.kouji[0] = L"kept";
  ReloadPattern(project_, unknown);
  EXPECT_EQ(unknown.kouji[0], L"kept");

  ProjectModel unsaved(dir_.Win());
  PatternData fresh = edited;
  fresh.kouji[0] = L"kept";
  ReloadPattern(unsaved, fresh);
  EXPECT_EQ(fresh.kouji[0], L"kept") << "a project without a name has no file";
}

}  // namespace
