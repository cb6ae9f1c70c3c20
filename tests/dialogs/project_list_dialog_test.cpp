// The project list: the list it makes and where it opens, the fill in file-system order, the
// empty folder, column sorts, choosing, copying and deleting, with failures forced through the
// file-system seam, and Harnex's resources around the name dialog it opens.
#include "dialogs/project_list_dialog.h"

#include <adui.h>
#include <afxcmn.h>

#include <algorithm>
#include <filesystem>

#include "dialogs/harnex_resource_scope.h"
#include "dialogs_support.h"
#include "platform/win/file_system.h"
#include "resources/resource.h"
#include "platform/win/text_encoding.h"
#include "platform/mfc/window_system.h"

namespace dialogs_test {
namespace {

using namespace host::steps;

// Records the list and the dialog as they were when the dialog ended (or OK was tried).
class CRecordingProjList : public CProjList {
 public:
  using CProjList::CProjList;
  std::vector<ListRow> rows;
  CRect rect;
  std::string overlaps;
  CRect client;
  platform::mfc::WindowRecord list;  // the list view's styles, place and columns (no items)
  LRESULT keep_focus = 0;
  bool choose_on_change = false;  // post 0x3400 whenever a row's state changes

 protected:
  BOOL OnInitDialog() override {
    BOOL focus = CProjList::OnInitDialog();
    keep_focus = SendMessage(WM_ACAD_KEEPFOCUS);
    return focus;
  }
  void OnOK() override {
    Record();
    CProjList::OnOK();
  }
  void OnCancel() override {
    Record();
    CProjList::OnCancel();
  }
  afx_msg void OnItemChanged(NMHDR*, LRESULT*) {
    if (choose_on_change) PostMessage(kProjectListChooseMessage);
  }
  DECLARE_MESSAGE_MAP()

