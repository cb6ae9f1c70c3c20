// The pattern import dialog: the list it makes and where it opens, the project and pattern boxes,
// the rows it reads (on-rack marks, the all-empty row that ends them, duplicated names, no limit
// of 100), what "取込" hands over, Enter as Cancel, and project files in every encoding, broken or
// missing.
#include "dialogs/pattern_import_dialog.h"

#include <afxcmn.h>

#include <filesystem>
#include <fstream>

#include "dialogs/harnex_resource_scope.h"
#include "dialogs_support.h"
#include "platform/win/file_system.h"
#include "resources/resource.h"
#include "platform/win/text_encoding.h"
#include "platform/mfc/window_system.h"

namespace dialogs_test {
namespace {

using namespace host::steps;
using Strings = std::vector<std::wstring>;
using Table = std::vector<Strings>;

// Records the boxes and the list as they were when the dialog ended.
class CRecordingInsDataDlg : public CInsDataDlg {
 public:
  using CInsDataDlg::CInsDataDlg;
  Strings projects, patterns;
  std::wstring project, pattern;  // the texts chosen in the boxes
  Table rows;                     // every list row, eight texts
  std::vector<int> selected;
  CRect rect;
  std::string overlaps;
  platform::mfc::WindowRecord list;  // the list view's styles, place and columns (no items)
  HWND focus = nullptr;

 protected:
  void OnOK() override {
    Record();
    CInsDataDlg::OnOK();
  }
  void OnCancel() override {
    Record();
    CInsDataDlg::OnCancel();
  }

 private:
  static void BoxOf(HWND box, Strings& items, std::wstring& chosen) {
    const auto* r = platform::mfc::FindWindowRecord(box);
    for (const auto& item : r->items) items.push_back(item.text);
    if (r->cur_sel >= 0) chosen = r->items[r->cur_sel].text;
  }
  void Record() {
    focus = ::GetFocus();
    BoxOf(::GetDlgItem(m_hWnd, IDC_IMPORT_PROJECT), projects, project);
    BoxOf(::GetDlgItem(m_hWnd, IDC_IMPORT_PATTERN), patterns, pattern);
    GetWindowRect(&rect);
    overlaps = OverlappingControls(m_hWnd);
    const auto* r = platform::mfc::FindWindowRecord(::GetDlgItem(m_hWnd, IDC_IMPORT_LIST));
    if (r == nullptr) return;
    for (size_t i = 0; i < r->items.size(); ++i) {
      Strings row{r->items[i].text};
      for (const auto& text : r->items[i].subitems) row.push_back(text);
      row.resize(8);
      rows.push_back(row);
      if (r->items[i].state & LVIS_SELECTED) selected.push_back(static_cast<int>(i));
    }
    list.class_name = r->class_name;
    list.style = r->style;
    list.ex_style = r->ex_style;
    list.lv_ex_style = r->lv_ex_style;
    list.rect = r->rect;
    list.columns = r->columns;
  }
};

// One row of a project file: the nine values in file order.
struct StoredRow {
  std::wstring kouji, keitou, ban, hsize1, hsize2, hsize3, hsize4, onrack, memo;
};

class PatternImportTest : public DialogSessionTest {
 protected:
  // Runs the dialog against `steps`; the handed-over rows end up in `handed`, released after.
  INT_PTR Show(CRecordingInsDataDlg& dialog, std::vector<host::ScriptStep> steps) {
    Queue(std::move(steps));
    INT_PTR result;
    {
      HarnexResourceScope resources;
      result = dialog.DoModal();
    }
    handed.clear();
    for (INT_PTR i = 0; i < dialog.GetRowCount(); ++i) {
      const CStringArray* row = dialog.GetRow(i);
      Strings texts;
      for (INT_PTR k = 0; k < row->GetSize(); ++k) texts.push_back(row->GetAt(k).GetString());
      handed.push_back(texts);
    }
    dialog.ClearRows();
    EXPECT_EQ(dialog.GetRowCount(), 0);
    return result;
  }

