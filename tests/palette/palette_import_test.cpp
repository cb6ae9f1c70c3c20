// The palette's import button: rows of another pattern inserted before the marked row, on any
// page, up to the pattern's 100 rows; nothing without a marked row or after Cancel or Enter; and
// the save question that an import brings.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/harnex_module.h"
#include "palette/main_dialog.h"
#include "palette_test_support.h"
#include "resources/resource.h"

namespace palette_test {
namespace {

using Strings = std::vector<std::wstring>;

constexpr wchar_t kSample[] = L"サンプルビル";
constexpr wchar_t kTrunk[] = L"受変電から分電盤";
constexpr wchar_t kGeneral[] = L"1F照明・コンセント";

// A row of a pattern: its nine values in column order, the on-rack flag as "0" or "1".
Strings RowOf(const PatternData& p, int r) {
  Strings row;
  for (const CString* column : {p.kouji, p.keitou, p.ban, p.hsize1, p.hsize2, p.hsize3, p.hsize4}) {
    row.push_back(column[r].GetString());
  }
  row.push_back(std::to_wstring(p.onRack[r]));
  row.push_back(p.memo[r].GetString());
  return row;
}

// The sample project's rows, as its file holds them.
const Strings kTrunkRows[] = {{L"電灯幹線", L"1L-1", L"P-1,L-1", L"CV22sq-3C E8", L"(GP36)",
                               L"(GP36)", L"(FEP50)", L"0", L""},
                              {L"動力幹線", L"1P-1", L"P-1,L-2", L"CVT60sq E14", L"(GP54)",
                               L"(GP54)", L"(FEP80)", L"1", L"ラック上は2段目"},
                              {L"非常電源幹線", L"E-1", L"非常用発電機", L"FP14sq-3C E8", L"(GP36)",
                               L"", L"(FEP50)", L"0", L"耐火"}};
// The general pattern's rows as an import gives them: no underground size (its third row has
// none anyway, the trunk rows' sizes are what would show it).
const Strings kGeneralRows[] = {
    {L"電灯", L"1L-2", L"L-1", L"VVF1.6-3C", L"(PF16)", L"", L"", L"0", L""},
    {L"コンセント", L"1L-3", L"L-2", L"VVF2.0-3C E2.0", L"(PF22)", L"(E25)", L"", L"0", L"OA用"},
    {L"動力", L"1P-2", L"空調室外機 AC-1", L"CVV1.25sq-2C", L"(CD22)", L"(E31)", L"", L"1", L""}};
const Strings kEmptyRow = {L"", L"", L"", L"", L"", L"", L"", L"0", L""};

class PaletteImportTest : public PaletteSessionTest {
 protected:
  void StartOn(const std::wstring& project, const std::wstring& pattern) {
    SetLastProject(L"NAME", project.c_str());
    SetLastProject(L"PATTERN", pattern.c_str());
    Start();
    ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
    ASSERT_NE(Palette(), nullptr);
    ClearTranscript();
  }
  static const PatternData& Current() { return *Palette()->Project().Current(); }
  // The import dialog on the sample project, `steps` run in it.
  int Import(const std::wstring& steps) { return Run(L"click 210\n" + steps); }
  std::wstring Stored(const wchar_t* section, const wchar_t* key) const {
    return ProfileValue(ProjectFile(kSample), section, key);
  }
};

TEST_F(PaletteImportTest, RowsGoInBeforeTheMarkedRowAndTheSaveQuestionAsksForThem) {
  StartOn(kSample, kTrunk);
  ASSERT_EQ(Run(L"click 219\n"), 0) << StopReason();  // control row 1
  ASSERT_EQ(Import(std::wstring(L"choose 363 ") + kGeneral + L"\nrows 360 0,2\nclick 1\n"), 0)
      << StopReason();
  EXPECT_EQ(Dialogs(), Strings{L"[dialog 204 パターンデータの取込み]"});
  EXPECT_TRUE(Boxes().empty());
  const Strings want[] = {kTrunkRows[0], kGeneralRows[0], kGeneralRows[2],
                          kTrunkRows[1], kTrunkRows[2],   kEmptyRow};
  for (int r = 0; r < 6; ++r) EXPECT_EQ(RowOf(Current(), r), want[r]) << "row " << r;
  for (int r = 0; r < 6; ++r) EXPECT_FALSE(Current().checked[r]) << "row " << r;
  EXPECT_TRUE(Palette()->Editor().IsModified());
  // The page shows them at once; the mark stays on control row 1.
  EXPECT_EQ(ControlText(IDC_PAGE_FRAME), L"Page:1");
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU + 1), L"1L-2");
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU + 2), L"1P-2");
  EXPECT_EQ(ControlText(IDC_ROW_BAN + 2), L"空調室外機 AC-1");
  EXPECT_TRUE(IsChecked(IDC_ROW_ONRACK + 2));
  EXPECT_EQ(ControlText(IDC_ROW_HSIZE4 + 2), L"");
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU + 3), L"1P-1");
  EXPECT_TRUE(IsChecked(IDC_ROW_MARK + 1));

  // Leaving the project asks, and Yes writes the five rows.
  ASSERT_EQ(Run(L"click 202\nanswer yes\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), Strings{L"[box question] データが変更されています。保存しますか？ → Yes"});
  EXPECT_EQ(Stored(L"PATTERN-001", L"KEITOU-002"), L"1L-2");
  EXPECT_EQ(Stored(L"PATTERN-001", L"KEITOU-003"), L"1P-2");
  EXPECT_EQ(Stored(L"PATTERN-001", L"ONRACK-003"), L"1");
  EXPECT_EQ(Stored(L"PATTERN-001", L"HSIZE4-003"), L"");
  EXPECT_EQ(Stored(L"PATTERN-001", L"KEITOU-004"), L"1P-1");
  EXPECT_EQ(Stored(L"PATTERN-001", L"HSIZE4-004"), L"(FEP80)");
  EXPECT_EQ(Stored(L"PATTERN-001", L"KEITOU-005"), L"E-1");
  EXPECT_EQ(Stored(L"PATTERN-001", L"KOUJI-006"), L"");
  EXPECT_EQ(Palette()->Project().PatternCount(), 0);
}

TEST_F(PaletteImportTest, OnALaterPageAllRowsGoInAtTheMarkedRowAndThatPageIsShown) {
  StartOn(kSample, kTrunk);
  // Page 2, its first control row: row 10, after the empty rows 3 to 9.
  ASSERT_EQ(Run(L"click 209\nclick 218\n"), 0) << StopReason();
  ASSERT_EQ(Import(std::wstring(L"choose 363 ") + kGeneral + L"\nclick 1\n"), 0) << StopReason();
  for (int r = 0; r < 3; ++r) EXPECT_EQ(RowOf(Current(), r), kTrunkRows[r]) << "row " << r;
  for (int r = 3; r < 10; ++r) EXPECT_EQ(RowOf(Current(), r), kEmptyRow) << "row " << r;
  for (int r = 0; r < 3; ++r) EXPECT_EQ(RowOf(Current(), 10 + r), kGeneralRows[r]) << r;
  EXPECT_EQ(ControlText(IDC_PAGE_FRAME), L"Page:2");
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU), L"1L-2");
  EXPECT_EQ(ControlText(IDC_ROW_MEMO + 1), L"OA用");
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU + 3), L"");
  EXPECT_TRUE(Palette()->Editor().IsModified());
}

