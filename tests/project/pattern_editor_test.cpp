// The palette's row area on a headless window made from template 200: the user types into the
// boxes, clicks radio buttons, check boxes and the row-area buttons, and the tests look at the
// pattern, the controls, the page label, the notices and the modified flag.
#include "project/pattern_editor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/harnex_resources.h"
#include "project/pattern_rows.h"
#include "project/project_test_support.h"
#include "resources/palette_ids.h"
#include "platform/win/user_session.h"
#include <winbase.h>
#include "platform/mfc/window_system.h"

namespace {

using projecttest::MakeFullPattern;
using projecttest::MakePattern;
using projecttest::Row;

// The palette's row-area buttons wired to the editor as the palette wires them.
class RowAreaDialog : public CDialog {
 public:
  RowAreaDialog() : CDialog(IDD_PALETTE) {}
  PatternEditor* editor = nullptr;

 protected:
  afx_msg void OnPrevious() { editor->PreviousPage(); }
  afx_msg void OnNext() { editor->NextPage(); }
  afx_msg void OnInsert() { editor->InsertRow(); }
  afx_msg void OnDelete() { editor->DeleteRow(); }
  afx_msg void OnUp() { editor->MoveUp(); }
  afx_msg void OnDown() { editor->MoveDown(); }
  afx_msg void OnCheckAll() { editor->SelectAll(); }
  afx_msg void OnUncheck() { editor->ClearSelection(); }
  afx_msg void OnSearch() { editor->SearchSystemNumber(); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RowAreaDialog, CDialog)
ON_BN_CLICKED(IDC_PAGE_PREVIOUS, &RowAreaDialog::OnPrevious)
ON_BN_CLICKED(IDC_PAGE_NEXT, &RowAreaDialog::OnNext)
ON_BN_CLICKED(IDC_ROW_INSERT, &RowAreaDialog::OnInsert)
ON_BN_CLICKED(IDC_ROW_DELETE, &RowAreaDialog::OnDelete)
ON_BN_CLICKED(IDC_ROW_UP, &RowAreaDialog::OnUp)
ON_BN_CLICKED(IDC_ROW_DOWN, &RowAreaDialog::OnDown)
ON_BN_CLICKED(IDC_ROW_CHECK_ALL, &RowAreaDialog::OnCheckAll)
ON_BN_CLICKED(IDC_ROW_UNCHECK, &RowAreaDialog::OnUncheck)
ON_BN_CLICKED(IDC_SEARCH, &RowAreaDialog::OnSearch)
END_MESSAGE_MAP()

class PatternEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HMODULE module = platform::RegisterModule(L"PaletteTest.arx", {});
    platform::SetModuleResourceScript(module, kHarnexResourceScript);
    AfxSetResourceHandle(module);
    palette.editor = &editor;
    ASSERT_TRUE(palette.Create(IDD_PALETTE));
    palette.ShowWindow(SW_SHOW);
    palette.CheckDlgButton(IDC_TYPE_TRUNK, BST_CHECKED);
    // The construction-item lists begin with their empty item, as the master lists fill them.
    for (int i = 0; i < kPageRows; ++i) AddItem(IDC_ROW_KOUJI + i, L"");
  }
  void TearDown() override {
    palette.DestroyWindow();
    platform::mfc::ResetWindowSystem();
  }

  // Makes `pattern` the current pattern and shows its first page, as the palette does when a
  // pattern becomes current (its type and conduit choice on their buttons); `mark` is the control
  // row whose radio button is checked (-1: none).
  PatternData& Edit(std::unique_ptr<PatternData> pattern, int mark = 0) {
    PatternData* added = project.AddPattern(std::move(pattern));
    project.SetCurrent(project.PatternCount() - 1);
    palette.SendDlgItemMessage(IDC_PATTERN_BOX, CB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(added->name.GetString()));
    palette.CheckRadioButton(IDC_TYPE_TRUNK, IDC_TYPE_GENERAL,
                             added->type == kPatternTypeTrunk ? IDC_TYPE_TRUNK : IDC_TYPE_GENERAL);
    for (int id = IDC_CONDUIT_INDOOR; id <= IDC_CONDUIT_BURIED; ++id) {
      palette.CheckDlgButton(id, id - IDC_CONDUIT_INDOOR + 1 == added->pipeSel);
    }
    editor.SetPage(0);
    editor.ShowPage();
    editor.MarkRow(mark);
    return *added;
  }