  // Writes a project file of the given lines (CRLF) in `encoding`, as another program would.
  void WriteFile(const std::wstring& name, const Strings& lines,
                 platform::TextEncoding encoding = platform::TextEncoding::kCp932) {
    std::wstring text;
    for (const auto& line : lines) text += line + L"\r\n";
    std::ofstream out(ProjectPosix(name + L".tpr"), std::ios::binary);
    out << platform::EncodeText(text, encoding);
  }
  // The lines of one pattern section with these rows, numbered from 1.
  static Strings Section(int number, const std::vector<StoredRow>& rows) {
    Strings lines = {L"[PATTERN-00" + std::to_wstring(number) + L"]", L"TYPE=一般", L"PIPESEL=1"};
    for (size_t i = 0; i < rows.size(); ++i) {
      wchar_t n[8];
      swprintf(n, 8, L"%03d", static_cast<int>(i + 1));
      const StoredRow& r = rows[i];
      for (const auto& [key, value] : {std::pair{L"KOUJI-", r.kouji},
                                       {L"KEITOU-", r.keitou},
                                       {L"BAN-", r.ban},
                                       {L"HSIZE1-", r.hsize1},
                                       {L"HSIZE2-", r.hsize2},
                                       {L"HSIZE3-", r.hsize3},
                                       {L"HSIZE4-", r.hsize4},
                                       {L"ONRACK-", r.onrack},
                                       {L"MEMO-", r.memo}}) {
        lines.push_back(std::wstring(key) + n + L"=" + value);
      }
    }
    return lines;
  }
  static Strings Join(std::initializer_list<Strings> parts) {
    Strings all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  }
  static Strings ProjectLines(const Strings& patterns) {
    Strings lines = {L"[PROJECT]", L"NAME=x"};
    for (size_t i = 0; i < patterns.size(); ++i) {
      lines.push_back(L"PATTERN-00" + std::to_wstring(i + 1) + L"=" + patterns[i]);
    }
    return lines;
  }

  // Two rows of a lighting pattern and what the list and "取込" give for them.
  const std::vector<StoredRow> lighting = {
      {L"電灯", L"1L-2", L"L-1", L"VVF1.6-3C", L"(PF16)", L"", L"(FEP30)", L"0", L""},
      {L"コンセント", L"1L-3", L"L-2", L"VVF2.0-3C", L"(PF22)", L"(E25)", L"", L"1", L"OA用"}};
  const Table lightingShown = {
      {L"電灯", L"1L-2", L"L-1", L"VVF1.6-3C", L"(PF16)", L"", L"", L""},
      {L"コンセント", L"1L-3", L"L-2", L"VVF2.0-3C", L"(PF22)", L"(E25)", L"○", L"OA用"}};
  const std::vector<StoredRow> power = {
      {L"動力", L"1P-2", L"AC-1", L"CVV1.25sq", L"", L"(E31)", L"", L"0", L""},
      {L"動力", L"1P-3", L"AC-2", L"CVV2sq", L"", L"", L"", L"0", L"屋上"},
      {L"動力", L"1P-4", L"AC-3", L"CVV3.5sq", L"(GP22)", L"", L"(FEP40)", L"1", L""}};
  const Table powerShown = {{L"動力", L"1P-2", L"AC-1", L"CVV1.25sq", L"", L"(E31)", L"", L""},
                            {L"動力", L"1P-3", L"AC-2", L"CVV2sq", L"", L"", L"", L"屋上"},
                            {L"動力", L"1P-4", L"AC-3", L"CVV3.5sq", L"(GP22)", L"", L"○", L""}};

