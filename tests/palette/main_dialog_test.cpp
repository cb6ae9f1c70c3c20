// The palette as a user meets it: RQ_HARNEX, projects and patterns, the save questions, closing.
#include "palette/main_dialog.h"

#include <gtest/gtest.h>

#include <PaletteDialog.h>

#include <algorithm>

#include "app/harnex_module.h"
#include "palette_test_support.h"
#include "resources/resource.h"

namespace palette_test {
namespace {

using Strings = std::vector<std::wstring>;

bool Contains(const Strings& items, const std::wstring& item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

// Names of the project's patterns in list order.
Strings PatternNames() {
  Strings names;
  const ProjectModel& project = PaletteInstance->Project();
  for (int i = 0; i < project.PatternCount(); ++i)
    names.push_back(project.Pattern(i)->name.GetString());
  return names;
}

std::wstring CurrentName() {
  const PatternData* current = PaletteInstance->Project().Current();
  return current ? current->name.GetString() : L"<none>";
}

constexpr wchar_t kSample[] = L"サンプルビル";
constexpr wchar_t kModified[] = L"[box question] データが変更されています。保存しますか？ → ";

class PaletteTest : public PaletteSessionTest {
 protected:
  // Starts with the sample project restored at its first pattern, as after a palette that was
  // closed on it.
  void StartOnSample() {
    SetLastProject(L"NAME", kSample);
    SetLastProject(L"PATTERN", L"受変電から分電盤");
    Start();
  }
};

TEST_F(PaletteTest, StartsWithoutAProjectWhenTheLastProjectIsGoneAndRestoresOneThatExists) {
  SetLastProject(L"NAME", L"取り壊し済み");
  SetLastProject(L"PATTERN", L"受変電から分電盤");
  Start();
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  ASSERT_NE(Palette(), nullptr);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(ControlText(IDC_PROJECT_NAME), L"");
  EXPECT_EQ(Palette()->Project().PatternCount(), 0);
  EXPECT_FALSE(IsEnabled(IDC_PATTERN_BOX));
  EXPECT_FALSE(IsEnabled(IDC_ROW_KEITOU + 3));
  EXPECT_FALSE(IsEnabled(IDC_PROJECT_NEW));
  EXPECT_TRUE(IsEnabled(IDC_PROJECT_OPEN));
  EXPECT_TRUE(IsEnabled(IDC_PATTERN_NEW));
  EXPECT_TRUE(IsEnabled(IDC_CONDUIT_BURIED));
  // Without a project the construction items are those of trunks, and the notes start as given.
  EXPECT_TRUE(Contains(Items(IDC_ROW_KOUJI), L"電灯幹線"));
  EXPECT_FALSE(IsChecked(IDC_NOTE_TRUNK_NO));
  EXPECT_TRUE(IsChecked(IDC_NOTE_WIRE_SIZE));
  EXPECT_TRUE(IsChecked(IDC_NOTE_WORK_KIND));
  EXPECT_TRUE(IsChecked(IDC_ROW_MARK));
  ASSERT_EQ(Run(L"click 2\n"), 0) << StopReason();
  EXPECT_EQ(Palette(), nullptr);

  // The pattern is found without regard to letter case; a general pattern shows general lists.
  SetLastProject(L"NAME", kSample);
  SetLastProject(L"PATTERN", L"1f照明・コンセント");
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  ASSERT_NE(Palette(), nullptr);
  EXPECT_EQ(ControlText(IDC_PROJECT_NAME), kSample);
  EXPECT_EQ(CurrentName(), L"1F照明・コンセント");
  EXPECT_EQ(ControlText(IDC_PATTERN_BOX), L"1F照明・コンセント");
  EXPECT_TRUE(IsChecked(IDC_TYPE_GENERAL));
  EXPECT_FALSE(IsChecked(IDC_TYPE_TRUNK));
  EXPECT_TRUE(IsChecked(IDC_CONDUIT_INDOOR));
  EXPECT_TRUE(Contains(Items(IDC_ROW_KOUJI + 9), L"コンセント"));
  EXPECT_FALSE(Contains(Items(IDC_ROW_KOUJI + 9), L"電灯幹線"));
  EXPECT_TRUE(Contains(Items(IDC_ROW_HSIZE2), L"(PF16)"));
  EXPECT_TRUE(IsEnabled(IDC_PATTERN_BOX));
  EXPECT_FALSE(Palette()->Editor().IsModified());
}

TEST_F(PaletteTest, TheCommandShowsTheSamePaletteAgainAndEscMakesTheNextOneNew) {
  SetLastProject(L"AUTOROLLUP", L"ON");
  SetLastProject(L"OPACITY", L"60");
  Start();
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  CMainDlg* first = Palette();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(PaletteSetInstance, nullptr);
  EXPECT_EQ(PaletteSetInstance->GetName(), L"複数配線");
  EXPECT_EQ(PaletteSetInstance->GetOpacity(), 60);
  EXPECT_TRUE(PaletteSetInstance->GetAutoRollup());
  EXPECT_TRUE(PaletteSetInstance->IsWindowVisible());

  // Again while visible: the same palette, the settings applied again.
  PaletteSetInstance->SetOpacity(30);
  PaletteSetInstance->SetAutoRollup(FALSE);
  ClearTranscript();
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  EXPECT_EQ(Palette(), first);
  EXPECT_EQ(Transcript().find(L"[window 200"), std::wstring::npos);
  EXPECT_EQ(PaletteSetInstance->GetOpacity(), 60);
  EXPECT_TRUE(PaletteSetInstance->GetAutoRollup());

  // Hidden by its close button: shown again, with everything kept.
  ASSERT_EQ(Run(L"click 204\ntype 346 動力\nclick 1\n"), 0) << StopReason();
  PaletteSetInstance->ShowWindow(SW_HIDE);
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  EXPECT_TRUE(PaletteSetInstance->IsWindowVisible());
  EXPECT_EQ(Palette(), first);
  EXPECT_EQ(PatternNames(), Strings{L"動力"});

  // Esc does not write the palette set's settings; the next command builds a new palette.
  PaletteSetInstance->SetOpacity(45);
  HWND old_window = first->m_hWnd;
  ASSERT_EQ(Run(L"click 2\n"), 0) << StopReason();
  EXPECT_EQ(Palette(), nullptr);
  EXPECT_FALSE(::IsWindow(old_window));
  EXPECT_EQ(LastProject(L"OPACITY"), L"60");
  EXPECT_EQ(LastProject(L"AUTOROLLUP"), L"ON");
  // The unnamed project's pattern is written as the last one, with an empty project name.
  EXPECT_EQ(LastProject(L"PATTERN"), L"動力");
  EXPECT_EQ(LastProject(L"NAME"), L"");

  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  ASSERT_NE(Palette(), nullptr);
  EXPECT_NE(Palette()->m_hWnd, old_window);
  EXPECT_EQ(Palette()->Project().PatternCount(), 0);
  EXPECT_EQ(PaletteSetInstance->GetOpacity(), 60);
}

TEST_F(PaletteTest, NoToTheNewProjectQuestionKeepsTheProjectModifiedUntilClosing) {
  StartOnSample();
  ASSERT_EQ(Run(L"command RQ_HARNEX\ntype 248 1L-9\nclick 202\nanswer no\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), Strings{std::wstring(kModified) + L"No"});
  EXPECT_TRUE(Palette()->Editor().IsModified());
  EXPECT_EQ(Palette()->Project().PatternCount(), 0);
  EXPECT_EQ(ControlText(IDC_PROJECT_NAME), L"");
  EXPECT_TRUE(Items(IDC_PATTERN_BOX).empty());
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU), L"");
  EXPECT_FALSE(IsChecked(IDC_ROW_MARK));
  EXPECT_FALSE(IsEnabled(IDC_PATTERN_BOX));

  // 保存 is disabled, and has nothing to save when its command comes all the same; closing asks
  // again, and Cancel keeps the palette.
  ClearTranscript();
  EXPECT_FALSE(IsEnabled(IDC_PROJECT_SAVE));
  HWND save = ::GetDlgItem(Palette()->m_hWnd, IDC_PROJECT_SAVE);
  Palette()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PROJECT_SAVE, BN_CLICKED),
                         reinterpret_cast<LPARAM>(save));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(Dialogs().empty());
  ASSERT_EQ(Run(L"click 2\nanswer cancel\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), Strings{std::wstring(kModified) + L"Cancel"});
  ASSERT_NE(Palette(), nullptr);
  ASSERT_EQ(Run(L"click 2\nanswer no\n"), 0) << StopReason();
  EXPECT_EQ(Palette(), nullptr);
  EXPECT_EQ(ProfileValue(ProjectFile(kSample), L"PATTERN-001", L"KEITOU-001"), L"1L-1");
}

TEST_F(PaletteTest, TheFirstPatternMakesAnUnnamedProjectThatAsksForItsNameWhenSaved) {
  Start();
  ASSERT_EQ(Run(L"command RQ_HARNEX\nclick 204\ntype 346 照明\nclick 1\n"), 0) << StopReason();
  EXPECT_TRUE(IsEnabled(IDC_PATTERN_BOX));
  EXPECT_TRUE(IsEnabled(IDC_ROW_MEMO + 9));
  EXPECT_EQ(Items(IDC_PATTERN_BOX), Strings{L"照明"});
  EXPECT_EQ(ControlText(IDC_PATTERN_BOX), L"照明");
  EXPECT_TRUE(IsChecked(IDC_ROW_MARK));
  EXPECT_FALSE(Palette()->Editor().IsModified());

  // Nothing to save before an edit.
  ClearTranscript();
  ASSERT_EQ(Run(L"click 207\n"), 0) << StopReason();
  EXPECT_TRUE(Dialogs().empty());

  // A conduit choice other than none is an edit; Cancel at the name leaves it unsaved.
  ASSERT_EQ(Run(L"click 399\nclick 207\nclick 2\n"), 0) << StopReason();
  EXPECT_EQ(Dialogs(), Strings{L"[dialog 202 新規プロジェクト]"});
  EXPECT_TRUE(Palette()->Editor().IsModified());
  EXPECT_EQ(Palette()->Project().Name(), L"");

  // A taken project name is asked about; No asks for the name again.
  ClearTranscript();
  ASSERT_EQ(Run(L"type 248 L-1\nclick 207\ntype 346 サンプルビル\nclick 1\nanswer no\n"
                L"type 346 新館\nclick 1\n"),
            0)
      << StopReason();
  EXPECT_EQ(Boxes(),
            (Strings{L"[box question] 同名のプロジェクトが存在します。上書きしますか？ → No",
                     L"[box information] データが保存されました。 → OK"}));
  EXPECT_EQ(ControlText(IDC_PROJECT_NAME), L"新館");
  EXPECT_FALSE(Palette()->Editor().IsModified());
  EXPECT_EQ(ProfileValue(ProjectFile(L"新館"), L"PATTERN-001", L"KEITOU-001"), L"L-1");
  EXPECT_EQ(ProfileValue(ProjectFile(L"新館"), L"PATTERN-001", L"PIPESEL"), L"2");
  EXPECT_EQ(ProfileValue(ProjectFile(kSample), L"PATTERN-001", L"KEITOU-001"), L"1L-1");

  // The next save of the named project asks nothing.
  ClearTranscript();
  ASSERT_EQ(Run(L"type 248 L-2\nclick 207\n"), 0) << StopReason();
  EXPECT_TRUE(Dialogs().empty());
  EXPECT_EQ(ProfileValue(ProjectFile(L"新館"), L"PATTERN-001", L"KEITOU-001"), L"L-2");
}

TEST_F(PaletteTest, DeletingPatternsMakesTheNeighbourCurrentWithItsOwnTypeAndConduit) {
  WriteProject(L"三棟", 4);
  const CString file = ProjectFile(L"三棟");
  WritePrivateProfileStringW(L"PATTERN-002", L"TYPE", L"一般", file);
  WritePrivateProfileStringW(L"PATTERN-002", L"PIPESEL", L"2", file);
  WritePrivateProfileStringW(L"PATTERN-003", L"PIPESEL", L"3", file);
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, file);
  SetLastProject(L"NAME", L"三棟");
  SetLastProject(L"PATTERN", L"P03");
  Start();
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  ASSERT_EQ(CurrentName(), L"P03");

  // No keeps it.
  ASSERT_EQ(Run(L"click 205\nanswer no\n"), 0) << StopReason();
  EXPECT_EQ(PatternNames(), (Strings{L"P01", L"P02", L"P03", L"P04"}));
  EXPECT_FALSE(Palette()->Editor().IsModified());

  // A middle one: the one before it becomes current, with its general type and outdoor conduit.
  ASSERT_EQ(Run(L"click 205\nanswer yes\n"), 0) << StopReason();
  EXPECT_EQ(PatternNames(), (Strings{L"P01", L"P02", L"P04"}));
  EXPECT_EQ(Items(IDC_PATTERN_BOX), (Strings{L"P01", L"P02", L"P04"}));
  EXPECT_EQ(CurrentName(), L"P02");
  EXPECT_EQ(ControlText(IDC_PATTERN_BOX), L"P02");
  EXPECT_TRUE(IsChecked(IDC_TYPE_GENERAL));
  EXPECT_TRUE(IsChecked(IDC_CONDUIT_OUTDOOR));
  EXPECT_FALSE(IsChecked(IDC_CONDUIT_BURIED));
  EXPECT_TRUE(Contains(Items(IDC_ROW_KOUJI), L"コンセント"));
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU), L"P02");
  EXPECT_TRUE(Palette()->Editor().IsModified());

