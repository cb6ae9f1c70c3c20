// LastProj.ini: the last project and pattern, the palette set's settings, and restoring the
// last project at palette start.
#include "project/last_project.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "project/project_file.h"
#include "project/project_test_support.h"
#include <windows.h>

namespace {

using projecttest::MakePattern;
using projecttest::TempProjectFolder;

class LastProjectTest : public ::testing::Test {
 protected:
  LastProjectTest() : project_(dir_.Win()) {}

  // Saves a project with patterns of these names.
  void SaveProjectWith(const wchar_t* name, std::initializer_list<const wchar_t*> patterns) {
    ProjectModel model(dir_.Win());
    for (const wchar_t* p : patterns) model.AddPattern(MakePattern(p, 0, 0, {{L"row"}}));
    ASSERT_TRUE(SaveProject(model, name));
  }

  TempProjectFolder dir_;
  projecttest::MessageLog log_;
  ProjectModel project_;
};

TEST_F(LastProjectTest, LastProjectIsOnDiskAsSoonAsItIsWritten) {
  ASSERT_TRUE(WriteLastProject(dir_.Win(), L"A棟", L"照明系"));
  // [KORMAN_CABLIX] NAME=A棟 PATTERN=照明系, code page 932, CRLF.
  EXPECT_EQ(dir_.Read("LastProj.ini"),
            "[KORMAN_CABLIX]\r\nNAME=A\x93\x8f\r\nPATTERN=\x8f\xc6\x96\xbe\x8c\x6e\r\n");
  CString name, pattern;
  ReadLastProject(dir_.Win(), name, pattern);
  EXPECT_EQ(name, L"A棟");
  EXPECT_EQ(pattern, L"照明系");

  // The palette-set keys join the same section; NAME and PATTERN keep their places.
  ASSERT_TRUE(WritePaletteSetSettings(dir_.Win(), true, 80));
  ASSERT_TRUE(WriteLastProject(dir_.Win(), L"B", L"P"));
  EXPECT_EQ(dir_.Read("LastProj.ini"),
            "[KORMAN_CABLIX]\r\nNAME=B\r\nPATTERN=P\r\nAUTOROLLUP=ON\r\nOPACITY=80\r\n");
  ASSERT_TRUE(WritePaletteSetSettings(dir_.Win(), false, 0));
  EXPECT_EQ(dir_.Read("LastProj.ini"),
            "[KORMAN_CABLIX]\r\nNAME=B\r\nPATTERN=P\r\nAUTOROLLUP=OFF\r\nOPACITY=0\r\n");
}

TEST_F(LastProjectTest, WithoutAProjectFolderNothingIsWritten) {
  EXPECT_FALSE(WriteLastProject(CString(), L"A", L"P"));
  EXPECT_FALSE(WritePaletteSetSettings(CString(), true, 50));
  EXPECT_FALSE(std::filesystem::exists("/LastProj.ini"));
  const PaletteSetSettings settings = ReadPaletteSetSettings(CString());
  EXPECT_FALSE(settings.autoRollupOn);
  EXPECT_EQ(settings.opacity, 100);
  ProjectModel model;
  EXPECT_FALSE(RestoreLastProject(model));
}

TEST_F(LastProjectTest, NamesAreCutAt259Characters) {
  dir_.Write("LastProj.ini", "[KORMAN_CABLIX]\r\nNAME=" + std::string(300, 'n') +
                                 "\r\nPATTERN=" + std::string(270, 'p') + "\r\n");
  CString name, pattern;
  ReadLastProject(dir_.Win(), name, pattern);
  EXPECT_EQ(name, std::wstring(259, L'n'));
  EXPECT_EQ(pattern, std::wstring(259, L'p'));
}

TEST_F(LastProjectTest, PaletteSetSettingsFollowTheReadingRules) {
  struct Case {
    const char* file;
    bool rollup;
    int opacity;
  };
  const Case cases[] = {
      {"", false, 100},
      {"[KORMAN_CABLIX]\r\nAUTOROLLUP=ON\r\nOPACITY=60\r\n", true, 60},
      {"[korman_cablix]\r\nautorollup=ON\r\nopacity= 75%\r\n", true, 75},
      {"[KORMAN_CABLIX]\r\nAUTOROLLUP=on\r\nOPACITY=\r\n", false, 0},
      {"[KORMAN_CABLIX]\r\nAUTOROLLUP=ON \r\nOPACITY=abc\r\n", true, 0},
      {"[KORMAN_CABLIX]\r\nAUTOROLLUP=OFF\r\nOPACITY=-5\r\n", false, -5},
      {"[KORMAN_CABLIX]\r\nAUTOROLLUP=ONE\r\n", false, 100},
  };
  for (const Case& c : cases) {
    dir_.Write("LastProj.ini", c.file);
    const PaletteSetSettings settings = ReadPaletteSetSettings(dir_.Win());
    EXPECT_EQ(settings.autoRollupOn, c.rollup) << c.file;
    EXPECT_EQ(settings.opacity, c.opacity) << c.file;
  }
}

TEST_F(LastProjectTest, RestoreMakesThePatternCurrentIgnoringCase) {
  SaveProjectWith(L"proj", {L"Light", L"Power", L"power"});
  ASSERT_TRUE(WriteLastProject(dir_.Win(), L"PROJ", L"POWER"));
  ASSERT_TRUE(RestoreLastProject(project_));
  EXPECT_EQ(project_.Name(), L"PROJ");
  EXPECT_EQ(project_.PatternCount(), 3);
  EXPECT_EQ(project_.CurrentIndex(), 1) << "the first pattern whose name matches";

  ASSERT_TRUE(WriteLastProject(dir_.Win(), L"proj", L"gone"));
  ProjectModel other(dir_.Win());
  ASSERT_TRUE(RestoreLastProject(other));
  EXPECT_EQ(other.CurrentIndex(), 0) << "an unknown pattern: the first one";
}

TEST_F(LastProjectTest, NothingIsRestoredWithoutANameAPatternOrAProject) {
  SaveProjectWith(L"proj", {L"P"});
  dir_.Write("empty.tpr", "[PROJECT]\r\nNAME=empty\r\n");
  struct Case {
    const char* file;
    const char* what;
  };
  const Case cases[] = {
      {"", "no file"},
      {"[KORMAN_CABLIX]\r\nPATTERN=P\r\n", "no NAME"},
      {"[KORMAN_CABLIX]\r\nNAME=proj\r\nPATTERN=\r\n", "empty PATTERN"},
      {"[KORMAN_CABLIX]\r\nNAME=deleted\r\nPATTERN=P\r\n", "the project was deleted"},
      {"[KORMAN_CABLIX]\r\nNAME=empty\r\nPATTERN=P\r\n", "the project has no pattern"},
      {"[KORMAN_CABLIX]\r\nNAME=..\\proj\r\nPATTERN=P\r\n", "a name outside the folder"},
  };
  for (const Case& c : cases) {
    dir_.Write("LastProj.ini", c.file);
    ProjectModel model(dir_.Win());
    EXPECT_FALSE(RestoreLastProject(model)) << c.what;
    EXPECT_EQ(model.PatternCount(), 0) << c.what;
    EXPECT_EQ(model.Current(), nullptr) << c.what;
    EXPECT_EQ(model.Name(), L"") << c.what;
  }
  EXPECT_EQ(log_.Text(), L"") << "a failed restore shows no message";
}

}  // namespace