  Table handed;
};

TEST_F(PatternImportTest, MakesItsListAtInitialisationAndCentresOnThePalette) {
  const size_t before = Events().size();
  CRecordingInsDataDlg dialog(&owner);
  EXPECT_EQ(Show(dialog, {Click(IDCANCEL)}), IDCANCEL);
  EXPECT_EQ(dialog.list.class_name, L"SysListView32");
  EXPECT_EQ(dialog.list.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                                                  LVS_SHOWSELALWAYS));
  EXPECT_EQ(dialog.list.ex_style,
            static_cast<DWORD>(WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
  EXPECT_EQ(dialog.list.lv_ex_style, static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
  EXPECT_EQ(CRect(dialog.list.rect), CRect(10, 10, 740, 186));
  const std::tuple<const wchar_t*, int, int> columns[] = {
      {L"工事項目", LVCFMT_LEFT, 138},    {L"系統番号", LVCFMT_LEFT, 70},
      {L"盤/負荷名称", LVCFMT_LEFT, 120}, {L"配線ｻｲｽﾞ", LVCFMT_LEFT, 100},
      {L"屋内", LVCFMT_LEFT, 60},         {L"屋外", LVCFMT_LEFT, 60},
      {L"ﾗｯｸ上", LVCFMT_CENTER, 44},      {L"備考", LVCFMT_LEFT, 116}};
  ASSERT_EQ(dialog.list.columns.size(), std::size(columns));
  for (size_t i = 0; i < std::size(columns); ++i) {
    EXPECT_EQ(dialog.list.columns[i].text, std::get<0>(columns[i])) << i;
    EXPECT_EQ(dialog.list.columns[i].format, std::get<1>(columns[i])) << i;
    EXPECT_EQ(dialog.list.columns[i].width, std::get<2>(columns[i])) << i;
  }
  EXPECT_EQ(dialog.overlaps, "");  // the list stands above the labels, boxes and buttons
  // 431 x 157 dialog units at 6 x 12 pixels per 4 x 8 units, its centre on the owner's
  // (130, 70)-(930, 670): each half truncated.
  EXPECT_EQ(dialog.rect.Width(), 647);   // 646.5 rounded
  EXPECT_EQ(dialog.rect.Height(), 236);  // 235.5 rounded
  EXPECT_EQ(dialog.rect.left, 130 + 800 / 2 - dialog.rect.Width() / 2);
  EXPECT_EQ(dialog.rect.top, 70 + 600 / 2 - dialog.rect.Height() / 2);
  EXPECT_EQ(EventsSince(before),
            (Strings{L"[dialog 204 パターンデータの取込み]", L"[end dialog 204 IDCANCEL]"}));
}

TEST_F(PatternImportTest, BoxesListProjectsInFileSystemOrderAndPatternsInStoredOrder) {
  WriteFile(L"b工区",
            Join({ProjectLines({L"動力", L"照明"}), Section(1, power), Section(2, lighting)}));
  WriteFile(L"A棟", Join({ProjectLines({L"照明"}), Section(1, lighting)}));
  WriteFile(L"c.2", Join({ProjectLines({L"空"})}));
  std::filesystem::create_directory(ProjectPosix(L"古い.tpr"));  // a folder is no project
  CRecordingInsDataDlg opened(&owner);
  Show(opened, {Click(IDCANCEL)});
  EXPECT_EQ(opened.projects, (Strings{L"A棟", L"b工区", L"c.2"}));
  EXPECT_EQ(opened.project, L"A棟");
  EXPECT_EQ(opened.patterns, Strings{L"照明"});
  EXPECT_EQ(opened.rows, lightingShown);

  // Another project: its first pattern is chosen and shown; then its second.
  CRecordingInsDataDlg chosen(&owner);
  Show(chosen, {Choose(IDC_IMPORT_PROJECT, L"b工区"), Click(IDCANCEL)});
  EXPECT_EQ(chosen.patterns, (Strings{L"動力", L"照明"}));
  EXPECT_EQ(chosen.pattern, L"動力");
  EXPECT_EQ(chosen.rows, powerShown);
  CRecordingInsDataDlg second(&owner);
  Show(second, {Choose(IDC_IMPORT_PROJECT, L"b工区"), Choose(IDC_IMPORT_PATTERN, L"照明"),
                Click(IDCANCEL)});
  EXPECT_EQ(second.rows, lightingShown);
  EXPECT_TRUE(handed.empty());  // Cancel hands over nothing
  EXPECT_TRUE(Boxes().empty());
  ExpectAllStepsTaken();
}

TEST_F(PatternImportTest, ImportHandsOverTheSelectedRowsOrAllWithoutTheUndergroundSize) {
  WriteFile(L"b工区", Join({ProjectLines({L"動力"}), Section(1, power)}));
  // None selected: every row, in list order, eight texts each.
  CRecordingInsDataDlg all(&owner);
  EXPECT_EQ(Show(all, {Click(IDOK)}), IDOK);
  EXPECT_EQ(handed, powerShown);
  // Rows 0 and 2 selected: only those; the underground sizes "(FEP40)" go nowhere.
  CRecordingInsDataDlg some(&owner);
  EXPECT_EQ(Show(some, {Rows(IDC_IMPORT_LIST, {2, 0}), Click(IDOK)}), IDOK);
  EXPECT_EQ(some.selected, (std::vector<int>{0, 2}));
  EXPECT_EQ(handed, (Table{powerShown[0], powerShown[2]}));
  // One row selected, then the selection cleared again: all rows.
  CRecordingInsDataDlg cleared(&owner);
  Show(cleared, {Rows(IDC_IMPORT_LIST, {1}), Rows(IDC_IMPORT_LIST, {}), Click(IDOK)});
  EXPECT_EQ(handed, powerShown);
  ExpectAllStepsTaken();
}

TEST_F(PatternImportTest, EnterCancelsWhereverTheFocusIsAndHandsOverNothing) {
  WriteFile(L"A棟",
            Join({ProjectLines({L"照明", L"動力"}), Section(1, lighting), Section(2, power)}));
  const std::vector<std::vector<host::ScriptStep>> ways = {
      {Enter()},                                       // focus where the dialog put it
      {Choose(IDC_IMPORT_PATTERN, L"動力"), Enter()},  // in the pattern box
      {Choose(IDC_IMPORT_PROJECT, L"A棟"), Enter()},   // in the project box
      {Rows(IDC_IMPORT_LIST, {1}), Enter()},           // in the list, a row selected
  };
  for (size_t i = 0; i < ways.size(); ++i) {
    const size_t before = Events().size();
    CRecordingInsDataDlg dialog(&owner);
    EXPECT_EQ(Show(dialog, ways[i]), IDCANCEL) << i;
    EXPECT_TRUE(handed.empty()) << i;
    EXPECT_EQ(EventsSince(before).back(), L"[end dialog 204 IDCANCEL]") << i;
  }
  ExpectAllStepsTaken();
}

TEST_F(PatternImportTest, OnlyAStoredOneMarksARowAsOnTheRack) {
  std::vector<StoredRow> rows;
  const Strings values = {L"1", L"0", L"", L"2", L"-1", L"11", L"x", L"1x"};
  for (const auto& v : values) rows.push_back({L"電灯", L"R" + v, L"", L"", L"", L"", L"", v, L""});
  WriteFile(L"A棟", Join({ProjectLines({L"照明"}), Section(1, rows)}));
  CRecordingInsDataDlg dialog(&owner);
  Show(dialog, {Click(IDOK)});
  ASSERT_EQ(handed.size(), values.size());
  // The integer value counts, as the palette reads ONRACK: "1x" reads as 1.
  const Strings marks = {L"○", L"", L"", L"", L"", L"", L"", L"○"};
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(dialog.rows[i][6], marks[i]) << "ONRACK=" << platform::WideToUtf8(values[i]);
    EXPECT_EQ(handed[i][6], marks[i]) << "ONRACK=" << platform::WideToUtf8(values[i]);
  }
}

TEST_F(PatternImportTest, TheFirstRowWithoutAnyOfTheEightValuesEndsTheList) {
  // Row 3 has its keys but no values; row 4 follows it.
  std::vector<StoredRow> rows = power;
  rows.insert(rows.begin() + 2, StoredRow{});
  WriteFile(L"A棟", Join({ProjectLines({L"動力"}), Section(1, rows)}));
  CRecordingInsDataDlg gap(&owner);
  Show(gap, {Click(IDOK)});
  EXPECT_EQ(gap.rows, (Table{powerShown[0], powerShown[1]}));
  EXPECT_EQ(handed, gap.rows);

  // The underground size is not one of the eight: a row holding only that ends the list too.
  rows = power;
  rows[1] = {L"", L"", L"", L"", L"", L"", L"(FEP30)", L"", L""};
  WriteFile(L"A棟", Join({ProjectLines({L"動力"}), Section(1, rows)}));
  CRecordingInsDataDlg buried(&owner);
  Show(buried, {Click(IDOK)});
  EXPECT_EQ(buried.rows, Table{powerShown[0]});

  // A stored "0" on the rack is a value: that row is listed, blank. And 150 rows are all read,
  // past the palette's 100.
  std::vector<StoredRow> many;
  many.push_back({L"", L"", L"", L"", L"", L"", L"", L"0", L""});
  for (int i = 2; i <= 150; ++i)
    many.push_back({L"", L"R" + std::to_wstring(i), L"", L"", L"", L"", L"", L"", L""});
  WriteFile(L"A棟", Join({ProjectLines({L"長い"}), Section(1, many)}));
  CRecordingInsDataDlg lots(&owner);
  Show(lots, {Click(IDOK)});
  ASSERT_EQ(lots.rows.size(), 150u);
  EXPECT_EQ(lots.rows[0], Strings(8));
  EXPECT_EQ(lots.rows[1][1], L"R2");
  EXPECT_EQ(lots.rows[149][1], L"R150");
  EXPECT_EQ(handed, lots.rows);
}

TEST_F(PatternImportTest, ANameStoredTwiceShowsTheLowerNumberAndNamesMatchExactly) {
  WriteFile(L"A棟", Join({ProjectLines({L"動力", L"照明", L"動力", L"AB", L"ab"}),
                          Section(1, power), Section(2, lighting), Section(3, lighting),
                          Section(4, {lighting[0]}), Section(5, {power[1]})}));
  CRecordingInsDataDlg dialog(&owner);
  Show(dialog,
       {Choose(IDC_IMPORT_PATTERN, L"照明"), Choose(IDC_IMPORT_PATTERN, L"動力"), Click(IDOK)});
  EXPECT_EQ(dialog.patterns, (Strings{L"動力", L"照明", L"動力", L"AB", L"ab"}));
  EXPECT_EQ(dialog.rows, powerShown);  // PATTERN-001's rows, not PATTERN-003's
  EXPECT_EQ(handed, powerShown);
  // "ab" is found as itself, not as the "AB" stored before it.
  CRecordingInsDataDlg lower(&owner);
  Show(lower, {Choose(IDC_IMPORT_PATTERN, L"ab"), Click(IDCANCEL)});
  EXPECT_EQ(lower.pattern, L"ab");
  EXPECT_EQ(lower.rows, Table{powerShown[1]});
}

TEST_F(PatternImportTest, AProjectWithoutPatternsEmptiesThePatternBoxAndTheList) {
  WriteFile(L"A棟", Join({ProjectLines({L"照明"}), Section(1, lighting)}));
  WriteFile(L"B棟", Join({ProjectLines({}), Section(1, power)}));  // rows, but no PATTERN-001
  CRecordingInsDataDlg dialog(&owner);
  EXPECT_EQ(
      Show(dialog, {Rows(IDC_IMPORT_LIST, {1}), Choose(IDC_IMPORT_PROJECT, L"B棟"), Click(IDOK)}),
      IDOK);
  EXPECT_EQ(dialog.project, L"B棟");
  EXPECT_TRUE(dialog.patterns.empty());
  EXPECT_TRUE(dialog.rows.empty());
  EXPECT_TRUE(handed.empty());  // not the lighting rows shown before
}

// A file named ".tpr" is a project without a name: listed first, and choosing it changes nothing.
TEST_F(PatternImportTest, AProjectWithoutANameIsListedButChoosingItChangesNothing) {
  WriteFile(L"", Join({ProjectLines({L"動力"}), Section(1, power)}));
  WriteFile(L"A棟", Join({ProjectLines({L"照明"}), Section(1, lighting)}));
  CRecordingInsDataDlg opened(&owner);
  Show(opened, {Click(IDOK)});
  EXPECT_EQ(opened.projects, (Strings{L"", L"A棟"}));
  EXPECT_EQ(opened.project, L"");
  EXPECT_TRUE(opened.patterns.empty());
  EXPECT_TRUE(handed.empty());
  CRecordingInsDataDlg back(&owner);
  Show(back, {Choose(IDC_IMPORT_PROJECT, L"A棟"), Choose(IDC_IMPORT_PROJECT, L""), Click(IDOK)});
  EXPECT_EQ(back.project, L"");
  EXPECT_EQ(back.patterns, Strings{L"照明"});
  EXPECT_EQ(handed, lightingShown);
  ExpectAllStepsTaken();
}

TEST_F(PatternImportTest, NoProjectsOrNoFolderLeaveEverythingEmptyWithoutAMessage) {
  for (bool remove_folder : {false, true}) {
    if (remove_folder) std::filesystem::remove(ProjectPosix());
    const size_t before = Events().size();
    CRecordingInsDataDlg dialog(&owner);
    EXPECT_EQ(Show(dialog, {Click(IDOK)}), IDOK) << remove_folder;
    EXPECT_TRUE(dialog.projects.empty());
    EXPECT_TRUE(dialog.patterns.empty());
    EXPECT_TRUE(dialog.rows.empty());
    EXPECT_TRUE(handed.empty());
    EXPECT_EQ(EventsSince(before),
              (Strings{L"[dialog 204 パターンデータの取込み]", L"[end dialog 204 IDOK]"}))
        << remove_folder;
  }
}

// The same project written by Windows in code page 932 and in UTF-16LE, and by this program's
// own profile functions, lists the same rows.
TEST_F(PatternImportTest, FilesInEveryEncodingImportAlike) {
  const Strings lines = Join({ProjectLines({L"照明・ｺﾝｾﾝﾄ"}), Section(1, lighting)});
  WriteFile(L"cp932", lines, platform::TextEncoding::kCp932);
  WriteFile(L"utf16", lines, platform::TextEncoding::kUtf16Le);
  const CString own = ProjectFolder() + L"\\自前.tpr";
  std::wstring section;
  for (const auto& line : lines) {
    if (line.starts_with(L"[")) {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    const size_t eq = line.find(L'=');
    WritePrivateProfileStringW(section.c_str(), line.substr(0, eq).c_str(),
                               line.substr(eq + 1).c_str(), own);
  }
  ASSERT_TRUE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, own));
  ASSERT_EQ(Read(L"cp932.tpr").substr(0, 9), "[PROJECT]");  // no BOM: code page 932
  ASSERT_EQ(Read(L"utf16.tpr").substr(0, 2), "\xFF\xFE");
  for (const wchar_t* project : {L"cp932", L"utf16", L"自前"}) {
    CRecordingInsDataDlg dialog(&owner);
    Show(dialog, {Choose(IDC_IMPORT_PROJECT, project), Click(IDOK)});
    EXPECT_EQ(dialog.patterns, Strings{L"照明・ｺﾝｾﾝﾄ"}) << platform::WideToUtf8(project);
    EXPECT_EQ(handed, lightingShown) << platform::WideToUtf8(project);
  }
  ExpectAllStepsTaken();
}

TEST_F(PatternImportTest, AFileThatCannotBeReadListsNothing) {
  WriteFile(L"A棟", Join({ProjectLines({L"照明"}), Section(1, lighting)}));
  WriteFile(L"壊れ", Join({ProjectLines({L"照明"}), Section(1, lighting)}));
  std::ofstream(ProjectPosix(L"がらくた.tpr"), std::ios::binary)
      << std::string("\xFF\xFE\x00\xD8[\x00\x00\x00=\xFF\xFF", 12);
  platform::DiskFileSystem disk;
  platform::FaultInjectingFileSystem failing(&disk);
  failing.AddFault({platform::FileOp::kRead, 0, ERROR_ACCESS_DENIED, "壊れ"});
  platform::ScopedFileSystem scoped(&failing);
  for (const wchar_t* project : {L"壊れ", L"がらくた"}) {
    CRecordingInsDataDlg dialog(&owner);
    EXPECT_EQ(Show(dialog, {Choose(IDC_IMPORT_PROJECT, project), Click(IDOK)}), IDOK);
    EXPECT_EQ(dialog.projects, (Strings{L"A棟", L"がらくた", L"壊れ"}));
    EXPECT_TRUE(dialog.patterns.empty()) << platform::WideToUtf8(project);
    EXPECT_TRUE(dialog.rows.empty()) << platform::WideToUtf8(project);
    EXPECT_TRUE(handed.empty()) << platform::WideToUtf8(project);
  }
  EXPECT_TRUE(Boxes().empty());
  ExpectAllStepsTaken();
}

}  // namespace
}  // namespace dialogs_test
