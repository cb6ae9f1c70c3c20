// The master lists: the folder found both ways, the record rules of each .dat file on files the
// tests write (code page 932 and UTF-8, blank lines, short records), the construction-item
// lookups, and the bundled example system folder.
#include "project/master_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/system_folder.h"
#include "project/master_lists_test_support.h"
#include "platform/win/text_encoding.h"
#include <windows.h>

namespace {

using masterlisttest::TempSystemFolder;
using Strings = std::vector<std::wstring>;

Strings ToVector(const CStringArray& list) {
  Strings out;
  for (INT_PTR i = 0; i < list.GetSize(); ++i) out.emplace_back(list[i].GetString());
  return out;
}

std::string Utf8(const Strings& list) {
  std::wstring joined;
  for (const std::wstring& s : list) joined += L"[" + s + L"]";
  return platform::WideToUtf8(joined);
}

// A system folder whose configuration names it and whose construction-item files are written.
class MasterListsTest : public ::testing::Test {
 protected:
  CString Folder() const { return MasterListFolder(dir.ConfigPath().c_str()); }
  TempSystemFolder dir;
};

TEST_F(MasterListsTest, TheFolderIsFoundWithAndWithoutATrailingBackslash) {
  const std::wstring expected = dir.SystemWin() + L"\\複数配線\\";
  dir.WriteCp932("複数配線/系統番号.dat", {L"1L-1"});
  for (const std::wstring& value : {dir.SystemWin(), dir.SystemWin() + L"\\"}) {
    SCOPED_TRACE(platform::WideToUtf8(value));
    dir.SetSystemValue(value);
    EXPECT_EQ(std::wstring(MasterListFolder(dir.ConfigPath().c_str())), expected);
    EXPECT_EQ(std::wstring(DetailMasterListFolder(dir.ConfigPath().c_str())),
              dir.SystemWin() + L"\\複数配線");
    CStringArray numbers;
    EXPECT_TRUE(ReadSystemNumbers(Folder(), numbers));
    EXPECT_EQ(ToVector(numbers), Strings{L"1L-1"});
  }
  // Both forms of the folder reach the same file of a type's subfolder.
  dir.WriteUtf8("複数配線/一般/アースサイズ.dat", {L"E1.6"});
  CStringArray a, b;
  EXPECT_TRUE(ReadEarthSizes(Folder(), 1, a));
  EXPECT_TRUE(ReadEarthSizes(DetailMasterListFolder(dir.ConfigPath().c_str()), 1, b));
  EXPECT_EQ(ToVector(a), Strings{L"E1.6"});
  EXPECT_EQ(ToVector(b), Strings{L"E1.6"});
}

TEST_F(MasterListsTest, WithoutASystemFolderNothingIsRead) {
  dir.SetSystemValue(L"");
  EXPECT_TRUE(Folder().IsEmpty());
  EXPECT_TRUE(DetailMasterListFolder(dir.ConfigPath().c_str()).IsEmpty());
  CStringArray numbers;
  numbers.Add(L"old");
  EXPECT_FALSE(ReadSystemNumbers(Folder(), numbers));
  EXPECT_EQ(numbers.GetSize(), 0);
}

TEST_F(MasterListsTest, ConstructionItemsKeepFileOrderTrimmedAndSkipOneFieldRecords) {
  dir.WriteCp932("複数配線/幹線/工事項目.dat", {L"DK|電灯幹線", L"", L"  DR | 動力幹線 ", L"ﾒﾓだけ",
                                                L"   ", L"DK|電灯幹線", L"HJ|非常電源幹線|予備"});
  dir.WriteUtf8("複数配線/一般/工事項目.dat", {L"E1|電灯", L"E2|コンセント"});
  ConstructionItems items;
  items.Load(Folder());
  EXPECT_EQ(ToVector(items.Names(0)),
            (Strings{L"電灯幹線", L"動力幹線", L"電灯幹線", L"非常電源幹線"}));
  EXPECT_EQ(ToVector(items.Codes(0)), (Strings{L"DK", L"DR", L"DK", L"HJ"}));
  EXPECT_EQ(ToVector(items.Names(1)), (Strings{L"電灯", L"コンセント"}));
  EXPECT_EQ(ToVector(items.Codes(1)), (Strings{L"E1", L"E2"}));
  EXPECT_EQ(ToVector(items.NamesShownFor(1)), (Strings{L"電灯", L"コンセント"}));
}

TEST_F(MasterListsTest, AGeneralPatternWithoutGeneralItemsShowsTheTrunkItems) {
  dir.WriteCp932("複数配線/幹線/工事項目.dat", {L"DK|電灯幹線"});
  dir.WriteUtf8("複数配線/一般/工事項目.dat", {L"", L"one-field-only"});
  ConstructionItems items;
  items.Load(Folder());
  EXPECT_EQ(items.Names(1).GetSize(), 0);
  EXPECT_EQ(ToVector(items.NamesShownFor(1)), Strings{L"電灯幹線"});
  EXPECT_EQ(ToVector(items.NamesShownFor(0)), Strings{L"電灯幹線"});

  // Loading again after the trunk file went replaces the lists.
  dir.Remove("複数配線/幹線/工事項目.dat");
  items.Load(Folder());
  EXPECT_EQ(items.Names(0).GetSize(), 0);
  EXPECT_EQ(items.Codes(0).GetSize(), 0);
}

TEST_F(MasterListsTest, ANameInBothListsYieldsTheOtherTypesCode) {
  dir.WriteCp932("複数配線/幹線/工事項目.dat", {L"A1|照明", L"A2|動力幹線", L"A3|共用"});
  dir.WriteUtf8("複数配線/一般/工事項目.dat", {L"B1|照明", L"B2|電灯", L"A3|共用(一般)"});
  ConstructionItems items;
  items.Load(Folder());
  // The pattern's own list is searched first and the other type's find replaces it: a trunk
  // pattern gets the general code, a general pattern the trunk code.
  EXPECT_EQ(std::wstring(items.CodeOf(L"照明", 0)), L"B1");
  EXPECT_EQ(std::wstring(items.CodeOf(L"照明", 1)), L"A1");
  EXPECT_EQ(std::wstring(items.CodeOf(L"動力幹線", 1)), L"A2");
  EXPECT_EQ(std::wstring(items.CodeOf(L"電灯", 0)), L"B2");
  EXPECT_EQ(std::wstring(items.CodeOf(L"でんとう", 0)), L"");
  EXPECT_EQ(std::wstring(items.CodeOf(L"", 1)), L"");
  // Names: the general find wins over the trunk find; an unknown code is "不明".
  EXPECT_EQ(std::wstring(items.NameOf(L"A2")), L"動力幹線");
  EXPECT_EQ(std::wstring(items.NameOf(L"A3")), L"共用(一般)");
  EXPECT_EQ(std::wstring(items.NameOf(L"B2")), L"電灯");
  EXPECT_EQ(std::wstring(items.NameOf(L"b2")), L"不明");
  EXPECT_EQ(std::wstring(items.NameOf(L"")), L"不明");
}

TEST(ConduitSizeDisplayTest, EachRecordShape) {
  struct Case {
    Strings fields;
    bool entry;
    const wchar_t* display;
  } cases[] = {
      {{L"GP", L"28"}, true, L"(GP28)"},
      {{L"-", L"28"}, true, L"(28)"},
      {{L"-", L"-"}, false, L""},
      {{L"ピット"}, true, L"(ピット)"},
      {{L"GP", L"-"}, false, L""},
      {{L"PF", L"22", L"予備"}, true, L"(PF22)"},
      {{L" E ", L" 19"}, true, L"( E  19)"},
      {{L"-"}, true, L"(-)"},
      {{}, false, L""},
  };
  for (const Case& c : cases) {
    CStringArray record;
    for (const std::wstring& f : c.fields) record.Add(f.c_str());
    CString display = L"stale";
    EXPECT_EQ(ConduitSizeDisplay(record, display), c.entry) << Utf8(c.fields);
    EXPECT_EQ(std::wstring(display), c.display) << Utf8(c.fields);
  }
}

TEST_F(MasterListsTest, ConduitSizesOfEachType) {
  dir.WriteCp932("複数配線/幹線/管路材サイズ.dat",
                 {L"GP|28", L"-|36", L"-|-", L"ピット", L"FEP|-", L""});
  dir.WriteUtf8("複数配線/一般/管路材サイズ.dat", {L"PF|16", L"PF|22"});
  CStringArray sizes;
  ASSERT_TRUE(ReadConduitSizes(Folder(), 0, sizes));
  EXPECT_EQ(ToVector(sizes), (Strings{L"(GP28)", L"(36)", L"(ピット)"}));
  ASSERT_TRUE(ReadConduitSizes(Folder(), 1, sizes));
  EXPECT_EQ(ToVector(sizes), (Strings{L"(PF16)", L"(PF22)"}));
  dir.Remove("複数配線/一般/管路材サイズ.dat");
  EXPECT_FALSE(ReadConduitSizes(Folder(), 1, sizes));
  EXPECT_EQ(sizes.GetSize(), 0);
}

TEST_F(MasterListsTest, SystemNumbersAndPanelNamesAreTheNonBlankLines) {
  dir.WriteUtf8("複数配線/系統番号.dat", {L"1L-1", L"", L"1L-1", L"1P-1"});
  dir.WriteCp932("複数配線/盤・負荷名称.dat", {L"受変電設備", L"　", L"空調室外機 AC-1"});
  CStringArray numbers, names;
  ASSERT_TRUE(ReadSystemNumbers(Folder(), numbers));
  EXPECT_EQ(ToVector(numbers), (Strings{L"1L-1", L"1L-1", L"1P-1"}));
  ASSERT_TRUE(ReadPanelNames(Folder(), names));
  EXPECT_EQ(ToVector(names), (Strings{L"受変電設備", L"空調室外機 AC-1"}));
  dir.Remove("複数配線/盤・負荷名称.dat");
  EXPECT_FALSE(ReadPanelNames(Folder(), names));
}

TEST_F(MasterListsTest, WireTypesCollapseOnlyConsecutiveRepeats) {
  dir.WriteCp932("複数配線/幹線/配線サイズ.dat",
                 {L"|孤立", L"X|1", L"X|2", L"Y|3", L"X|4", L"X", L"X|5|予備"});
  dir.WriteUtf8("複数配線/幹線/アースサイズ.dat", {L"-", L"E5.5", L"E5.5", L"E8", L"-"});
  const CString folder = DetailMasterListFolder(dir.ConfigPath().c_str());
  CStringArray types, sizes, earth;
  ASSERT_TRUE(ReadWireTypes(folder, 0, types));
  EXPECT_EQ(ToVector(types), (Strings{L"X", L"Y", L"X"}));
  ASSERT_TRUE(ReadWireSizes(folder, 0, L"X", sizes));
  EXPECT_EQ(ToVector(sizes), (Strings{L"1", L"2", L"4", L"5"}));
  ASSERT_TRUE(ReadWireSizes(folder, 0, L"Y", sizes));
  EXPECT_EQ(ToVector(sizes), Strings{L"3"});
  ASSERT_TRUE(ReadWireSizes(folder, 0, L"x", sizes));
  EXPECT_EQ(sizes.GetSize(), 0);
  ASSERT_TRUE(ReadEarthSizes(folder, 0, earth));
  EXPECT_EQ(ToVector(earth), (Strings{L"-", L"E5.5", L"E8", L"-"}));
  // The general subfolder has no files.
  EXPECT_FALSE(ReadWireTypes(folder, 1, types));
  EXPECT_FALSE(ReadEarthSizes(folder, 1, earth));
}

// ---- The bundled example system folder ---------------------------------------------------

class ExampleSystemFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    copy = tools::SystemFolderCopy::Create("", &error);
    ASSERT_NE(copy, nullptr) << error;
    folder = MasterListFolder(copy->config_path().c_str());
  }
  std::unique_ptr<tools::SystemFolderCopy> copy;
  CString folder;
};

