// The palette's command buttons and what the drawing commands read from it: commands queued by
// name after the handler, the checks before sending, the rows, codes and choices handed over,
// the list details, the note settings and the settings check window.
#include <gtest/gtest.h>

#include <VuRida.h>
#include <acdocman.h>
#include <acui.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/harnex_module.h"
#include "app/palette_access.h"
#include "attributes/check_dialog.h"
#include "palette/main_dialog.h"
#include "palette_test_support.h"
#include "resources/resource.h"
#include "platform/win/text_encoding.h"
#include "platform/mfc/window_system.h"

namespace palette_test {
namespace {

// The list command with rows to draw: its hidden placement window opens and the table's drag
// asks for the placement point (the script then ends, which cancels the drag).
constexpr wchar_t kListDragStart[] =
    L"[window 207 ﾀﾞｲｱﾛｸﾞ]\n\n配置点を指示 または Enterで矩形配置: ";

using Strings = std::vector<std::wstring>;

constexpr wchar_t kSample[] = L"サンプルビル";
constexpr wchar_t kNoRowChecked[] =
    L"[box information] 設定するデータをチェックボックスで選択して下さい。 → OK";

Strings ToStrings(const CStringArray& values) {
  Strings out;
  for (INT_PTR i = 0; i < values.GetSize(); ++i) out.push_back(values[i].GetString());
  return out;
}

std::vector<UINT> CheckedRows() {
  CUIntArray rows;
  rows.Add(77);  // whatever the caller's array held goes
  const int count = PaletteInstance->GetCheckedRows(rows);
  std::vector<UINT> out;
  for (INT_PTR i = 0; i < rows.GetSize(); ++i) out.push_back(rows[i]);
  EXPECT_EQ(count, static_cast<int>(out.size()));
  return out;
}

// Where the note settings dialog stood while it was open: a timer of the drawing window looks
// for it whenever the modal loop goes idle.
RECT note_dialog_rect{};
void CALLBACK RecordNoteDialog(HWND, UINT, UINT_PTR, DWORD) {
  for (HWND h : platform::mfc::AllWindows()) {
    const platform::mfc::WindowRecord* r = platform::mfc::FindWindowRecord(h);
    if (r && r->template_id == IDD_NOTE_SETTINGS) ::GetWindowRect(h, &note_dialog_rect);
  }
}

HWND Control(int id) {
  return ::GetDlgItem(PaletteInstance->m_hWnd, id);
}

class CommandButtonsTest : public PaletteSessionTest {
 protected:
  void StartOnSample() {
    SetLastProject(L"NAME", kSample);
    SetLastProject(L"PATTERN", L"受変電から分電盤");
    Start();
    ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
    ClearTranscript();
  }

  // The system folder in the POSIX form, where the master lists and settings file lie.
  std::string SystemFolder() const {
    std::wstring folder = ProjectFolder().GetString();
    std::replace(folder.begin(), folder.end(), L'\\', L'/');
    return platform::WideToUtf8(folder.substr(0, folder.rfind(L'/')));
  }
  void WriteFile(const std::string& relative, const std::wstring& text) const {
    std::ofstream out(SystemFolder() + "/" + relative, std::ios::binary | std::ios::trunc);
    out << platform::WideToUtf8(text);
  }