TEST_F(PaletteImportTest, WithoutAMarkedRowTheDialogDoesNotOpenButThePageIsCollected) {
  StartOn(kSample, kTrunk);
  Palette()->Editor().MarkRow(-1);
  ASSERT_EQ(Run(L"type 248 1L-8\nclick 210\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), Strings{L"[box information] 挿入する位置を指定して下さい。 → OK"});
  EXPECT_TRUE(Dialogs().empty());
  EXPECT_EQ(Current().keitou[0], L"1L-8");
  EXPECT_EQ(Current().keitou[1], L"1P-1");
  EXPECT_TRUE(Palette()->Editor().IsModified());
}

TEST_F(PaletteImportTest, CancelAndEnterInsertNothing) {
  StartOn(kSample, kTrunk);
  for (const wchar_t* end : {L"click 2\n", L"enter\n"}) {
    ASSERT_EQ(Import(std::wstring(L"choose 363 ") + kGeneral + L"\nrows 360 1\n" + end), 0)
        << StopReason();
    for (int r = 0; r < 3; ++r) EXPECT_EQ(RowOf(Current(), r), kTrunkRows[r]) << end << r;
    EXPECT_EQ(RowOf(Current(), 3), kEmptyRow) << end;
    EXPECT_FALSE(Palette()->Editor().IsModified()) << end;
    EXPECT_EQ(ControlText(IDC_ROW_KEITOU + 1), L"1P-1") << end;
  }
  EXPECT_EQ(EventsStartingWith(L"[end dialog 204"),
            (Strings{L"[end dialog 204 IDCANCEL]", L"[end dialog 204 IDCANCEL]"}));
  // Nothing to save: closing does not ask.
  ASSERT_EQ(Run(L"click 2\n"), 0) << StopReason();
  EXPECT_TRUE(Boxes().empty());
}

// A pattern of 98 rows takes two of three imported rows; the notice comes once.
TEST_F(PaletteImportTest, AnImportThatWouldPassOneHundredRowsStopsWhereThePatternIsFull) {
  const CString file = ProjectFile(L"満杯");
  WritePrivateProfileStringW(L"PROJECT", L"NAME", L"満杯", file);
  WritePrivateProfileStringW(L"PROJECT", L"PATTERN-001", L"F", file);
  for (int r = 1; r <= 98; ++r) {
    CString key, value;
    key.Format(L"KEITOU-%03d", r);
    value.Format(L"F%d", r);
    WritePrivateProfileStringW(L"PATTERN-001", key, value, file);
  }
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, file);
  StartOn(L"満杯", L"F");
  ASSERT_EQ(Current().keitou[97], L"F98");
  // Rows of the sample project's general pattern.
  ASSERT_EQ(
      Import(std::wstring(L"choose 362 ") + kSample + L"\nchoose 363 " + kGeneral + L"\nclick 1\n"),
      0)
      << StopReason();
  EXPECT_EQ(Boxes(), Strings{L"[box information] これ以上挿入出来ません。 → OK"});
  EXPECT_EQ(RowOf(Current(), 0), kGeneralRows[0]);
  EXPECT_EQ(RowOf(Current(), 1), kGeneralRows[1]);
  for (int r = 2; r < 100; ++r) EXPECT_EQ(Current().keitou[r], L"F" + std::to_wstring(r - 1));
  EXPECT_TRUE(Palette()->Editor().IsModified());
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU + 2), L"F1");
}