TEST_F(ExampleSystemFolderTest, EveryListOfBothTypesHasEntries) {
  CStringArray list;
  EXPECT_TRUE(ReadSystemNumbers(folder, list) && list.GetSize() > 0);
  EXPECT_TRUE(ReadPanelNames(folder, list) && list.GetSize() > 0);
  ConstructionItems items;
  items.Load(folder);
  for (int type : {0, 1}) {
    SCOPED_TRACE(type);
    EXPECT_GT(items.Names(type).GetSize(), 0);
    EXPECT_EQ(items.Names(type).GetSize(), items.Codes(type).GetSize());
    EXPECT_TRUE(ReadConduitSizes(folder, type, list) && list.GetSize() > 0);
    EXPECT_TRUE(ReadWireTypes(folder, type, list) && list.GetSize() > 0);
    EXPECT_TRUE(ReadEarthSizes(folder, type, list) && list.GetSize() > 0);
  }
}

// harnex-host started in the bundled folder finds its configuration there, naming that folder.
TEST_F(ExampleSystemFolderTest, TheBundledConfigurationNamesItsOwnFolder) {
  const std::wstring config = platform::Utf8ToWide(copy->system_folder()) + L"/harnex.ini";
  wchar_t value[512] = {};
  GetPrivateProfileStringW(L"環境設定", L"ｼｽﾃﾑ", L"<none>", value, 512, config.c_str());
  EXPECT_EQ(std::wstring(value), L".");
}