  // A project "試験" with one trunk pattern "幹線A" whose rows are given as nine values each
  // (the on-rack value "1" or "0"), restored when the palette opens.
  void StartOnRows(const std::vector<Strings>& rows) {
    const CString file = ProjectFile(L"試験");
    WritePrivateProfileStringW(L"PROJECT", L"NAME", L"試験", file);
    WritePrivateProfileStringW(L"PROJECT", L"PATTERN-001", L"幹線A", file);
    WritePrivateProfileStringW(L"PATTERN-001", L"TYPE", L"幹線", file);
    WritePrivateProfileStringW(L"PATTERN-001", L"PIPESEL", L"0", file);
    for (size_t r = 0; r < rows.size(); ++r) {
      for (int c = 0; c < kPatternColumns; ++c) {
        if (rows[r].empty()) continue;
        CString key;
        key.Format(L"%s-%03d", PatternColumnKey(static_cast<PatternColumn>(c)),
                   static_cast<int>(r + 1));
        WritePrivateProfileStringW(L"PATTERN-001", key, rows[r][c].c_str(), file);
      }
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file);
    SetLastProject(L"NAME", L"試験");
    SetLastProject(L"PATTERN", L"幹線A");
    Start();
    ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
    ASSERT_NE(Palette()->Project().Current(), nullptr);
    ClearTranscript();
  }
};

TEST_F(CommandButtonsTest, ButtonsQueueTheirCommandsToRunAfterTheHandlerInTheActivatedDrawing) {
  StartOnSample();
  ASSERT_EQ(Run(L"click 238\n"), 0) << StopReason();
  const std::wstring unknown = L"不明なコマンド \"%s\"。F1 キーを押すとヘルプを表示します。\n";
  struct Case {
    int button;
    const wchar_t* command;
    bool activates;
    bool known;
    const wchar_t* prompt;  // what the command asks first (the script's end cancels it)
  };
  const Case cases[] = {
      {IDC_AUTO_SET, L"RQ_HARNEX_AUTOSET", true, true, L"\n末端経路を選択:"},
      {IDC_MANUAL_SET, L"RQ_HARNEX_MANUALSET", true, true, L"\n配線経路を選択:"},
      {IDC_DRAW_LIST, L"RQ_HARNEX_LIST", true, true, kListDragStart},
      {IDC_EQUIPMENT_NO, L"RQ_EQUIPNUM", false, false, L""},
      {IDC_SPLIT_DUCT, L"RQ_SPLITDUCT", true, false, L""},
  };
  for (const Case& c : cases) {
    ClearTranscript();
    ASSERT_EQ(Run(L"click " + std::to_wstring(c.button) + L"\n"), 0) << StopReason();
    std::wstring expected = std::wstring(L"\nコマンド: ") + c.command + L"\n" + c.prompt;
    if (!c.known) {
      CString line;
      line.Format(unknown.c_str(), c.command);
      expected += line.GetString();
    }
    EXPECT_EQ(Transcript(), expected) << c.button;
    // The drawing window took the focus from the clicked button, except for RQ_EQUIPNUM.
    EXPECT_EQ(::GetFocus(), c.activates ? adsw_acadDocWnd() : Control(c.button)) << c.button;
  }

  // The handler only queues and posts: nothing has run when it returns; the next action's idle
  // runs the command in the activated drawing.
  ClearTranscript();
  ::SetFocus(Control(IDC_MANUAL_SET));
  Palette()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_MANUAL_SET, BN_CLICKED), 0);
  EXPECT_TRUE(platform::acad::HasQueuedInput());
  EXPECT_EQ(Transcript(), L"");
  EXPECT_EQ(::GetFocus(), Control(IDC_MANUAL_SET));
  ASSERT_EQ(Run(L"click 341\n"), 0) << StopReason();
  EXPECT_EQ(Transcript(), L"\nコマンド: RQ_HARNEX_MANUALSET\n\n配線経路を選択:");
  EXPECT_EQ(::GetFocus(), adsw_acadDocWnd());
}

TEST_F(CommandButtonsTest, AssignmentsNeedACheckedRowWithValuesAndTheListDoesNot) {
  StartOnSample();
  ASSERT_EQ(Run(L"click 387\nclick 336\n"), 0) << StopReason();
  EXPECT_EQ(Boxes(), (Strings{kNoRowChecked, kNoRowChecked}));
  EXPECT_EQ(Transcript().find(L"コマンド:"), std::wstring::npos);
  EXPECT_FALSE(platform::acad::HasQueuedInput());

  // A row of page 3 filled and checked: the command goes, and its row is the one handed over.
  ClearTranscript();
  ASSERT_EQ(Run(L"click 209\nclick 209\ntype 248 3L-1\nclick 238\nclick 336\n"), 0) << StopReason();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_NE(Transcript().find(L"\nコマンド: RQ_HARNEX_MANUALSET\n"), std::wstring::npos);
  EXPECT_EQ(CheckedRows(), std::vector<UINT>{20});

  // The same row emptied but left checked counts as nothing.
  ClearTranscript();
  ASSERT_EQ(Run(L"type 248 \"\"\nclick 336\n"), 0) << StopReason();
  EXPECT_TRUE(Palette()->Project().Current()->checked[20]);
  EXPECT_EQ(Boxes(), Strings{kNoRowChecked});
  EXPECT_EQ(Transcript().find(L"コマンド:"), std::wstring::npos);
  EXPECT_TRUE(CheckedRows().empty());

  // The list table goes with nothing checked.
  ClearTranscript();
  ASSERT_EQ(Run(L"click 344\n"), 0) << StopReason();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Transcript(), std::wstring(L"\nコマンド: RQ_HARNEX_LIST\n") + kListDragStart);
}