TEST_F(PaletteImportTest, AFilledLastRowTakesNoneEvenWithRoomBeforeIt) {
  StartOn(kSample, kTrunk);
  Palette()->Project().Current()->keitou[99] = L"最後";
  ASSERT_EQ(Run(L"click 209\nclick 218\n"), 0) << StopReason();  // row 10
  ASSERT_EQ(Import(std::wstring(L"choose 363 ") + kGeneral + L"\nclick 1\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), Strings{L"[box information] これ以上挿入出来ません。 → OK"});
  for (int r = 0; r < 3; ++r) EXPECT_EQ(RowOf(Current(), r), kTrunkRows[r]) << r;
  for (int r = 3; r < 99; ++r) EXPECT_EQ(RowOf(Current(), r), kEmptyRow) << r;
  EXPECT_EQ(Current().keitou[99], L"最後");
  EXPECT_FALSE(Palette()->Editor().IsModified());
}

TEST_F(PaletteImportTest, TheImportDialogComesFromHarnexWhateverResourcesAreCurrent) {
  StartOn(kSample, kTrunk);
  // Another module is current and has a template 204 of its own.
  HMODULE other = platform::RegisterModule(L"Other.arx", {});
  platform::SetModuleResourceScript(other,
                                    "204 DIALOG 0, 0, 100, 40\nCAPTION \"よその取込\"\nBEGIN\n"
                                    "  PUSHBUTTON \"OK\", 1, 1, 1, 30, 14\nEND\n");
  AfxSetResourceHandle(other);
  ASSERT_EQ(Import(L"click 2\n"), 0) << StopReason();
  EXPECT_EQ(Dialogs(), Strings{L"[dialog 204 パターンデータの取込み]"});
  EXPECT_EQ(AfxGetResourceHandle(), other);
  AfxSetResourceHandle(nullptr);
  platform::UnregisterModule(other);
}

}  // namespace
}  // namespace palette_test