  // The first: the former second becomes current.
  ASSERT_EQ(Run(L"choose 203 P01\nclick 205\nanswer yes\n"), 0) << StopReason();
  EXPECT_EQ(PatternNames(), (Strings{L"P02", L"P04"}));
  EXPECT_EQ(CurrentName(), L"P02");
  EXPECT_EQ(ControlText(IDC_PATTERN_BOX), L"P02");

  // The last: the one before it.
  ASSERT_EQ(Run(L"choose 203 P04\n"), 0) << StopReason();
  EXPECT_TRUE(IsChecked(IDC_TYPE_TRUNK));
  EXPECT_FALSE(IsChecked(IDC_CONDUIT_OUTDOOR));
  ASSERT_EQ(Run(L"click 205\nanswer yes\n"), 0) << StopReason();
  EXPECT_EQ(PatternNames(), Strings{L"P02"});
  EXPECT_EQ(CurrentName(), L"P02");
  EXPECT_TRUE(IsChecked(IDC_TYPE_GENERAL));

  // The only one left cannot go.
  ClearTranscript();
  ASSERT_EQ(Run(L"click 205\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), Strings{L"[box stop] 最後のパターンは削除出来ません。 → OK"});
  EXPECT_EQ(PatternNames(), Strings{L"P02"});
  // Nothing was written yet.
  EXPECT_EQ(ProfileValue(file, L"PROJECT", L"PATTERN-004"), L"P04");
}

TEST_F(PaletteTest, ChoosingAPatternOfTheOtherTypeRefillsTheListsAndClearsItsChecks) {
  StartOnSample();
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  EXPECT_TRUE(Contains(Items(IDC_ROW_KOUJI + 4), L"非常電源幹線"));
  EXPECT_TRUE(Contains(Items(IDC_ROW_HSIZE4 + 4), L"(FEP50)"));
  EXPECT_FALSE(Contains(Items(IDC_ROW_HSIZE4 + 4), L"(PF16)"));

  ASSERT_EQ(Run(L"click 238\nclick 219\nchoose 203 1F照明・コンセント\n"), 0) << StopReason();
  EXPECT_TRUE(IsChecked(IDC_TYPE_GENERAL));
  EXPECT_FALSE(Contains(Items(IDC_ROW_KOUJI + 4), L"非常電源幹線"));
  EXPECT_TRUE(Contains(Items(IDC_ROW_KOUJI + 4), L"非常照明"));
  EXPECT_TRUE(Contains(Items(IDC_ROW_HSIZE4 + 4), L"(PF16)"));
  EXPECT_TRUE(IsChecked(IDC_ROW_MARK));
  EXPECT_FALSE(IsChecked(IDC_ROW_MARK + 1));

  // Back to the first: its check flag, set before leaving it, is cleared.
  ASSERT_EQ(Run(L"choose 203 受変電から分電盤\n"), 0) << StopReason();
  EXPECT_TRUE(IsChecked(IDC_TYPE_TRUNK));
  EXPECT_FALSE(IsChecked(IDC_ROW_CHECK));
  EXPECT_FALSE(Palette()->Project().Current()->checked[0]);
  EXPECT_FALSE(Palette()->Editor().IsModified());

  // Clicking 一般 on a trunk pattern keeps the size a box shows although the general list lacks
  // it, and gives the pattern the new type.
  ASSERT_EQ(Run(L"click 212\n"), 0) << StopReason();
  EXPECT_EQ(ControlText(IDC_ROW_HSIZE4), L"(FEP50)");
  EXPECT_EQ(Items(IDC_ROW_HSIZE4).back(), L"(FEP50)");
  EXPECT_EQ(Palette()->Project().Current()->type, kPatternTypeGeneral);
  EXPECT_TRUE(Palette()->Editor().IsModified());
}

TEST_F(PaletteTest, SaveUnderAnotherNameMovesTheEditsToTheCopy) {
  StartOnSample();
  ASSERT_EQ(Run(L"command RQ_HARNEX\ntype 248 1L-9\nclick 398\nclick 240\n"
                L"click 206\ntype 346 1F照明・コンセント\nclick 1\ntype 346 改修案\nclick 1\n"),
            0)
      << StopReason();
  EXPECT_EQ(Boxes(), Strings{L"[box stop] 入力したパターン名は既に存在します。 → OK"});
  EXPECT_EQ(PatternNames(), (Strings{L"受変電から分電盤", L"1F照明・コンセント", L"改修案"}));
  EXPECT_EQ(CurrentName(), L"改修案");
  EXPECT_EQ(ControlText(IDC_PATTERN_BOX), L"改修案");
  const PatternData* copy = Palette()->Project().Current();
  EXPECT_EQ(copy->keitou[0], L"1L-9");
  EXPECT_EQ(copy->keitou[2], L"E-1");
  EXPECT_EQ(copy->memo[1], L"ラック上は2段目");
  EXPECT_EQ(copy->onRack[1], 1);
  EXPECT_FALSE(copy->checked[2]);
  const PatternData* old = Palette()->Project().Pattern(0);
  EXPECT_EQ(old->keitou[0], L"1L-1");
  EXPECT_EQ(old->pipeSel, kConduitUnderground);
  EXPECT_FALSE(old->checked[2]);
  EXPECT_TRUE(Palette()->Editor().IsModified());
  EXPECT_EQ(ControlText(IDC_ROW_KEITOU), L"1L-9");
  EXPECT_TRUE(IsChecked(IDC_ROW_MARK));

  // Saved, the copy keeps the conduit choice the palette showed.
  ASSERT_EQ(Run(L"click 207\n"), 0) << StopReason();
  EXPECT_EQ(ProfileValue(ProjectFile(kSample), L"PATTERN-003", L"KEITOU-001"), L"1L-9");
  EXPECT_EQ(ProfileValue(ProjectFile(kSample), L"PATTERN-003", L"PIPESEL"), L"1");
  EXPECT_EQ(ProfileValue(ProjectFile(kSample), L"PATTERN-001", L"KEITOU-001"), L"1L-1");
}

TEST_F(PaletteTest, SaveUnderAnotherNameInAnUnsavedProjectKeepsTheEditsInBoth) {
  Start();
  ASSERT_EQ(Run(L"command RQ_HARNEX\nclick 204\ntype 346 A\nclick 1\ntype 248 X-1\n"
                L"click 206\ntype 346 B\nclick 1\n"),
            0)
      << StopReason();
  EXPECT_EQ(PatternNames(), (Strings{L"A", L"B"}));
  EXPECT_EQ(Palette()->Project().Pattern(0)->keitou[0], L"X-1");
  EXPECT_EQ(Palette()->Project().Pattern(1)->keitou[0], L"X-1");
  EXPECT_EQ(CurrentName(), L"B");
}

TEST_F(PaletteTest, AFiftyFirstPatternIsRefusedButLargerProjectsLoadWhole) {
  WriteProject(L"大規模", 60);
  WriteProject(L"四十九", 49);
  SetLastProject(L"NAME", L"大規模");
  SetLastProject(L"PATTERN", L"P01");
  Start();
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  EXPECT_EQ(Palette()->Project().PatternCount(), 60);
  EXPECT_EQ(Items(IDC_PATTERN_BOX).size(), 60u);
  ASSERT_EQ(Run(L"click 204\nclick 206\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), (Strings{L"[box stop] これ以上登録できません。 → OK",
                              L"[box stop] これ以上登録できません。 → OK"}));
  EXPECT_TRUE(Dialogs().empty());
  ASSERT_EQ(Run(L"click 2\n"), 0) << StopReason();

  SetLastProject(L"NAME", L"四十九");
  ClearTranscript();
  ASSERT_EQ(Run(L"command RQ_HARNEX\nclick 204\ntype 346 p01\nclick 1\ntype 346 P50\nclick 1\n"
                L"click 204\n"),
            0)
      << StopReason();
  // Pattern names are compared without regard to case.
  EXPECT_EQ(Boxes(), (Strings{L"[box stop] 入力したパターン名は既に存在します。 → OK",
                              L"[box stop] これ以上登録できません。 → OK"}));
  EXPECT_EQ(Palette()->Project().PatternCount(), 50);
  EXPECT_EQ(CurrentName(), L"P50");
}

TEST_F(PaletteTest, OpeningAProjectAsksFirstAndCancellingTheListForgetsTheChanges) {
  StartOnSample();
  ASSERT_EQ(Run(L"command RQ_HARNEX\ntype 308 要確認\nclick 201\nanswer cancel\n"), 0)
      << StopReason();
  EXPECT_EQ(Boxes(), Strings{L"[box question] 現在のプロジェクトを保存しますか？ → Cancel"});
  EXPECT_TRUE(Dialogs().empty());
  EXPECT_TRUE(Palette()->Editor().IsModified());

  // Yes saves before the list opens; Cancel in the list clears the modified flag.
  ClearTranscript();
  ASSERT_EQ(Run(L"type 308 要確認2\nclick 201\nanswer yes\nclick 2\n"), 0) << StopReason();
  EXPECT_EQ(Dialogs(), Strings{L"[dialog 203 プロジェクト一覧]"});
  EXPECT_EQ(ProfileValue(ProjectFile(kSample), L"PATTERN-001", L"MEMO-001"), L"要確認2");
  EXPECT_FALSE(Palette()->Editor().IsModified());
  ASSERT_EQ(Run(L"type 308 未保存\nclick 201\nanswer no\nclick 2\n"), 0) << StopReason();
  EXPECT_FALSE(Palette()->Editor().IsModified());
  EXPECT_EQ(ProfileValue(ProjectFile(kSample), L"PATTERN-001", L"MEMO-001"), L"要確認2");
  EXPECT_EQ(CurrentName(), L"受変電から分電盤");
}

TEST_F(PaletteTest, AProjectWithoutPatternsFailsToOpenAndLeavesThePaletteEmpty) {
  RemoveProject(kSample);
  WriteProject(L"空", 0);
  Start();
  ASSERT_EQ(Run(L"command RQ_HARNEX\nclick 201\nrows 360 0\nclick 1\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), Strings{L"[box stop] プロジェクトの読込みに失敗しました。 → OK"});
  EXPECT_EQ(Palette()->Project().PatternCount(), 0);
  EXPECT_EQ(Palette()->Project().Name(), L"");
  EXPECT_EQ(ControlText(IDC_PROJECT_NAME), L"");
  EXPECT_FALSE(IsEnabled(IDC_PATTERN_BOX));
}

TEST_F(PaletteTest, DestroyingThePaletteAsksYesOrNoAndWritesThePaletteSetSettings) {
  StartOnSample();
  ASSERT_EQ(Run(L"command RQ_HARNEX\nchoose 203 1F照明・コンセント\ntype 248 L-77\n"), 0)
      << StopReason();
  PaletteSetInstance->SetOpacity(35);
  PaletteSetInstance->SetAutoRollup(TRUE);
  ClearTranscript();
  session().user().Add({host::steps::Answer(L"yes")});
  Palette()->DestroyWindow();
  EXPECT_EQ(Boxes(), Strings{std::wstring(kModified) + L"Yes"});
  EXPECT_EQ(Palette(), nullptr);
  EXPECT_EQ(ProfileValue(ProjectFile(kSample), L"PATTERN-002", L"KEITOU-001"), L"L-77");
  EXPECT_EQ(LastProject(L"NAME"), kSample);
  EXPECT_EQ(LastProject(L"PATTERN"), L"1F照明・コンセント");
  EXPECT_EQ(LastProject(L"OPACITY"), L"35");
  EXPECT_EQ(LastProject(L"AUTOROLLUP"), L"ON");
}

// A new pattern X with an edit that no save has written.
constexpr wchar_t kUnsavedEdit[] =
    L"command RQ_HARNEX\nclick 204\ntype 346 X\nclick 1\ntype 248 A-1\n";

TEST_F(PaletteTest, AnswersLeftAtTheEndOfAScriptAnswerTheQuestionOfTheShutdown) {
  Start();
  ASSERT_EQ(Run(std::wstring(kUnsavedEdit) + L"answer no\n"), 0) << StopReason();
  EXPECT_TRUE(Boxes().empty());  // the answer waited for the shutdown
  session().CloseWindows();
  EXPECT_EQ(Boxes(), Strings{std::wstring(kModified) + L"No"});
  EXPECT_EQ(session().exit_status(), 0) << StopReason();
  EXPECT_FALSE(ProjectExists(L"X"));
}

TEST_F(PaletteTest, AShutdownQuestionWithoutAnAnswerStopsTheSession) {
  Start();
  ASSERT_EQ(Run(kUnsavedEdit), 0) << StopReason();
  session().CloseWindows();
  EXPECT_EQ(session().exit_status(), 3);
  EXPECT_NE(StopReason().find(L"データが変更されています。保存しますか？"), std::wstring::npos);
  EXPECT_EQ(Palette(), nullptr);
}

TEST_F(PaletteTest, ThePaletteKeepsTheKeyboardFocus) {
  Start();
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  EXPECT_EQ(Palette()->SendMessage(WM_ACAD_KEEPFOCUS), TRUE);
}

}  // namespace
}  // namespace palette_test