TEST_F(CommandButtonsTest, WithoutAPatternCommandsAreNotSentAndTheRowsAreEmpty) {
  Start();
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  ASSERT_EQ(Palette()->Project().Current(), nullptr);
  ClearTranscript();
  // The buttons are disabled; their handlers, called anyway, do nothing.
  for (int id : {IDC_AUTO_SET, IDC_MANUAL_SET, IDC_DRAW_LIST}) {
    EXPECT_FALSE(IsEnabled(id)) << id;
    Palette()->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    EXPECT_FALSE(platform::acad::HasQueuedInput()) << id;
  }
  EXPECT_EQ(Transcript(), L"");
  // The equipment numbering needs no project.
  EXPECT_TRUE(IsEnabled(IDC_EQUIPMENT_NO));
  ASSERT_EQ(Run(L"click 391\n"), 0) << StopReason();
  EXPECT_NE(Transcript().find(L"\nコマンド: RQ_EQUIPNUM\n"), std::wstring::npos);

  CStringArray values;
  values.Add(L"stale");
  EXPECT_FALSE(Palette()->GetRowData(0, values));
  EXPECT_EQ(values.GetSize(), 0);
  EXPECT_TRUE(CheckedRows().empty());
  int row = 42;
  EXPECT_FALSE(Palette()->FindCheckedRowByPanelName(L"P-1", row));
  EXPECT_EQ(row, 42);
  CPtrArray rows;
  rows.Add(new CStringArray);
  EXPECT_TRUE(Palette()->GetAllRowData(rows));
  EXPECT_EQ(rows.GetSize(), 0);
}

TEST_F(CommandButtonsTest, RowDataGivesNamesOrCodesAndTheOnRackMark) {
  // "共用" is in both lists and "ZZ" names an item in both.
  WriteFile("複数配線/幹線/工事項目.dat", L"DK|電灯幹線\nKY|共用\nZZ|幹線名\n");
  WriteFile("複数配線/一般/工事項目.dat", L"E1|電灯\nGK|共用\nZZ|一般名\n");
  StartOnRows({
      {L"電灯幹線", L"1L-1", L"P-1", L"CV22sq", L"(GP36)", L"(GP28)", L"(FEP50)", L"0", L"m0"},
      {L"共用", L"1L-2", L"P-2", L"CV14sq", L"", L"", L"", L"1", L""},
      {L"電灯", L"", L"", L"", L"", L"", L"", L"0", L""},
      {L"謎", L"", L"", L"", L"", L"", L"", L"0", L""},
      {L"", L"", L"", L"", L"", L"", L"", L"1", L""},
  });
  // A seventh row after the empty sixth (a project file has no gaps: typed in the palette).
  ASSERT_EQ(Run(L"type 254 6\n"), 0) << StopReason();
  Palette()->Editor().CollectPage();
  ASSERT_FALSE(Palette()->Project().Current()->IsRowEmpty(6));

  CPtrArray rows;
  rows.Add(new CStringArray);
  EXPECT_TRUE(Palette()->GetAllRowData(rows));
  ASSERT_EQ(rows.GetSize(), 5);  // up to the empty sixth row
  auto row = [&rows](int i) { return ToStrings(*static_cast<CStringArray*>(rows[i])); };
  EXPECT_EQ(row(0), (Strings{L"電灯幹線", L"1L-1", L"P-1", L"CV22sq", L"(GP36)", L"(GP28)",
                             L"(FEP50)", L"", L"m0"}));
  EXPECT_EQ(row(1), (Strings{L"共用", L"1L-2", L"P-2", L"CV14sq", L"", L"", L"", L"○", L""}));
  EXPECT_EQ(row(4), (Strings{L"", L"", L"", L"", L"", L"", L"", L"○", L""}));
  VuRida_RemoveAllFree(rows);

  // Codes: the pattern's own list first, a name in both lists gives the other list's code.
  struct Case {
    int row;
    const wchar_t* code;
  };
  for (const Case& c : {Case{0, L"DK"}, Case{1, L"GK"}, Case{2, L"E1"}, Case{3, L""}}) {
    CStringArray values;
    ASSERT_TRUE(Palette()->GetRowData(c.row, values)) << c.row;
    ASSERT_EQ(values.GetSize(), 9) << c.row;
    EXPECT_EQ(values[0], c.code) << c.row;
  }
  CStringArray values;
  ASSERT_TRUE(Palette()->GetRowData(1, values));
  EXPECT_EQ(ToStrings(values),
            (Strings{L"GK", L"1L-2", L"P-2", L"CV14sq", L"", L"", L"", L"○", L""}));
  ASSERT_TRUE(Palette()->GetRowData(99, values));
  EXPECT_EQ(ToStrings(values), Strings(9, L""));
  for (int outside : {100, -1}) {
    EXPECT_FALSE(Palette()->GetRowData(outside, values)) << outside;
    EXPECT_EQ(values.GetSize(), 0) << outside;
  }

  // Names: the general list's name wins; an unknown code is "不明".
  CString name = L"before";
  EXPECT_EQ(Palette()->ConstructionItemName(name, L"DK"), L"電灯幹線");
  EXPECT_EQ(name, L"電灯幹線");
  EXPECT_EQ(Palette()->ConstructionItemName(name, L"ZZ"), L"一般名");
  EXPECT_EQ(Palette()->ConstructionItemName(name, L"E1"), L"電灯");
  EXPECT_EQ(Palette()->ConstructionItemName(name, L"??"), L"不明");
  EXPECT_EQ(name, L"不明");
}