  // One action of the user on a control of the palette; it must be one the control can take.
  void Act(platform::ActionKind kind, int control, const std::wstring& text = {}) {
    platform::UserAction action;
    action.kind = kind;
    action.control = control;
    action.text = text;
    action.template_id = IDD_PALETTE;
    action.line = 1;
    ASSERT_TRUE(platform::mfc::DispatchWindowAction(action));
    ASSERT_FALSE(session.stopped()) << projecttest::Utf8(session.stop_reason());
  }
  void Click(int control) { Act(platform::ActionKind::kClick, control); }
  void Type(int control, const std::wstring& text) {
    Act(platform::ActionKind::kType, control, text);
  }
  void Choose(int control, const std::wstring& text) {
    Act(platform::ActionKind::kChoose, control, text);
  }

  void AddItem(int control, const wchar_t* text) {
    palette.SendDlgItemMessage(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  std::wstring Shown(int control) const {
    CString text;
    palette.GetDlgItemText(control, text);
    return text.str();
  }
  bool Checked(int control) const { return palette.IsDlgButtonChecked(control) == BST_CHECKED; }
  std::vector<std::wstring> Items(int control) const {
    std::vector<std::wstring> items;
    const int n = static_cast<int>(palette.SendDlgItemMessage(control, CB_GETCOUNT));
    for (int i = 0; i < n; ++i) {
      wchar_t buffer[256] = {};
      palette.SendDlgItemMessage(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
      items.emplace_back(buffer);
    }
    return items;
  }
  // How many times the information box with this text was shown.
  int Notices(const std::wstring& text) const {
    const std::wstring line = L"[box information] " + text + L" → OK\n";
    int count = 0;
    for (size_t at = session.transcript().find(line); at != std::wstring::npos;
         at = session.transcript().find(line, at + 1)) {
      ++count;
    }
    return count;
  }
  bool NoBoxes() const { return session.transcript().find(L"[box") == std::wstring::npos; }

  platform::ActionQueueSession session;
  platform::ScopedUserSession scoped{&session};
  ProjectModel project;
  PatternEditor editor{&palette, &project};
  RowAreaDialog palette;
};

// Rows named by their system number, with a construction item and remarks derived from it.
std::unique_ptr<PatternData> Named(const std::vector<const wchar_t*>& numbers) {
  auto pattern = std::make_unique<PatternData>();
  pattern->name = L"P";
  for (size_t i = 0; i < numbers.size(); ++i) {
    const std::wstring n = numbers[i];
    if (n.empty()) continue;
    pattern->keitou[i] = n.c_str();
    pattern->memo[i] = (L"ﾒﾓ" + n).c_str();
  }
  return pattern;
}

std::wstring Numbers(const PatternData& pattern, int rows) {
  std::wstring out;
  for (int row = 0; row < rows; ++row) {
    if (row) out += L",";
    out += pattern.IsRowEmpty(row) ? L"-" : pattern.keitou[row].str();
    if (pattern.checked[row]) out += L"*";
  }
  return out;
}

TEST_F(PatternEditorTest, ShowingAPagePutsEveryValueIntoItsControl) {
  AddItem(IDC_ROW_KOUJI + 1, L"電灯");
  AddItem(IDC_ROW_KEITOU + 1, L"l-1");
  auto pattern = MakeFullPattern(L"F");
  pattern->checked[11] = true;
  pattern->kouji[11] = L"電灯";
  pattern->keitou[11] = L"L-1";
  pattern->onRack[12] = 2;  // only 1 means on a rack
  PatternData& p = Edit(std::move(pattern), 3);
  Click(IDC_PAGE_NEXT);

  EXPECT_EQ(Shown(IDC_PAGE_FRAME), L"Page:2");
  EXPECT_EQ(Shown(IDC_ROW_KOUJI), L"電灯11");
  EXPECT_EQ(Shown(IDC_ROW_KEITOU), L"L-11");
  EXPECT_EQ(Shown(IDC_ROW_BAN), L"分電盤11,L-11b");
  EXPECT_EQ(Shown(IDC_ROW_HSIZE1), L"CV5.5sq-11");
  EXPECT_EQ(Shown(IDC_ROW_HSIZE2), L"E11");
  EXPECT_EQ(Shown(IDC_ROW_HSIZE3), L"G11");
  EXPECT_EQ(Shown(IDC_ROW_HSIZE4), L"FEP11");
  EXPECT_EQ(Shown(IDC_ROW_MEMO), L"ﾒﾓ11");
  EXPECT_FALSE(Checked(IDC_ROW_ONRACK)) << "row 10 is even";
  EXPECT_TRUE(Checked(IDC_ROW_ONRACK + 1));
  EXPECT_FALSE(Checked(IDC_ROW_ONRACK + 2));
  EXPECT_TRUE(Checked(IDC_ROW_CHECK + 1));
  EXPECT_FALSE(Checked(IDC_ROW_CHECK));
  // A value missing from its list is added to it; one in the list (letter case aside) is chosen.
  EXPECT_EQ(Items(IDC_ROW_KOUJI), (std::vector<std::wstring>{L"", L"電灯1", L"電灯11"}));
  EXPECT_EQ(Items(IDC_ROW_KOUJI + 1), (std::vector<std::wstring>{L"", L"電灯", L"電灯2"}));
  EXPECT_EQ(Shown(IDC_ROW_KOUJI + 1), L"電灯");
  EXPECT_EQ(Shown(IDC_ROW_KEITOU + 1), L"l-1");
  EXPECT_EQ(Items(IDC_ROW_KEITOU + 1), (std::vector<std::wstring>{L"l-1", L"L-2"}));
  EXPECT_EQ(editor.MarkedRow(), 3) << "the radio buttons are not touched";
  EXPECT_FALSE(editor.IsModified());

  // Collecting reads back what is shown: the list's spelling replaces the stored one.
  editor.CollectPage();
  EXPECT_EQ(p.keitou[11], L"l-1");
  EXPECT_EQ(p.onRack[12], 0);
  EXPECT_TRUE(editor.IsModified());
}

TEST_F(PatternEditorTest, AnEmptyRowShowsTheEmptyItemAndEmptyBoxes) {
  PatternData& p = Edit(Named({L"A"}));
  AddItem(IDC_ROW_KOUJI + 1, L"電灯");
  Choose(IDC_ROW_KOUJI + 1, L"電灯");
  Type(IDC_ROW_KEITOU + 1, L"typed");
  // Without master lists there is no empty item, and no item stands for an empty value.
  palette.SendDlgItemMessage(IDC_ROW_KOUJI + 2, CB_RESETCONTENT);
  AddItem(IDC_ROW_KOUJI + 2, L"電灯");
  editor.ShowPage();  // shows the model again: rows 1 and 2 are empty
  EXPECT_EQ(Shown(IDC_ROW_KOUJI + 1), L"");
  EXPECT_EQ(palette.SendDlgItemMessage(IDC_ROW_KOUJI + 1, CB_GETCURSEL), 0);
  EXPECT_EQ(Shown(IDC_ROW_KEITOU + 1), L"");
  EXPECT_EQ(Shown(IDC_ROW_KOUJI + 2), L"");
  EXPECT_EQ(Shown(IDC_PAGE_FRAME), L"Page:1");
  editor.CollectPage();
  EXPECT_TRUE(p.IsRowEmpty(1));
  EXPECT_TRUE(p.IsRowEmpty(2));
  EXPECT_FALSE(editor.IsModified());
}

TEST_F(PatternEditorTest, CollectingStoresWhatTheUserTypedAndMarksModified) {
  PatternData& p = Edit(Named({L"A"}));
  Click(IDC_ROW_CHECK + 2);
  editor.CollectPage();
  EXPECT_TRUE(p.checked[2]);
  EXPECT_FALSE(editor.IsModified()) << "a check flag is not an edit";

  Type(IDC_ROW_HSIZE4 + 2, L"FEP30");
  Click(IDC_ROW_ONRACK + 3);
  Type(IDC_ROW_MEMO, L"新しい備考");
  editor.CollectPage();
  EXPECT_EQ(p.hsize4[2], L"FEP30");
  EXPECT_EQ(p.onRack[3], 1);
  EXPECT_EQ(p.memo[0], L"新しい備考");
  EXPECT_EQ(p.keitou[0], L"A");
  EXPECT_TRUE(editor.IsModified());

  // The type and the conduit choice come from their buttons; each change marks modified.
  editor.SetModified(false);
  Click(IDC_TYPE_GENERAL);
  Click(IDC_CONDUIT_OUTDOOR);
  editor.CollectPage();
  EXPECT_EQ(p.type, kPatternTypeGeneral);
  EXPECT_EQ(p.pipeSel, kConduitOutdoor);
  EXPECT_TRUE(editor.IsModified());
  editor.SetModified(false);
  editor.CollectPage();
  EXPECT_FALSE(editor.IsModified()) << "nothing changed since";
}

TEST_F(PatternEditorTest, PagesStopAtTheFirstAndTheLast) {
  PatternData& p = Edit(MakeFullPattern(L"F"));
  Click(IDC_PAGE_PREVIOUS);
  EXPECT_EQ(editor.Page(), 0);
  Type(IDC_ROW_KEITOU + 4, L"typed on page 1");
  for (int i = 0; i < 12; ++i) Click(IDC_PAGE_NEXT);
  EXPECT_EQ(editor.Page(), 9);
  EXPECT_EQ(Shown(IDC_PAGE_FRAME), L"Page:10");
  EXPECT_EQ(Shown(IDC_ROW_KEITOU + 9), L"L-100");
  EXPECT_EQ(p.keitou[4], L"typed on page 1") << "the page was collected before it was left";
  Type(IDC_ROW_KEITOU + 9, L"last");
  Click(IDC_PAGE_PREVIOUS);
  EXPECT_EQ(p.keitou[99], L"last");
  EXPECT_EQ(Shown(IDC_PAGE_FRAME), L"Page:9");
  EXPECT_EQ(Shown(IDC_ROW_KEITOU), L"L-81");
}

TEST_F(PatternEditorTest, InsertingAtRowFiveOfSevenMovesRowsFiveAndSix) {
  PatternData& p = Edit(Named({L"A", L"B", L"C", L"D", L"E", L"F", L"G"}), -1);
  Click(IDC_ROW_CHECK + 5);
  Click(IDC_ROW_MARK + 5);
  Click(IDC_ROW_INSERT);
  EXPECT_EQ(Numbers(p, 9), L"A,B,C,D,E,-,F*,G,-");
  EXPECT_EQ(p.memo[6], L"ﾒﾓF");
  EXPECT_EQ(Shown(IDC_ROW_KEITOU + 5), L"");
  EXPECT_FALSE(Checked(IDC_ROW_CHECK + 5));
  EXPECT_EQ(Shown(IDC_ROW_KEITOU + 6), L"F");
  EXPECT_TRUE(Checked(IDC_ROW_CHECK + 6));
  EXPECT_EQ(editor.MarkedRow(), 5);
  EXPECT_TRUE(editor.IsModified());
  EXPECT_TRUE(NoBoxes());
}

TEST_F(PatternEditorTest, InsertRefusalsTellTheUserWhy) {
  auto full = MakeFullPattern(L"F");
  PatternData& p = Edit(std::move(full), -1);
  Type(IDC_ROW_KEITOU, L"typed");
  Click(IDC_ROW_INSERT);
  EXPECT_EQ(Notices(L"これ以上挿入出来ません。"), 1);
  EXPECT_EQ(p.keitou[0], L"typed") << "the page is collected first";
  EXPECT_EQ(p.keitou[1], L"L-2");

  project.ClearPatterns();
  session.ClearTranscript();
  editor.SetModified(false);
  PatternData& q = Edit(Named({L"A"}), -1);
  Click(IDC_ROW_INSERT);
  EXPECT_EQ(Notices(L"挿入する位置を指定して下さい。"), 1);
  EXPECT_EQ(Numbers(q, 2), L"A,-");
  EXPECT_FALSE(editor.IsModified());
}

TEST_F(PatternEditorTest, DeletingWithoutAMarkAsksForOneBeforeCollecting) {
  PatternData& p = Edit(Named({L"A", L"B"}), -1);
  Type(IDC_ROW_KEITOU, L"typed");
  Click(IDC_ROW_DELETE);
  EXPECT_EQ(Notices(L"削除するデータを選択して下さい。"), 1);
  EXPECT_EQ(Numbers(p, 2), L"A,B");
  EXPECT_FALSE(editor.IsModified());
}

TEST_F(PatternEditorTest, DeletingRowZeroOfAFullPatternEmptiesTheLastRow) {
  PatternData& p = Edit(MakeFullPattern(L"F"), 0);
  Click(IDC_ROW_DELETE);
  EXPECT_EQ(p.keitou[0], L"L-2");
  EXPECT_EQ(p.keitou[98], L"L-100");
  EXPECT_TRUE(p.IsRowEmpty(99));
  EXPECT_EQ(Shown(IDC_ROW_KEITOU), L"L-2");
  EXPECT_EQ(editor.MarkedRow(), 0) << "the radio button stays";
  EXPECT_TRUE(editor.IsModified());
  EXPECT_TRUE(NoBoxes()) << "there is no confirmation";
}

TEST_F(PatternEditorTest, MovingDownFromTheLastControlRowTurnsThePage) {
  PatternData& p = Edit(MakeFullPattern(L"F"), 9);
  Click(IDC_ROW_CHECK + 9);
  Click(IDC_ROW_DOWN);
  EXPECT_EQ(editor.Page(), 1);
  EXPECT_EQ(Shown(IDC_PAGE_FRAME), L"Page:2");
  EXPECT_EQ(Shown(IDC_ROW_KEITOU), L"L-10");
  EXPECT_TRUE(Checked(IDC_ROW_CHECK)) << "the check flag moved with the row";
  EXPECT_EQ(editor.MarkedRow(), 0);
  EXPECT_EQ(p.keitou[9], L"L-11");
  EXPECT_TRUE(editor.IsModified());

  Click(IDC_ROW_UP);  // and back again
  EXPECT_EQ(editor.Page(), 0);
  EXPECT_EQ(editor.MarkedRow(), 9);
  EXPECT_EQ(p.keitou[9], L"L-10");
  EXPECT_EQ(Shown(IDC_ROW_KEITOU + 9), L"L-10");
}

TEST_F(PatternEditorTest, MovingStopsAtTheEndsOfThePattern) {
  PatternData& p = Edit(MakeFullPattern(L"F"), 8);
  for (int i = 0; i < 9; ++i) Click(IDC_PAGE_NEXT);
  editor.MarkRow(8);
  Click(IDC_ROW_DOWN);  // row 98 down
  EXPECT_EQ(p.keitou[98], L"L-100");
  EXPECT_EQ(p.keitou[99], L"L-99");
  EXPECT_EQ(editor.MarkedRow(), 9);
  editor.SetModified(false);
  Click(IDC_ROW_DOWN);  // row 99 down: nothing
  EXPECT_EQ(p.keitou[99], L"L-99");
  EXPECT_EQ(editor.Page(), 9);
  EXPECT_EQ(editor.MarkedRow(), 9);
  EXPECT_FALSE(editor.IsModified());

  for (int i = 0; i < 9; ++i) Click(IDC_PAGE_PREVIOUS);
  editor.MarkRow(0);
  Click(IDC_ROW_UP);  // row 0 up: nothing
  EXPECT_EQ(p.keitou[0], L"L-1");
  EXPECT_EQ(editor.MarkedRow(), 0);
  EXPECT_FALSE(editor.IsModified());
  editor.MarkRow(-1);
  Click(IDC_ROW_DOWN);
  EXPECT_EQ(p.keitou[0], L"L-1");
}

TEST_F(PatternEditorTest, RemovingBlankRowsCompactsAndSaysSoOnce) {
  PatternData& p = Edit(Named({L"P", L"", L"", L"Q", L"R"}));
  EXPECT_TRUE(editor.RemoveBlankRows());
  EXPECT_EQ(Numbers(p, 6), L"P,Q,R,-,-,-");
  EXPECT_EQ(Notices(L"空白行は削除されました。"), 1);
  EXPECT_FALSE(editor.IsModified());
  EXPECT_FALSE(editor.RemoveBlankRows());
  EXPECT_EQ(Notices(L"空白行は削除されました。"), 1) << "nothing moved the second time";
}

TEST_F(PatternEditorTest, RowsWithOnlyAnUndergroundSizeOrARackAreNeverBlank) {
  PatternData& p = Edit(Named({L"A"}), -1);
  // The user fills row 2 with only an underground size and row 4 with only the rack box.
  Type(IDC_ROW_HSIZE4 + 2, L"FEP50");
  Click(IDC_ROW_ONRACK + 4);
  Click(IDC_ROW_CHECK_ALL);  // compacts first
  EXPECT_EQ(Notices(L"空白行は削除されました。"), 1);
  EXPECT_EQ(p.hsize4[1], L"FEP50");
  EXPECT_EQ(p.onRack[2], 1);
  EXPECT_TRUE(p.checked[0] && p.checked[1] && p.checked[2]);
  EXPECT_EQ(Shown(IDC_ROW_HSIZE4 + 1), L"FEP50");
  EXPECT_TRUE(Checked(IDC_ROW_ONRACK + 2));
  EXPECT_TRUE(Checked(IDC_ROW_CHECK + 2));
  EXPECT_TRUE(editor.AnyRowChecked());

  // They move, take an insert before them and are deleted like any row.
  editor.MarkRow(1);
  Click(IDC_ROW_DOWN);
  EXPECT_EQ(p.onRack[1], 1);
  EXPECT_EQ(p.hsize4[2], L"FEP50");
  editor.MarkRow(1);
  Click(IDC_ROW_INSERT);
  EXPECT_TRUE(p.IsRowEmpty(1));
  EXPECT_EQ(p.onRack[2], 1);
  EXPECT_EQ(p.hsize4[3], L"FEP50");
  editor.MarkRow(2);
  Click(IDC_ROW_DELETE);
  EXPECT_EQ(p.hsize4[2], L"FEP50");
  EXPECT_EQ(p.onRack[2], 0);
}

TEST_F(PatternEditorTest, SelectAllCompactsFirstAndChecksTheLeadingRows) {
  PatternData& p = Edit(Named({L"A", L"B", L"C", L"D", L"E"}), -1);
  Type(IDC_ROW_KEITOU + 2, L"");
  Type(IDC_ROW_MEMO + 2, L"");  // row 2 emptied by the user
  Click(IDC_ROW_CHECK_ALL);
  EXPECT_EQ(Numbers(p, 6), L"A*,B*,D*,E*,-,-");
  EXPECT_EQ(Notices(L"空白行は削除されました。"), 1);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(Checked(IDC_ROW_CHECK + i)) << i;
  EXPECT_FALSE(Checked(IDC_ROW_CHECK + 4));
  EXPECT_EQ(Shown(IDC_ROW_KEITOU + 2), L"D");
}

TEST_F(PatternEditorTest, ClearingTheSelectionUnchecksEveryPage) {
  auto pattern = MakeFullPattern(L"F");
  pattern->checked[95] = true;
  PatternData& p = Edit(std::move(pattern));
  Click(IDC_ROW_CHECK + 3);
  EXPECT_TRUE(editor.AnyRowChecked());
  Click(IDC_ROW_UNCHECK);
  for (int row = 0; row < kPatternRows; ++row) EXPECT_FALSE(p.checked[row]) << row;
  EXPECT_FALSE(Checked(IDC_ROW_CHECK + 3));
  EXPECT_FALSE(editor.AnyRowChecked());
  EXPECT_FALSE(editor.IsModified());
}

TEST_F(PatternEditorTest, AnEmptiedCheckedRowIsNoRowToWorkOn) {
  Edit(Named({L"A"}));
  Click(IDC_ROW_CHECK);
  Type(IDC_ROW_KEITOU, L"");
  Type(IDC_ROW_MEMO, L"");
  editor.CollectPage();
  EXPECT_FALSE(editor.AnyRowChecked());
}

TEST_F(PatternEditorTest, TwoLatinLettersFindEveryNumberHoldingThemTogether) {
  PatternData& p = Edit(Named({L"XAB1", L"ab-2", L"A-B", L"cAb", L"BA", L"2aB"}));
  Click(IDC_ROW_CHECK);
  Click(IDC_TYPE_GENERAL);
  Click(IDC_CONDUIT_BURIED);
  editor.CollectPage();
  editor.SetModified(false);
  Type(IDC_SEARCH_TEXT, L"  ab ");
  Click(IDC_SEARCH);

  PatternData* found = project.Current();
  ASSERT_NE(found, &p);
  EXPECT_EQ(found->name, L"系統番号検索");
  EXPECT_EQ(Numbers(*found, 5), L"XAB1,ab-2,cAb,2aB,-") << "copies, unchecked";
  EXPECT_EQ(found->memo[3], L"ﾒﾓ2aB");
  EXPECT_EQ(found->type, kPatternTypeGeneral);
  EXPECT_EQ(found->pipeSel, kConduitUnderground);
  EXPECT_EQ(project.PatternCount(), 2);
  EXPECT_EQ(Items(IDC_PATTERN_BOX), (std::vector<std::wstring>{L"P", L"系統番号検索"}));
  EXPECT_EQ(Shown(IDC_PATTERN_BOX), L"系統番号検索");
  EXPECT_EQ(Shown(IDC_ROW_KEITOU + 2), L"cAb");
  EXPECT_EQ(Items(IDC_SEARCH_TEXT), (std::vector<std::wstring>{L"ab"}));
  EXPECT_EQ(Numbers(p, 1), L"XAB1*") << "the searched pattern keeps its rows";
  EXPECT_FALSE(editor.IsModified());

  // Searching the search pattern again replaces it, and the text is not listed twice.
  Type(IDC_SEARCH_TEXT, L"2");
  Click(IDC_SEARCH);
  EXPECT_EQ(Numbers(*project.Current(), 3), L"ab-2,2aB,-");
  EXPECT_EQ(project.PatternCount(), 2);
  EXPECT_EQ(Items(IDC_PATTERN_BOX), (std::vector<std::wstring>{L"P", L"系統番号検索"}));
  Type(IDC_SEARCH_TEXT, L"ab");
  Click(IDC_SEARCH);
  EXPECT_EQ(Items(IDC_SEARCH_TEXT), (std::vector<std::wstring>{L"ab", L"2"}));
  EXPECT_TRUE(NoBoxes());
}

TEST_F(PatternEditorTest, ASearchWithoutMatchesChangesNoPattern) {
  PatternData& p = Edit(Named({L"A1", L"", L"B2"}));
  Type(IDC_SEARCH_TEXT, L"Z");
  Click(IDC_SEARCH);
  EXPECT_EQ(project.Current(), &p);
  EXPECT_EQ(project.PatternCount(), 1);
  EXPECT_EQ(Numbers(p, 3), L"A1,B2,-") << "blank rows are removed before the search";
  EXPECT_EQ(Notices(L"空白行は削除されました。"), 1);
  EXPECT_EQ(Items(IDC_SEARCH_TEXT), (std::vector<std::wstring>{L"Z"}));
}

TEST_F(PatternEditorTest, EditsOnTheSearchPatternLeaveTheModifiedFlagAlone) {
  Edit(Named({L"A1", L"A2"}));
  Type(IDC_SEARCH_TEXT, L"a");
  Click(IDC_SEARCH);
  ASSERT_TRUE(project.Current()->IsSearchPattern());
  editor.MarkRow(0);
  Type(IDC_ROW_MEMO, L"changed");
  Click(IDC_ROW_INSERT);
  Click(IDC_ROW_DOWN);
  Click(IDC_TYPE_GENERAL);
  editor.CollectPage();
  EXPECT_EQ(project.Current()->memo[0], L"changed");
  EXPECT_TRUE(project.Current()->IsRowEmpty(1));
  EXPECT_FALSE(editor.IsModified());
}

// The import dialog's rows: eight strings each; the caller keeps and frees them.
class ImportedRows {
 public:
  void Add(std::vector<const wchar_t*> values) {
    auto row = std::make_unique<CStringArray>();
    for (const wchar_t* v : values) row->Add(v);
    rows_.Add(row.get());
    owned_.push_back(std::move(row));
  }
  const CPtrArray& Array() const { return rows_; }

 private:
  CPtrArray rows_;
  std::vector<std::unique_ptr<CStringArray>> owned_;
};

TEST_F(PatternEditorTest, ImportedRowsStandBeforeTheMarkedRow) {
  PatternData& p = Edit(Named({L"A", L"B", L"C"}), 1);
  ImportedRows rows;
  rows.Add({L"電灯", L"X1", L"盤1", L"CV", L"E19", L"G22", L"○", L"備考1"});
  rows.Add({L"動力", L"X2", L"", L"", L"", L"", L"", L""});
  editor.InsertImportedRows(rows.Array());
  EXPECT_EQ(Numbers(p, 6), L"A,X1,X2,B,C,-");
  EXPECT_EQ(p.onRack[1], 1);
  EXPECT_EQ(p.kouji[2], L"動力");
  EXPECT_EQ(p.memo[1], L"備考1");
  EXPECT_EQ(Shown(IDC_ROW_KEITOU + 1), L"X1");
  EXPECT_TRUE(Checked(IDC_ROW_ONRACK + 1));
  EXPECT_EQ(Shown(IDC_ROW_KOUJI + 2), L"動力");
  EXPECT_TRUE(editor.IsModified());
  EXPECT_TRUE(NoBoxes());
}

TEST_F(PatternEditorTest, ImportingIntoAPatternWhoseLastRowIsTakenInsertsNothing) {
  auto pattern = Named({L"A"});
  pattern->hsize4[99] = L"FEP";  // rows 97 and 98 are empty, row 99 is not
  PatternData& p = Edit(std::move(pattern), -1);
  Click(IDC_PAGE_NEXT);
  Click(IDC_ROW_MARK);  // row 10
  ImportedRows rows;
  for (const wchar_t* n : {L"X1", L"X2", L"X3"}) rows.Add({L"", n, L"", L"", L"", L"", L"", L""});
  editor.InsertImportedRows(rows.Array());
  EXPECT_EQ(Notices(L"これ以上挿入出来ません。"), 1);
  EXPECT_TRUE(p.IsRowEmpty(10));
  EXPECT_EQ(p.hsize4[99], L"FEP");
  EXPECT_FALSE(editor.IsModified());
}

TEST_F(PatternEditorTest, AnImportThatFillsThePatternKeepsTheRowsInsertedSoFar) {
  auto pattern = MakeFullPattern(L"F");
  pattern->ClearRow(98);
  pattern->ClearRow(99);
  PatternData& p = Edit(std::move(pattern), 0);
  ImportedRows rows;
  for (const wchar_t* n : {L"X1", L"X2", L"X3"}) rows.Add({L"", n, L"", L"", L"", L"", L"", L""});
  editor.InsertImportedRows(rows.Array());
  EXPECT_EQ(Notices(L"これ以上挿入出来ません。"), 1);
  EXPECT_EQ(Numbers(p, 3), L"X1,X2,L-1");
  EXPECT_EQ(p.keitou[99], L"L-98");
  EXPECT_TRUE(editor.IsModified());
}

}  // namespace