// The sample project uses only what the master lists offer, so that opening it in the palette
// adds nothing to the boxes and every construction item has a code to write.
TEST_F(ExampleSystemFolderTest, TheSampleProjectUsesTheMasterLists) {
  const std::wstring project =
      platform::Utf8ToWide(copy->system_folder()) + L"/プロジェクト/サンプルビル.tpr";
  ConstructionItems items;
  items.Load(folder);
  auto read = [&](const std::wstring& section, const std::wstring& key) {
    wchar_t value[260] = {};
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", value, 260, project.c_str());
    return std::wstring(value);
  };
  ASSERT_EQ(read(L"PROJECT", L"NAME"), L"サンプルビル");
  int patterns = 0;
  for (int n = 1;; ++n) {
    wchar_t section[32];
    swprintf(section, 32, L"PATTERN-%03d", n);
    if (read(L"PROJECT", section).empty()) break;
    ++patterns;
    const int type = read(section, L"TYPE") == L"幹線" ? 0 : 1;
    CStringArray conduits;
    ASSERT_TRUE(ReadConduitSizes(folder, type, conduits));
    int rows = 0;
    for (int k = 1; k <= 100; ++k) {
      wchar_t key[32];
      swprintf(key, 32, L"KOUJI-%03d", k);
      const std::wstring kouji = read(section, key);
      if (kouji.empty()) break;
      ++rows;
      EXPECT_FALSE(items.CodeOf(kouji.c_str(), type).IsEmpty()) << platform::WideToUtf8(kouji);
      for (const wchar_t* column : {L"HSIZE2", L"HSIZE3", L"HSIZE4"}) {
        swprintf(key, 32, L"%ls-%03d", column, k);
        const std::wstring size = read(section, key);
        bool offered = size.empty();
        for (INT_PTR i = 0; i < conduits.GetSize(); ++i) offered |= conduits[i] == size.c_str();
        EXPECT_TRUE(offered) << platform::WideToUtf8(size);
      }
    }
    EXPECT_GT(rows, 0);
  }
  EXPECT_EQ(patterns, 2);
}

}  // namespace