TEST_F(CommandButtonsTest, APanelListFindsTheFirstMatchingRowOnlyWhenThatRowIsChecked) {
  StartOnRows({
      {L"", L"1", L"P-1", L"", L"", L"", L"", L"0", L""},
      {L"", L"2", L"L-1,P-1", L"", L"", L"", L"", L"0", L""},
      {L"", L"3", L"L-1,P-1", L"", L"", L"", L"", L"0", L""},
  });
  // Rows 1, 3 and 5 checked, 5 typed after the empty fourth row.
  ASSERT_EQ(Run(L"type 262 X-9\nclick 238\nclick 240\nclick 242\n"), 0) << StopReason();
  Palette()->Editor().CollectPage();
  ASSERT_EQ(Palette()->Project().Current()->ban[4], L"X-9");
  struct Case {
    const wchar_t* text;
    bool found;
    int row;
  };
  const Case cases[] = {
      {L"p-1", true, 0},         // one name, letter case ignored
      {L" P-1", false, -1},      // a text without "," is not trimmed
      {L"P-1, L-1", false, -1},  // row 1 has only the first name; row 2 matches but is unchecked
      {L"X-9", false, -1},       // after the first empty row
  };
  for (const Case& c : cases) {
    int row = -1;
    EXPECT_EQ(Palette()->FindCheckedRowByPanelName(c.text, row), c.found)
        << platform::WideToUtf8(c.text);
    EXPECT_EQ(row, c.row) << platform::WideToUtf8(c.text);
  }
  // With the second row checked it is the one found, whatever the order, case and blanks.
  ASSERT_EQ(Run(L"click 239\n"), 0) << StopReason();
  Palette()->Editor().CollectPage();
  int row = -1;
  EXPECT_TRUE(Palette()->FindCheckedRowByPanelName(L"p-1 ,  l-1 ", row));
  EXPECT_EQ(row, 1);
}