 private:
  void Record() {
    HWND view = ::GetDlgItem(m_hWnd, IDC_LIST_PROJECTS);
    rows = RowsOf(view);
    GetWindowRect(&rect);
    GetClientRect(&client);
    overlaps = OverlappingControls(m_hWnd);
    const auto* r = platform::mfc::FindWindowRecord(view);
    if (r == nullptr) return;
    list.class_name = r->class_name;
    list.style = r->style;
    list.ex_style = r->ex_style;
    list.lv_ex_style = r->lv_ex_style;
    list.rect = r->rect;
    list.columns = r->columns;
  }
};

BEGIN_MESSAGE_MAP(CRecordingProjList, CProjList)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST_PROJECTS, &CRecordingProjList::OnItemChanged)
END_MESSAGE_MAP()

class ProjectListTest : public DialogSessionTest {
 protected:
  INT_PTR Show(CRecordingProjList& dialog, std::vector<host::ScriptStep> steps) {
    Queue(std::move(steps));
    HarnexResourceScope resources;
    return dialog.DoModal();
  }
  std::vector<ListRow> Names(std::initializer_list<const wchar_t*> names) {
    std::vector<ListRow> rows;
    for (const wchar_t* n : names) rows.push_back({n, L"", L""});
    return rows;
  }
  // Four projects a1 to a4 without dates, listed in that order.
  void AddFour() {
    for (const wchar_t* name : {L"a1", L"a2", L"a3", L"a4"}) AddProject(name, L"");
  }
  static std::vector<ListRow> NamesOnly(std::vector<ListRow> rows) {
    for (auto& r : rows) r.created = r.updated = L"", r.selected = false;
    return rows;
  }
};

TEST_F(ProjectListTest, MakesItsListAtInitialisationAndOpensAtTheOwnersRestoredCorner) {
  owner.ShowWindow(SW_MAXIMIZE);
  const size_t before = Events().size();
  CRecordingProjList dialog(L"", &owner);
  EXPECT_EQ(Show(dialog, {Click(IDCANCEL)}), IDCANCEL);
  EXPECT_EQ(dialog.rect.TopLeft(), CPoint(130, 70));  // not the maximized window's (0, 0)
  EXPECT_EQ(dialog.keep_focus, TRUE);
  EXPECT_EQ(dialog.list.class_name, L"SysListView32");
  EXPECT_EQ(dialog.list.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                                                  LVS_SHOWSELALWAYS));
  EXPECT_EQ(dialog.list.ex_style,
            static_cast<DWORD>(WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
  EXPECT_EQ(dialog.list.lv_ex_style, static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
  EXPECT_EQ(CRect(dialog.list.rect), CRect(10, 30, 446, 382));
  ASSERT_EQ(dialog.list.columns.size(), 3u);
  const std::pair<const wchar_t*, int> columns[] = {
      {L"プロジェクト名", 190}, {L"作成日付", 118}, {L"更新日付", 118}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(dialog.list.columns[i].text, columns[i].first);
    EXPECT_EQ(dialog.list.columns[i].width, columns[i].second);
    EXPECT_EQ(dialog.list.columns[i].format, LVCFMT_CENTER);
  }
  EXPECT_EQ(dialog.overlaps, "");  // instruction, list and the four buttons lie apart
  // The list lies inside the dialog, with the margin it has on the left on the right too.
  EXPECT_GE(dialog.client.right - dialog.list.rect.right, dialog.list.rect.left)
      << dialog.client.right;
  EXPECT_EQ(
      EventsSince(before),  // the folder is empty
      (std::vector<std::wstring>{L"[box none] プロジェクトは存在しません。 → OK",
                                 L"[dialog 203 プロジェクト一覧]", L"[end dialog 203 IDCANCEL]"}));
}

TEST_F(ProjectListTest, ListsTheProjectFilesInFileSystemOrderWithTheirDatesAsStored) {
  AddProject(L"b工区", L"2016/04/03 10:00:00", L"2016/05/01 08:00:00");
  AddProject(L"A棟", L"2016/04/01 09:30:00");
  AddProject(L"c.2", L"2015/12/24 18:00:00", L"2016/01/05 09:00:00");
  std::filesystem::create_directory(ProjectPosix(L"古い.tpr"));  // a folder is no project
  WritePrivateProfileStringW(L"KORMAN_CABLIX", L"NAME", L"A棟",
                             ProjectFolder() + L"\\LastProj.ini");
  CRecordingProjList dialog(L"", &owner);
  Show(dialog, {Click(IDCANCEL)});
  EXPECT_EQ(dialog.rows,
            (std::vector<ListRow>{{L"A棟", L"2016/04/01 09:30:00", L""},
                                  {L"b工区", L"2016/04/03 10:00:00", L"2016/05/01 08:00:00"},
                                  {L"c.2", L"2015/12/24 18:00:00", L"2016/01/05 09:00:00"}}));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(ProjectListTest, AnEmptyOrMissingFolderSaysSoAndOkThenDoesNothing) {
  for (bool remove_folder : {false, true}) {
    if (remove_folder) std::filesystem::remove(ProjectPosix());
    size_t before = Events().size();
    CRecordingProjList dialog(L"", &owner);
    EXPECT_EQ(Show(dialog, {Click(IDOK), Click(IDCANCEL)}), IDCANCEL);
    EXPECT_TRUE(dialog.rows.empty());
    EXPECT_EQ(
        EventsSince(before),
        (std::vector<std::wstring>{L"[box none] プロジェクトは存在しません。 → OK",
                                   L"[dialog 203 プロジェクト一覧]", L"[end dialog 203 IDCANCEL]"}))
        << remove_folder;
  }
  ExpectAllStepsTaken();
}

TEST_F(ProjectListTest, HeaderClicksShareOneDirectionAndCompareUtf16CodeUnits) {
  AddProject(L"b工区", L"2016/04/03 10:00:00");
  AddProject(L"A棟", L"2016/04/01 09:30:00");
  AddProject(L"Ｚ", L"2016/02/01 00:00:00");
  AddProject(L"\U0001F4C1", L"2016/03/01 00:00:00");  // a surrogate pair in UTF-16
  AddProject(L"c.2", L"2015/12/24 18:00:00");
  CRecordingProjList first(L"", &owner);
  Show(first, {Header(IDC_LIST_PROJECTS, 1)});  // the first click: newest first
  EXPECT_EQ(NamesOnly(first.rows), Names({L"b工区", L"A棟", L"\U0001F4C1", L"Ｚ", L"c.2"}));
  CRecordingProjList second(L"", &owner);
  Show(second, {Header(IDC_LIST_PROJECTS, 1), Header(IDC_LIST_PROJECTS, 0)});
  // The second click, on another column, sorts ascending: ordinal, upper case before lower,
  // U+D83D.. before U+FF3A.
  EXPECT_EQ(NamesOnly(second.rows), Names({L"A棟", L"b工区", L"c.2", L"\U0001F4C1", L"Ｚ"}));
}

// Every column, both ways, with an empty text and texts that are prefixes of others: the empty
// text is the smallest, a prefix sorts before the longer text, and rows move whole.
TEST_F(ProjectListTest, EachColumnSortsBothWaysWithEmptyTextsAndPrefixes) {
  // In file-system order: ".tpr" is the project without a name; "c" comes before "_" there (upper
  // case C is 0x43) and after it in code units (0x63 > 0x5F).
  const std::vector<ListRow> projects = {
      {L"", L"2016/04/01 09:30:00", L"2016/04/02"},
      {L"A", L"", L"2016/04/02 17:05:12"},
      {L"AB", L"2016/04/01", L""},
      {L"c", L"2015/12/24 18:00:00", L"2016/05/01 08:00:00"},
      {L"_", L"2016/04/01 09:30:01", L"2016/04/02 17:05"},
  };
  for (const ListRow& p : projects) AddProject(p.name, p.created, p.updated);
  auto in_order = [&](std::vector<std::wstring> names) {
    std::vector<ListRow> rows;
    for (const auto& n : names) {
      for (const ListRow& p : projects) {
        if (p.name == n) rows.push_back(p);
      }
    }
    return rows;
  };
  struct Case {
    int column;
    std::vector<std::wstring> ascending;  // project names in the order the column sorts them
  };
  const Case cases[] = {
      {0, {L"", L"A", L"AB", L"_", L"c"}},
      {1, {L"A", L"c", L"AB", L"", L"_"}},
      {2, {L"AB", L"", L"_", L"A", L"c"}},
  };
  CRecordingProjList unsorted(L"", &owner);
  Show(unsorted, {});
  ASSERT_EQ(unsorted.rows, in_order({L"", L"A", L"AB", L"c", L"_"}));
  for (const Case& c : cases) {
    CRecordingProjList down(L"", &owner);
    Show(down, {Header(IDC_LIST_PROJECTS, c.column)});
    std::vector<std::wstring> descending(c.ascending.rbegin(), c.ascending.rend());
    EXPECT_EQ(down.rows, in_order(descending)) << "column " << c.column;
    CRecordingProjList up(L"", &owner);
    Show(up, {Header(IDC_LIST_PROJECTS, c.column), Header(IDC_LIST_PROJECTS, c.column)});
    EXPECT_EQ(up.rows, in_order(c.ascending)) << "column " << c.column;
  }
  ExpectAllStepsTaken();
}

TEST_F(ProjectListTest, OkAndMessage3400ChooseOnlyWithExactlyOneRowSelected) {
  AddFour();
  CRecordingProjList none(L"", &owner);
  EXPECT_EQ(
      Show(none, {Click(IDOK), Rows(IDC_LIST_PROJECTS, {0, 3}), Click(IDOK), Click(IDCANCEL)}),
      IDCANCEL);
  EXPECT_EQ(none.SelectedProject(), L"");
  CRecordingProjList one(L"", &owner);
  EXPECT_EQ(Show(one, {Rows(IDC_LIST_PROJECTS, {2}), Click(IDOK)}), IDOK);
  EXPECT_EQ(one.SelectedProject(), L"a3");
  // 0x3400 after each change of a row: with rows 0 and 1 selected it does nothing, with row 1
  // alone it chooses.
  CRecordingProjList posted(L"", &owner);
  posted.choose_on_change = true;
  EXPECT_EQ(Show(posted, {Rows(IDC_LIST_PROJECTS, {0, 1}), Rows(IDC_LIST_PROJECTS, {1})}), IDOK);
  EXPECT_EQ(posted.SelectedProject(), L"a2");
  ExpectAllStepsTaken();
}

TEST_F(ProjectListTest, ACopyGetsAnEmptyUpdateDateAndTheListIsReadAgain) {
  AddProject(L"A棟", L"2016/04/01 09:30:00", L"2016/04/02 17:05:12");
  AddProject(L"b工区", L"2016/04/03 10:00:00");
  const size_t before = Events().size();
  std::string expected = Read(L"A棟.tpr");
  const std::string stamp = "UPDATEDATE=2016/04/02 17:05:12";
  expected.replace(expected.find(stamp), stamp.size(), "UPDATEDATE=");
  CRecordingProjList dialog(L"", &owner);
  // Sorted descending by name first: A棟 is row 1; the copy brings back file-system order.
  Show(dialog, {Header(IDC_LIST_PROJECTS, 0), Rows(IDC_LIST_PROJECTS, {1}), Click(IDC_LIST_COPY),
                Type(IDC_NAME_EDIT, L"A棟の写し"), Click(IDOK), Click(IDCANCEL)});
  EXPECT_EQ(Read(L"A棟の写し.tpr"), expected);
  EXPECT_EQ(dialog.rows,
            (std::vector<ListRow>{{L"A棟", L"2016/04/01 09:30:00", L"2016/04/02 17:05:12"},
                                  {L"A棟の写し", L"2016/04/01 09:30:00", L""},
                                  {L"b工区", L"2016/04/03 10:00:00", L""}}));
  EXPECT_EQ(EventsSince(before).at(1), L"[dialog 202 プロジェクトのコピー]");
  ExpectAllStepsTaken();
}

TEST_F(ProjectListTest, ATakenNameIsAskedForAgainWithTheTypedNameUntilCancelled) {
  AddProject(L"A棟", L"2016/04/01 09:30:00");
  AddProject(L"b工区", L"2016/04/03 10:00:00");
  const auto disk = Disk();
  const size_t before = Events().size();
  CRecordingProjList dialog(L"", &owner);
  // "B工区" names b工区.tpr, as Windows matches file names. OK alone repeats the kept name.
  Show(dialog, {Rows(IDC_LIST_PROJECTS, {0}), Click(IDC_LIST_COPY), Type(IDC_NAME_EDIT, L"B工区"),
                Click(IDOK), Click(IDOK), Click(IDCANCEL), Click(IDCANCEL)});
  const std::wstring taken = L"[box stop] 同名のプロジェクトが既に存在します。 → OK";
  const std::wstring ask = L"[dialog 202 プロジェクトのコピー]";
  EXPECT_EQ(
      EventsSince(before),
      (std::vector<std::wstring>{L"[dialog 203 プロジェクト一覧]", ask, L"[end dialog 202 IDOK]",
                                 taken, ask, L"[end dialog 202 IDOK]", taken, ask,
                                 L"[end dialog 202 IDCANCEL]", L"[end dialog 203 IDCANCEL]"}));
  EXPECT_EQ(Disk(), disk);
  ExpectAllStepsTaken();
}

TEST_F(ProjectListTest, CopyNeedsExactlyOneSelectedRowWithAName) {
  AddFour();
  AddProject(L"", L"2016/04/01 09:30:00");  // ".tpr": listed first, without a name
  const auto disk = Disk();
  CRecordingProjList dialog(L"", &owner);
  Show(dialog, {Click(IDC_LIST_COPY), Rows(IDC_LIST_PROJECTS, {1, 2}), Click(IDC_LIST_COPY),
                Rows(IDC_LIST_PROJECTS, {0}), Click(IDC_LIST_COPY), Click(IDCANCEL)});
  ASSERT_EQ(dialog.rows.at(0).name, L"");
  for (const auto& e : Events()) EXPECT_FALSE(e.starts_with(L"[dialog 202")) << e;
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Disk(), disk);
  ExpectAllStepsTaken();
}

TEST_F(ProjectListTest, AFailedCopyShowsTheWindowsCodeAndChangesNothing) {
  AddProject(L"A棟", L"2016/04/01 09:30:00");
  platform::DiskFileSystem disk_fs;
  platform::FaultInjectingFileSystem faulty(&disk_fs);
  faulty.FailEvery(platform::FileOp::kCopy, ERROR_DISK_FULL);
  platform::ScopedFileSystem scoped(&faulty);
  const auto disk = Disk();
  CRecordingProjList dialog(L"", &owner);
  Show(dialog, {Rows(IDC_LIST_PROJECTS, {0}), Click(IDC_LIST_COPY), Type(IDC_NAME_EDIT, L"新"),
                Click(IDOK), Click(IDCANCEL)});
  EXPECT_EQ(Boxes(), (std::vector<std::wstring>{
                         L"[box stop] プロジェクトのコピーに失敗しました(コード = 112) → OK"}));
  EXPECT_EQ(Disk(), disk);
  EXPECT_EQ(NamesOnly(dialog.rows), Names({L"A棟"}));
}

TEST_F(ProjectListTest, ANameThatIsNoFileNameOfTheFolderCreatesNoFileAnywhere) {
  AddProject(L"A棟", L"2016/04/01 09:30:00");
  std::filesystem::create_directory(ProjectPosix(L"sub"));
  const auto disk = Disk();
  for (const wchar_t* name : {L"..\\外", L"sub\\x", L"a/b", L"*", L"CON", L"a:b"}) {
    size_t before = Boxes().size();
    CRecordingProjList dialog(L"", &owner);
    Show(dialog, {Rows(IDC_LIST_PROJECTS, {0}), Click(IDC_LIST_COPY), Type(IDC_NAME_EDIT, name),
                  Click(IDOK), Click(IDCANCEL)});
    ASSERT_EQ(Boxes().size(), before + 1) << platform::WideToUtf8(name);
    EXPECT_EQ(Boxes().back(), L"[box stop] プロジェクトのコピーに失敗しました(コード = 123) → OK");
    EXPECT_EQ(Disk(), disk) << platform::WideToUtf8(name);
  }
  ExpectAllStepsTaken();
}

TEST_F(ProjectListTest, DeleteRemovesExactlyTheSelectedProjectsAfterTheQuestion) {
  AddFour();
  CRecordingProjList declined(L"", &owner);
  Show(declined,
       {Rows(IDC_LIST_PROJECTS, {0, 2}), Click(IDC_LIST_DELETE), Answer(L"no"), Click(IDCANCEL)});
  EXPECT_EQ(ProjectFiles(),
            (std::vector<std::wstring>{L"a1.tpr", L"a2.tpr", L"a3.tpr", L"a4.tpr"}));
  CRecordingProjList dialog(L"", &owner);
  Show(dialog,
       {Rows(IDC_LIST_PROJECTS, {0, 2}), Click(IDC_LIST_DELETE), Answer(L"yes"), Click(IDCANCEL)});
  // Removing row 0 moves a3 to row 1 and a4 to row 2: a4 must survive.
  EXPECT_EQ(ProjectFiles(), (std::vector<std::wstring>{L"a2.tpr", L"a4.tpr"}));
  EXPECT_EQ(NamesOnly(dialog.rows), Names({L"a2", L"a4"}));
  const std::wstring question = L"[box question] 選択されたプロジェクトを削除してよろしいですか？";
  EXPECT_EQ(Boxes(), (std::vector<std::wstring>{question + L" → No", question + L" → Yes"}));
  ExpectAllStepsTaken();
}

TEST_F(ProjectListTest, TheCurrentProjectIsAskedAboutTwiceAndNoSkipsOnlyIt) {
  AddFour();
  CRecordingProjList dialog(L"a2", &owner);
  Show(dialog, {Rows(IDC_LIST_PROJECTS, {1, 2, 3}), Click(IDC_LIST_DELETE), Answer(L"yes"),
                Answer(L"no"), Click(IDCANCEL)});
  EXPECT_EQ(ProjectFiles(), (std::vector<std::wstring>{L"a1.tpr", L"a2.tpr"}));
  EXPECT_EQ(NamesOnly(dialog.rows), Names({L"a1", L"a2"}));
  EXPECT_EQ(Boxes().back(),
            L"[box question] [a2]は現在表示中のプロジェクトです。\n本当に削除しますか？ → No");
  ExpectAllStepsTaken();
}

// The order in which the selected rows are processed is not fixed; with No, which of a1 and a3
// went before the failure depends on it, so only what holds for any order is checked.
TEST_F(ProjectListTest, AFailedDeleteAsksWhetherToGoOnAndKeepsItsRow) {
  for (bool go_on : {true, false}) {
    AddFour();
    platform::DiskFileSystem disk_fs;
    platform::FaultInjectingFileSystem faulty(&disk_fs);
    faulty.AddFault({platform::FileOp::kDelete, 0, ERROR_SHARING_VIOLATION, "a2.tpr"});
    platform::ScopedFileSystem scoped(&faulty);
    const auto disk = Disk();
    CRecordingProjList dialog(L"", &owner);
    Show(dialog, {Rows(IDC_LIST_PROJECTS, {0, 1, 2}), Click(IDC_LIST_DELETE), Answer(L"yes"),
                  Answer(go_on ? L"yes" : L"no"), Click(IDCANCEL)});
    EXPECT_EQ(Boxes().back(),
              std::wstring(L"[box stop] ファイルの削除に失敗しました(32)。処理を続けますか？ → ") +
                  (go_on ? L"Yes" : L"No"));
    // What is left: a2 and the unselected a4 always, a1 and a3 never after Yes; the files left
    // are byte for byte what they were, and the list shows exactly them.
    const auto files = ProjectFiles();
    auto has = [&](const wchar_t* f) {
      return std::find(files.begin(), files.end(), f) != files.end();
    };
    EXPECT_TRUE(has(L"a2.tpr") && has(L"a4.tpr")) << go_on;
    if (go_on) {
      EXPECT_EQ(files, (std::vector<std::wstring>{L"a2.tpr", L"a4.tpr"}));
    }
    std::vector<ListRow> expected_rows;
    for (const auto& f : files) {
      const std::string path = ProjectPosix(f);
      EXPECT_EQ(Disk().at(path), disk.at(path)) << platform::WideToUtf8(f);
      expected_rows.push_back({f.substr(0, f.size() - 4), L"", L""});
    }
    EXPECT_EQ(NamesOnly(dialog.rows), expected_rows) << go_on;
    ExpectAllStepsTaken();
    for (const auto& f : ProjectFiles()) std::filesystem::remove(ProjectPosix(f));
  }
}

TEST_F(ProjectListTest, TheNameDialogComesFromHarnexWhateverResourcesAreCurrent) {
  // Another module is current and has a template 202 of its own (but no 203).
  HMODULE other = platform::RegisterModule(L"Other.arx", {});
  platform::SetModuleResourceScript(other,
                                    "202 DIALOG 0, 0, 100, 40\nCAPTION \"よその名前\"\nBEGIN\n"
                                    "  EDITTEXT 999, 1, 1, 50, 12\nEND\n");
  AfxSetResourceHandle(other);
  AddProject(L"A棟", L"2016/04/01 09:30:00");
  const size_t before = Events().size();
  CRecordingProjList dialog(L"", &owner);
  Queue({Rows(IDC_LIST_PROJECTS, {0}), Click(IDC_LIST_COPY), Type(IDC_NAME_EDIT, L"写し"),
         Click(IDOK), Click(IDCANCEL)});
  dialog.DoModal();
  EXPECT_EQ(EventsSince(before).at(1), L"[dialog 202 プロジェクトのコピー]");
  EXPECT_EQ(ProjectFiles(), (std::vector<std::wstring>{L"A棟.tpr", L"写し.tpr"}));
  EXPECT_EQ(AfxGetResourceHandle(), other);
  ExpectAllStepsTaken();
  AfxSetResourceHandle(nullptr);
  platform::UnregisterModule(other);
}

}  // namespace
}  // namespace dialogs_test
