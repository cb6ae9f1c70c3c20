// Filling the palette's drop-down lists: what each box holds and shows after a fill, boxes kept
// as they were when a list file is missing, and the drawing's part numbers before the panel names.
#include "project/list_fill.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/master_lists_test_support.h"
#include "platform/win/text_encoding.h"

namespace {

using masterlisttest::ComboBoxSet;
using masterlisttest::Items;
using masterlisttest::Prepare;
using masterlisttest::Shown;
using masterlisttest::TempSystemFolder;
using Strings = std::vector<std::wstring>;

class ListFillTest : public ::testing::Test {
 protected:
  CString Folder() const { return MasterListFolder(dir.ConfigPath().c_str()); }
  TempSystemFolder dir;
};

TEST_F(ListFillTest, ConstructionItemBoxesKeepTheirTextAndOfferTheTypesNames) {
  dir.WriteCp932("複数配線/幹線/工事項目.dat", {L"DK|電灯幹線", L"DR|動力幹線"});
  dir.WriteUtf8("複数配線/一般/工事項目.dat", {L"E1|電灯", L"E2|コンセント"});
  ConstructionItems items;
  items.Load(Folder());
  ComboBoxSet boxes(3, 228);
  Prepare(boxes[0], {L"古い項目"}, L"");
  Prepare(boxes[1], {}, L"コンセント");
  Prepare(boxes[2], {}, L"電灯幹線");
  const auto pointers = boxes.Pointers();
  FillConstructionItemBoxes(items, 1, pointers);

  EXPECT_EQ(Items(boxes[0]), (Strings{L"", L"電灯", L"コンセント"}));
  EXPECT_EQ(boxes[0].GetCurSel(), 0);
  EXPECT_EQ(Items(boxes[1]), (Strings{L"", L"電灯", L"コンセント"}));
  EXPECT_EQ(boxes[1].GetCurSel(), 2);
  // A trunk name shown in a general pattern stays, added at the end.
  EXPECT_EQ(Items(boxes[2]), (Strings{L"", L"電灯", L"コンセント", L"電灯幹線"}));
  EXPECT_EQ(boxes[2].GetCurSel(), 3);
  EXPECT_EQ(Shown(boxes[2]), L"電灯幹線");

  // Back to trunk: the trunk names, the shown text found among them is not added twice.
  FillConstructionItemBoxes(items, 0, pointers);
  EXPECT_EQ(Items(boxes[2]), (Strings{L"", L"電灯幹線", L"動力幹線"}));
  EXPECT_EQ(Shown(boxes[2]), L"電灯幹線");
  EXPECT_EQ(Items(boxes[1]), (Strings{L"", L"電灯幹線", L"動力幹線", L"コンセント"}));
}

TEST_F(ListFillTest, WithoutNamesTheConstructionItemBoxesStayAsTheyWere) {
  ConstructionItems items;
  items.Load(Folder());  // no files at all
  ComboBoxSet boxes(2, 228);
  Prepare(boxes[0], {L"A", L"B"}, L"B");
  const auto pointers = boxes.Pointers();
  FillConstructionItemBoxes(items, 0, pointers);
  FillConstructionItemBoxes(items, 1, pointers);
  EXPECT_EQ(Items(boxes[0]), (Strings{L"A", L"B"}));
  EXPECT_EQ(Shown(boxes[0]), L"B");
  EXPECT_EQ(boxes[1].GetCount(), 0);
}

TEST_F(ListFillTest, ASizeTheGeneralListLacksStaysSelectedAtTheEnd) {
  dir.WriteCp932("複数配線/幹線/管路材サイズ.dat", {L"GP|28", L"GP|36", L"-|-"});
  dir.WriteUtf8("複数配線/一般/管路材サイズ.dat", {L"PF|16", L"-|ころがし", L"E|-"});
  ComboBoxSet boxes(3, 278, CBS_DROPDOWNLIST);
  const auto pointers = boxes.Pointers();
  ASSERT_TRUE(LoadConduitSizeBoxes(Folder(), 0, pointers));
  EXPECT_EQ(Items(boxes[0]), (Strings{L"", L"(GP28)", L"(GP36)"}));
  EXPECT_EQ(boxes[0].GetCurSel(), 0);
  boxes[1].SetCurSel(2);  // the user chose (GP36)

  ASSERT_TRUE(LoadConduitSizeBoxes(Folder(), 1, pointers));
  EXPECT_EQ(Items(boxes[0]), (Strings{L"", L"(PF16)", L"(ころがし)"}));
  EXPECT_EQ(Items(boxes[1]), (Strings{L"", L"(PF16)", L"(ころがし)", L"(GP36)"}));
  EXPECT_EQ(boxes[1].GetCurSel(), 3);
  EXPECT_EQ(Shown(boxes[1]), L"(GP36)");
  EXPECT_EQ(Shown(boxes[2]), L"");
}

TEST_F(ListFillTest, AMissingConduitFileLeavesTheBoxes) {
  dir.WriteCp932("複数配線/幹線/管路材サイズ.dat", {L"GP|28"});
  ComboBoxSet boxes(1, 278);
  const auto pointers = boxes.Pointers();
  ASSERT_TRUE(LoadConduitSizeBoxes(Folder(), 0, pointers));
  boxes[0].SetCurSel(1);
  EXPECT_FALSE(LoadConduitSizeBoxes(Folder(), 1, pointers));
  EXPECT_EQ(Items(boxes[0]), (Strings{L"", L"(GP28)"}));
  EXPECT_EQ(Shown(boxes[0]), L"(GP28)");
}

TEST_F(ListFillTest, SystemNumbersAreAppendedAsTheFileHasThem) {
  ComboBoxSet boxes(2, 248);
  Prepare(boxes[0], {L"既存"}, L"");
  const auto pointers = boxes.Pointers();
  EXPECT_FALSE(LoadSystemNumberBoxes(Folder(), pointers));
  EXPECT_EQ(Items(boxes[0]), Strings{L"既存"});

  dir.WriteUtf8("複数配線/系統番号.dat", {L"1L-1", L"", L"1L-1", L"既存"});
  ASSERT_TRUE(LoadSystemNumberBoxes(Folder(), pointers));
  EXPECT_EQ(Items(boxes[0]), (Strings{L"既存", L"1L-1", L"1L-1", L"既存"}));
  EXPECT_EQ(Items(boxes[1]), (Strings{L"1L-1", L"1L-1", L"既存"}));
}

TEST_F(ListFillTest, PartNumbersComeFirstAndNamesAreNotRepeated) {
  dir.WriteCp932("複数配線/盤・負荷名称.dat", {L"受変電設備", L"P-1", L"", L"l-2", L"受変電設備"});
  CStringArray parts;
  parts.Add(L"P-1");
  parts.Add(L"L-2");
  ComboBoxSet boxes(2, 258);
  const auto pointers = boxes.Pointers();
  ASSERT_TRUE(LoadPanelNameBoxes(Folder(), parts, pointers));
  // "l-2" is the part number L-2 as the box's exact-text search sees it (letter case ignored).
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(Items(boxes[i]), (Strings{L"P-1", L"L-2", L"受変電設備"})) << i;
  }
}

TEST_F(ListFillTest, AnUnreadablePanelFileAddsNotEvenThePartNumbers) {
  CStringArray parts;
  parts.Add(L"P-1");
  ComboBoxSet boxes(1, 258);
  Prepare(boxes[0], {L"手入力"}, L"手入力");
  const auto pointers = boxes.Pointers();
  EXPECT_FALSE(LoadPanelNameBoxes(Folder(), parts, pointers));
  EXPECT_EQ(Items(boxes[0]), Strings{L"手入力"});
  EXPECT_EQ(Shown(boxes[0]), L"手入力");
}

}  // namespace