TEST_F(CommandButtonsTest, ChoicesAreReadFromTheControlsAndTheListSizesFromTheDetails) {
  const CString settings =
      ProjectFolder().Left(ProjectFolder().ReverseFind(L'\\')) + L"\\ZazoZivi.ini";
  WritePrivateProfileStringW(L"自動複数配線リスト設定", L"文字高さ", L"3.0", settings);
  WritePrivateProfileStringW(L"自動複数配線リスト設定", L"行高さ", L"7.5", settings);
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, settings);
  StartOnSample();
  auto sizes = [] {
    std::vector<double> v(5);
    PaletteInstance->GetListSettings(&v[0], &v[1], &v[2], &v[3], &v[4]);
    return v;
  };
  EXPECT_EQ(sizes(), (std::vector<double>{3.0, 2.0, 7.5, 2.5, 5.0}));

  // The conduit boxes, not the pattern's stored choice (地中).
  EXPECT_EQ(Palette()->GetConduitChoice(), 3);
  ASSERT_EQ(Run(L"click 400\n"), 0) << StopReason();
  EXPECT_EQ(Palette()->GetConduitChoice(), 0);
  EXPECT_EQ(Palette()->Project().Current()->pipeSel, 3);
  ASSERT_EQ(Run(L"click 398\n"), 0) << StopReason();
  EXPECT_EQ(Palette()->GetConduitChoice(), 1);
  ASSERT_EQ(Run(L"click 399\n"), 0) << StopReason();
  EXPECT_EQ(Palette()->GetConduitChoice(), 2);

  bool flags[3] = {true, false, false};
  Palette()->GetNoteFlags(flags);
  EXPECT_EQ(std::vector<bool>(flags, flags + 3), (std::vector<bool>{false, true, true}));
  ASSERT_EQ(Run(L"click 341\nclick 342\n"), 0) << StopReason();
  Palette()->GetNoteFlags(flags);
  EXPECT_EQ(std::vector<bool>(flags, flags + 3), (std::vector<bool>{true, false, true}));

  EXPECT_EQ(Palette()->GetPatternType(), 0);
  ASSERT_EQ(Run(L"click 212\n"), 0) << StopReason();
  EXPECT_EQ(Palette()->GetPatternType(), 1);

  // "詳": OK replaces the sizes; Cancel, also after a refusal, keeps them.
  ClearTranscript();
  ASSERT_EQ(Run(L"click 402\ntype 403 9.04\ntype 405 1\nclick 1\n"), 0) << StopReason();
  EXPECT_EQ(Dialogs(), Strings{L"[dialog 211 リストの詳細]"});
  EXPECT_EQ(sizes(), (std::vector<double>{3.0, 2.0, 9.04, 2.5, 1.0}));
  ASSERT_EQ(Run(L"click 402\ntype 403 12\nclick 2\nclick 402\ntype 403 1\nclick 1\nclick 2\n"), 0)
      << StopReason();
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(sizes(), (std::vector<double>{3.0, 2.0, 9.04, 2.5, 1.0}));
  EXPECT_EQ(ProfileValue(settings, L"自動複数配線リスト設定", L"行高さ"), L"9.0");
}

TEST_F(CommandButtonsTest, TheNoteCommandFollowsOnlyAnAcceptedNoteSettingsDialog) {
  StartOnSample();
  ::SetTimer(adsw_acadDocWnd(), 0x1414, 10, RecordNoteDialog);
  ASSERT_EQ(Run(L"click 340\nclick 2\n"), 0) << StopReason();
  ::KillTimer(adsw_acadDocWnd(), 0x1414);
  // Centred on the button "配線情報記入" (56 x 14 units: 84 x 21 pixels); the dialog is 255 x
  // 186 pixels.
  CRect button;
  ::GetWindowRect(Control(IDC_DRAW_NOTE), &button);
  const int left = button.left + 84 / 2 - 255 / 2, top = button.top + 21 / 2 - 186 / 2;
  EXPECT_EQ(CRect(note_dialog_rect), CRect(left, top, left + 255, top + 186));
  EXPECT_EQ(Transcript(), L"[dialog 208 複数配線注記の設定]\n[end dialog 208 IDCANCEL]\n");
  ClearTranscript();
  ASSERT_EQ(Run(L"click 340\ntype 388 0\nclick 1\ntype 388 2.5\nclick 1\n"), 0) << StopReason();
  EXPECT_EQ(Transcript(),
            L"[dialog 208 複数配線注記の設定]\n[box none] 入力値が不正です。 → OK\n"
            L"[end dialog 208 IDOK]\n\nコマンド: RQ_HARNEX_DRAWNOTE\n[window 207 ﾀﾞｲｱﾛｸﾞ]\n"
            L"\nコマンド: RQ_HARNEX_LOCATE\n\n配線を選択:");
  EXPECT_EQ(::GetFocus(), adsw_acadDocWnd());
}

TEST_F(CommandButtonsTest, TheSettingsCheckWindowIsMadeOnceAndForgottenWhenItCloses) {
  StartOnSample();
  ASSERT_EQ(Run(L"click 335\nclick 335\n"), 0) << StopReason();
  EXPECT_EQ(EventsStartingWith(L"[window "), Strings{L"[window 209 設定確認]"});
  CCheckDlg* first = CheckDlgInstance;
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->IsWindowVisible());
  EXPECT_EQ(::GetParent(first->m_hWnd), Palette()->m_hWnd);
  EXPECT_EQ(first->SendMessage(WM_ACAD_KEEPFOCUS), TRUE);
  // 153 x 43 dialog units: 230 x 65 pixels.
  CRect rect;
  first->GetWindowRect(&rect);
  EXPECT_EQ(rect.Width(), 230);
  EXPECT_EQ(rect.Height(), 65);
  CString text;
  first->GetDlgItemText(IDC_CHECK_RUN, text);
  EXPECT_EQ(text, L"実行");
  first->GetDlgItemText(IDC_CHECK_CLEAR, text);
  EXPECT_EQ(text, L"クリア");
  EXPECT_EQ(first->GetDlgItem(IDC_CHECK_COLOUR)->GetStyle() & BS_TYPEMASK,
            static_cast<DWORD>(BS_OWNERDRAW));

  // Hidden while it exists: shown again, not made again.
  first->ShowWindow(SW_HIDE);
  ClearTranscript();
  ASSERT_EQ(Run(L"click 335\n"), 0) << StopReason();
  EXPECT_EQ(CheckDlgInstance, first);
  EXPECT_TRUE(first->IsWindowVisible());
  EXPECT_TRUE(EventsStartingWith(L"[window ").empty());

  // Closed by the user: forgotten, and the next press makes a new one.
  first->SendMessage(WM_CLOSE);
  EXPECT_EQ(CheckDlgInstance, nullptr);
  ASSERT_EQ(Run(L"click 335\n"), 0) << StopReason();
  EXPECT_EQ(EventsStartingWith(L"[window "), Strings{L"[window 209 設定確認]"});
  ASSERT_NE(CheckDlgInstance, nullptr);
  HWND second = CheckDlgInstance->m_hWnd;
  EXPECT_TRUE(::IsWindowVisible(second));

  // It goes with the palette.
  ASSERT_EQ(Run(L"click 2\n"), 0) << StopReason();
  EXPECT_EQ(CheckDlgInstance, nullptr);
  EXPECT_FALSE(::IsWindow(second));
}

TEST_F(CommandButtonsTest, TheCommandsReachThePaletteAsItsInterfaceOnlyWhileItIsOpen) {
  SetLastProject(L"NAME", kSample);
  SetLastProject(L"PATTERN", L"受変電から分電盤");
  Start();
  EXPECT_EQ(PaletteAccessInstance(), nullptr);
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  ASSERT_NE(Palette(), nullptr);

  // The palette itself, reached as its base: every answer comes from the open palette's controls.
  const PaletteAccess* palette = PaletteAccessInstance();
  ASSERT_EQ(palette, static_cast<const PaletteAccess*>(Palette()));
  EXPECT_EQ(palette->GetConduitChoice(), 3);
  EXPECT_EQ(palette->GetPatternType(), 0);
  bool flags[3] = {true, false, false};
  palette->GetNoteFlags(flags);
  EXPECT_EQ(std::vector<bool>(flags, flags + 3), (std::vector<bool>{false, true, true}));
  ASSERT_EQ(Run(L"click 238\nclick 212\n"), 0) << StopReason();
  EXPECT_EQ(palette->GetPatternType(), 1);
  CUIntArray rows;
  EXPECT_EQ(palette->GetCheckedRows(rows), 1);
  ASSERT_EQ(rows.GetSize(), 1);
  EXPECT_EQ(rows[0], 0u);

  // Closed: the commands find no palette and say so.
  ASSERT_EQ(Run(L"click 2\nanswer no\n"), 0) << StopReason();
  ASSERT_EQ(Palette(), nullptr);
  EXPECT_EQ(PaletteAccessInstance(), nullptr);
  ClearTranscript();
  ASSERT_EQ(Run(L"command RQ_HARNEX_LIST\n"), 0) << StopReason();
  EXPECT_NE(Transcript().find(L"\nERROR:設定ﾃﾞｰﾀが取得出来ません。"), std::wstring::npos);
}

}  // namespace
}  // namespace palette_test
