// The wire size detail from the palette, end to end: the lists of the type the palette shows,
// runs of one group collapsed, the dialog just below the edit with the edit's text pre-selected,
// a group change refilling the sizes, OK writing the composed text back with the caret at its
// end, Cancel, one dialog at a time, size lists that are missing or empty, and a palette closed
// while the dialog is open.
#include <gtest/gtest.h>
#include <windows.h>

#include <adui.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/harnex_module.h"
#include "controls/menu_edit.h"
#include "dialogs/size_detail_dialog.h"
#include "palette/main_dialog.h"
#include "palette_test_support.h"
#include "resources/resource.h"
#include "platform/win/text_encoding.h"
#include "platform/mfc/window_system.h"

namespace palette_test {
namespace {

using Strings = std::vector<std::wstring>;

constexpr wchar_t kSample[] = L"サンプルビル";
constexpr wchar_t kTrunk[] = L"受変電から分電盤";
constexpr wchar_t kGeneral[] = L"1F照明・コンセント";

// The example system folder's trunk and general lists, as the files hold them.
const Strings kTrunkGroups = {L"CV", L"CVT", L"FP"};
const Strings kTrunkEarths = {L"-", L"E5.5", L"E8", L"E14", L"E22", L"E38", L"E60"};
const Strings kGeneralGroups = {L"VVF", L"EM-EEF", L"IV", L"CVV", L"HP"};
const Strings kGeneralEarths = {L"-", L"E1.6", L"E2.0", L"E5.5"};

// What one of the dialog's boxes holds and shows.
struct Box {
  Strings items;
  std::wstring chosen;  // "" without a selection
  bool operator==(const Box&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Box& box) {
  out << "[";
  for (const auto& item : box.items) out << platform::WideToUtf8(item) << " ";
  return out << "] chosen " << platform::WideToUtf8(box.chosen);
}

class SizeDetailTest : public PaletteSessionTest {
 protected:
  void StartOn(const std::wstring& pattern) {
    SetLastProject(L"NAME", kSample);
    SetLastProject(L"PATTERN", pattern.c_str());
    Start();
    ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
    ASSERT_NE(Palette(), nullptr);
    ClearTranscript();
  }
  // The user picks the size detail in the menu of control row `row`'s wire-size edit.
  int OpenDetail(int row) {
    return Run(L"@200 menu " + std::to_wstring(IDC_ROW_HSIZE1 + row) + L" サイズ詳細\n");
  }
  static HWND Detail() {
    return Palette() && Palette()->SizeDetail() ? Palette()->SizeDetail()->GetSafeHwnd() : nullptr;
  }
  static Box BoxOf(int id) {
    Box box;
    const auto* r = platform::mfc::FindWindowRecord(::GetDlgItem(Detail(), id));
    if (r == nullptr) return box;
    for (const auto& item : r->items) box.items.push_back(item.text);
    if (r->cur_sel >= 0) box.chosen = r->items[r->cur_sel].text;
    return box;
  }
  static CMenuEdit& Edit(int row) {
    return *dynamic_cast<CMenuEdit*>(
        CWnd::FromHandlePermanent(::GetDlgItem(Palette()->m_hWnd, IDC_ROW_HSIZE1 + row)));
  }
  static std::wstring WireSize(int row) { return ControlText(IDC_ROW_HSIZE1 + row); }
  // Every window made from template 206 that exists.
  static int DetailWindows() {
    const auto all = platform::mfc::AllWindows();
    return static_cast<int>(std::count_if(all.begin(), all.end(), [](HWND h) {
      const auto* r = platform::mfc::FindWindowRecord(h);
      return r && r->template_id == IDD_SIZE_DETAIL;
    }));
  }

  // The system folder as the configuration names it, and a file below it (POSIX form).
  static std::wstring SystemFolderSetting() {
    wchar_t value[512] = {};
    GetPrivateProfileStringW(L"環境設定", L"ｼｽﾃﾑ", L"", value, 512, ConfigIniPath);
    return value;
  }
  std::filesystem::path ListFile(const wchar_t* type, const wchar_t* file) const {
    std::wstring folder = ProjectFolder().GetString();
    folder = folder.substr(0, folder.rfind(L'\\'));
    std::replace(folder.begin(), folder.end(), L'\\', L'/');
    return std::filesystem::path(platform::WideToUtf8(folder + L"/複数配線/" + type + L"/" + file));
  }
  // Writes a list file in code page 932, one line each, as the users' tools do.
  void WriteList(const wchar_t* type, const wchar_t* file, const Strings& lines) const {
    std::wstring text;
    for (const auto& line : lines) text += line + L"\r\n";
    std::ofstream out(ListFile(type, file), std::ios::binary | std::ios::trunc);
    out << platform::EncodeText(text, platform::TextEncoding::kCp932);
  }
};

TEST_F(SizeDetailTest, OpensBelowTheEditWithTheTrunkListsAndItsTextPreSelected) {
  StartOn(kTrunk);
  // Row 1 holds "CV22sq-3C E8".
  ASSERT_EQ(OpenDetail(0), 0) << StopReason();
  EXPECT_EQ(Dialogs(), Strings{});
  EXPECT_EQ(EventsStartingWith(L"[window "), Strings{L"[window 206 配線サイズ詳細]"});
  ASSERT_NE(Detail(), nullptr);
  EXPECT_EQ(Palette()->SizeDetail()->Row(), 0u);
  EXPECT_TRUE(::IsWindowVisible(Detail()));
  EXPECT_EQ(::GetParent(Detail()), Palette()->m_hWnd);

  // Ten trunk records of three groups; CV's four sizes; the earth list as it stands.
  EXPECT_EQ(BoxOf(IDC_DETAIL_GROUP), (Box{kTrunkGroups, L"CV"}));
  EXPECT_EQ(BoxOf(IDC_DETAIL_SIZE),
            (Box{{L"8sq-3C", L"14sq-3C", L"22sq-3C", L"38sq-3C"}, L"22sq-3C"}));
  EXPECT_EQ(BoxOf(IDC_DETAIL_EARTH), (Box{kTrunkEarths, L"E8"}));

  // 2 pixels left of the edit's client rectangle and 3 below it; 174 x 45 dialog units at
  // 6 x 12 pixels per 4 x 8 units.
  RECT edit{};
  ::GetClientRect(Edit(0).m_hWnd, &edit);
  POINT bottomLeft{edit.left, edit.bottom};
  ::ClientToScreen(Edit(0).m_hWnd, &bottomLeft);
  RECT dialog{};
  ::GetWindowRect(Detail(), &dialog);
  EXPECT_EQ(dialog.left, bottomLeft.x - 2);
  EXPECT_EQ(dialog.top, bottomLeft.y + 3);
  EXPECT_EQ(dialog.right - dialog.left, 261);
  EXPECT_EQ(dialog.bottom - dialog.top, 68);  // 67.5 rounded

  // The template's boxes are the widening kind, and the dialog keeps the focus beside the host.
  for (int id : {IDC_DETAIL_GROUP, IDC_DETAIL_SIZE, IDC_DETAIL_EARTH}) {
    EXPECT_NE(dynamic_cast<CExComboBox*>(CWnd::FromHandlePermanent(::GetDlgItem(Detail(), id))),
              nullptr)
        << id;
  }
  EXPECT_EQ(::SendMessageW(Detail(), WM_ACAD_KEEPFOCUS, 0, 0), TRUE);
  EXPECT_TRUE(Edit(0).IsHighlighted());
}

TEST_F(SizeDetailTest, OkGivesGroupAndSizeTogetherThenOneBlankAndTheEarth) {
  StartOn(kTrunk);
  // Blanks between the parts; "CVT" must win over "CV", which it begins with.
  ASSERT_EQ(Run(L"type 365 \"CVT  60sq \u3000E14\"\n"), 0) << StopReason();
  ASSERT_EQ(OpenDetail(1), 0) << StopReason();
  EXPECT_EQ(BoxOf(IDC_DETAIL_GROUP).chosen, L"CVT");
  EXPECT_EQ(BoxOf(IDC_DETAIL_SIZE), (Box{{L"38sq", L"60sq", L"100sq", L"150sq"}, L"60sq"}));
  EXPECT_EQ(BoxOf(IDC_DETAIL_EARTH).chosen, L"E14");

  ASSERT_EQ(Run(L"@206 click 1\n"), 0) << StopReason();
  EXPECT_EQ(WireSize(1), L"CVT60sq E14");
  // The caret after the last character, the highlight gone, the dialog destroyed and released.
  EXPECT_EQ(Edit(1).SendMessage(EM_GETSEL), MAKELONG(11, 11));
  EXPECT_FALSE(Edit(1).IsHighlighted());
  EXPECT_EQ(Palette()->SizeDetail(), nullptr);
  EXPECT_EQ(DetailWindows(), 0);
  EXPECT_EQ(WireSize(0), L"CV22sq-3C E8");  // other rows untouched
  EXPECT_TRUE(Boxes().empty());

  // The text reaches the pattern at the next collect: the composed form is what the project
  // already held, so it is not modified.
  Palette()->Editor().CollectPage();
  EXPECT_EQ(Palette()->Project().Current()->hsize1[1], CString(L"CVT60sq E14"));
  EXPECT_FALSE(Palette()->Editor().IsModified());
}

TEST_F(SizeDetailTest, ChangingTheGroupRefillsTheSizesOfThatGroupAndSelectsTheFirst) {
  StartOn(kTrunk);
  ASSERT_EQ(OpenDetail(0), 0) << StopReason();
  ASSERT_EQ(Run(L"@206 choose 376 FP\n"), 0) << StopReason();
  EXPECT_EQ(BoxOf(IDC_DETAIL_SIZE), (Box{{L"5.5sq-3C", L"14sq-3C"}, L"5.5sq-3C"}));
  EXPECT_EQ(BoxOf(IDC_DETAIL_EARTH).chosen, L"E8");  // the earth stays as it was
  ASSERT_EQ(Run(L"@206 choose 376 CVT\n@206 choose 378 100sq\n@206 choose 380 -\n@206 click 1\n"),
            0)
      << StopReason();
  // An earth "-" adds nothing, not even the blank.
  EXPECT_EQ(WireSize(0), L"CVT100sq");
}

TEST_F(SizeDetailTest, ASizeListGoneWhileTheDialogIsOpenLeavesTheSizesAsTheyWere) {
  StartOn(kTrunk);
  ASSERT_EQ(OpenDetail(0), 0) << StopReason();
  std::filesystem::remove(ListFile(L"幹線", L"配線サイズ.dat"));
  ASSERT_EQ(Run(L"@206 choose 376 FP\n@206 click 1\n"), 0) << StopReason();
  // CV's sizes stay, with 22sq-3C still chosen; OK takes them with the new group.
  EXPECT_EQ(WireSize(0), L"FP22sq-3C E8");
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(SizeDetailTest, TheTypeTheRadioButtonsShowChoosesTheGeneralLists) {
  StartOn(kGeneral);
  // Row 1 holds "VVF1.6-3C": no earth part, so the earth box keeps its first entry "-".
  ASSERT_EQ(OpenDetail(0), 0) << StopReason();
  EXPECT_EQ(BoxOf(IDC_DETAIL_GROUP), (Box{kGeneralGroups, L"VVF"}));
  EXPECT_EQ(BoxOf(IDC_DETAIL_SIZE), (Box{{L"1.6-2C", L"1.6-3C", L"2.0-2C", L"2.0-3C"}, L"1.6-3C"}));
  EXPECT_EQ(BoxOf(IDC_DETAIL_EARTH), (Box{kGeneralEarths, L"-"}));
  ASSERT_EQ(Run(L"@206 click 1\n"), 0) << StopReason();
  EXPECT_EQ(WireSize(0), L"VVF1.6-3C");

  // A trunk pattern shown as general takes the general lists: "CV22sq-3C E8" matches no group
  // there, so every box keeps its first entry.
  ASSERT_EQ(Run(std::wstring(L"choose 203 ") + kTrunk + L"\nclick 212\n"), 0) << StopReason();
  ASSERT_EQ(OpenDetail(0), 0) << StopReason();
  EXPECT_EQ(BoxOf(IDC_DETAIL_GROUP), (Box{kGeneralGroups, L"VVF"}));
  EXPECT_EQ(BoxOf(IDC_DETAIL_SIZE).chosen, L"1.6-2C");
  EXPECT_EQ(BoxOf(IDC_DETAIL_EARTH).chosen, L"-");
}

TEST_F(SizeDetailTest, RepeatsCollapseOnlyWhenConsecutiveAndSizesKeepTheirs) {
  WriteList(L"幹線", L"配線サイズ.dat",
            {L"|orphan", L"A|1", L"A|1", L"B|2", L"A|3", L"AB|4", L"C"});
  WriteList(L"幹線", L"アースサイズ.dat", {L"-", L"-", L"E1", L"-", L"E1|x"});
  StartOn(kTrunk);
  ASSERT_EQ(Run(L"type 364 \"AB4 E1\"\n"), 0) << StopReason();
  ASSERT_EQ(OpenDetail(0), 0) << StopReason();
  EXPECT_EQ(BoxOf(IDC_DETAIL_GROUP), (Box{{L"A", L"B", L"A", L"AB", L"C"}, L"AB"}));
  EXPECT_EQ(BoxOf(IDC_DETAIL_SIZE), (Box{{L"4"}, L"4"}));
  EXPECT_EQ(BoxOf(IDC_DETAIL_EARTH), (Box{{L"-", L"E1", L"-", L"E1"}, L"E1"}));
  // Every record of group A, repeats and all; C has no size.
  ASSERT_EQ(Run(L"@206 choose 376 A\n"), 0) << StopReason();
  EXPECT_EQ(BoxOf(IDC_DETAIL_SIZE), (Box{{L"1", L"1", L"3"}, L"1"}));
  ASSERT_EQ(Run(L"@206 choose 376 C\n@206 click 1\n"), 0) << StopReason();
  EXPECT_EQ(BoxOf(IDC_DETAIL_SIZE), Box{});
  EXPECT_EQ(WireSize(0), L"C E1");
}

TEST_F(SizeDetailTest, MissingOrEmptySizeListsLeaveTheBoxesEmptyAndOkGivesWhatIsThere) {
  struct Case {
    const wchar_t* name;
    bool sizes, earths;  // whether each file exists
    bool empty;          // the existing files hold no record
    const wchar_t* result;
  };
  const Case cases[] = {{L"both missing", false, false, false, L""},
                        {L"both empty", true, true, true, L""},
                        {L"no earths", true, false, false, L"CV22sq-3C"},
                        {L"no sizes", false, true, false, L""}};
  for (const Case& c : cases) {
    SetUp();
    if (!c.sizes) std::filesystem::remove(ListFile(L"幹線", L"配線サイズ.dat"));
    if (!c.earths) std::filesystem::remove(ListFile(L"幹線", L"アースサイズ.dat"));
    if (c.empty) {
      WriteList(L"幹線", L"配線サイズ.dat", {L"", L"  "});
      WriteList(L"幹線", L"アースサイズ.dat", {});
    }
    StartOn(kTrunk);
    ASSERT_EQ(OpenDetail(0), 0) << platform::WideToUtf8(c.name) << StopReason();
    const Box empty;
    if (!c.sizes || c.empty) {
      EXPECT_EQ(BoxOf(IDC_DETAIL_GROUP), empty) << platform::WideToUtf8(c.name);
      EXPECT_EQ(BoxOf(IDC_DETAIL_SIZE), empty) << platform::WideToUtf8(c.name);
    }
    if (!c.earths || c.empty) {
      EXPECT_EQ(BoxOf(IDC_DETAIL_EARTH), empty) << platform::WideToUtf8(c.name);
    }
    ASSERT_EQ(Run(L"@206 click 1\n"), 0) << platform::WideToUtf8(c.name) << StopReason();
    EXPECT_EQ(WireSize(0), c.result) << platform::WideToUtf8(c.name);
    EXPECT_TRUE(Boxes().empty()) << platform::WideToUtf8(c.name);
    EXPECT_EQ(Palette()->SizeDetail(), nullptr) << platform::WideToUtf8(c.name);
    TearDown();
  }
}

TEST_F(SizeDetailTest, TheSystemFolderMayEndWithABackslash) {
  StartOn(kTrunk);
  const std::wstring folder = SystemFolderSetting();
  ASSERT_FALSE(folder.empty());
  ASSERT_NE(folder.back(), L'\\');
  WritePrivateProfileStringW(L"環境設定", L"ｼｽﾃﾑ", (folder + L"\\").c_str(), ConfigIniPath);
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, ConfigIniPath);
  ASSERT_EQ(OpenDetail(2), 0) << StopReason();  // "FP14sq-3C E8"
  EXPECT_EQ(BoxOf(IDC_DETAIL_GROUP), (Box{kTrunkGroups, L"FP"}));
  EXPECT_EQ(BoxOf(IDC_DETAIL_SIZE), (Box{{L"5.5sq-3C", L"14sq-3C"}, L"14sq-3C"}));
  EXPECT_EQ(BoxOf(IDC_DETAIL_EARTH).chosen, L"E8");
}

TEST_F(SizeDetailTest, CancelLeavesTheTextAndASecondRequestRaisesTheOpenDialog) {
  StartOn(kTrunk);
  ASSERT_EQ(OpenDetail(0), 0) << StopReason();
  const CDetailDlg* first = Palette()->SizeDetail();
  ASSERT_EQ(Run(L"@206 choose 376 FP\n"), 0) << StopReason();
  ::SetFocus(Palette()->m_hWnd);
  // Row 2 asks too: no second dialog, the first comes up with the focus and keeps its row.
  ASSERT_EQ(OpenDetail(1), 0) << StopReason();
  EXPECT_EQ(Palette()->SizeDetail(), first);
  EXPECT_EQ(DetailWindows(), 1);
  EXPECT_EQ(EventsStartingWith(L"[window "), Strings{L"[window 206 配線サイズ詳細]"});
  EXPECT_EQ(::GetFocus(), Detail());
  EXPECT_EQ(BoxOf(IDC_DETAIL_GROUP).chosen, L"FP");

  ASSERT_EQ(Run(L"@206 click 2\n"), 0) << StopReason();
  EXPECT_EQ(WireSize(0), L"CV22sq-3C E8");
  EXPECT_EQ(WireSize(1), L"CVT60sq E14");
  EXPECT_FALSE(Edit(0).IsHighlighted());
  EXPECT_EQ(Palette()->SizeDetail(), nullptr);
  EXPECT_EQ(DetailWindows(), 0);
  Palette()->Editor().CollectPage();
  EXPECT_FALSE(Palette()->Editor().IsModified());

  // A new request after that opens a new dialog; rows outside 0 to 9 open nothing, and the
  // older message 0x3402 works like 0x3403.
  ::PostMessageW(Palette()->m_hWnd, kSizeDetailMessage, 10, 0);
  platform::mfc::PumpPostedMessages();
  EXPECT_EQ(Palette()->SizeDetail(), nullptr);
  ::PostMessageW(Palette()->m_hWnd, 0x3402, 2, 0);
  platform::mfc::PumpPostedMessages();
  ASSERT_NE(Palette()->SizeDetail(), nullptr);
  EXPECT_EQ(Palette()->SizeDetail()->Row(), 2u);
  EXPECT_EQ(BoxOf(IDC_DETAIL_GROUP).chosen, L"FP");  // "FP14sq-3C E8"
}

TEST_F(SizeDetailTest, TheChosenTextIsPostedAndLivesUntilThePaletteHasTakenIt) {
  StartOn(kTrunk);
  ASSERT_EQ(OpenDetail(2), 0) << StopReason();
  ASSERT_EQ(Run(L"@206 choose 378 5.5sq-3C\n"), 0) << StopReason();
  // OK without the message loop: the palette has not seen it yet, the dialog is only hidden.
  ::SendMessageW(Detail(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  const CDetailDlg* dialog = Palette()->SizeDetail();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(::IsWindowVisible(Detail()));
  EXPECT_EQ(WireSize(2), L"FP14sq-3C E8");
  EXPECT_EQ(dialog->Result(), CString(L"FP5.5sq-3C E8"));
  EXPECT_TRUE(Edit(2).IsHighlighted());
  EXPECT_EQ(platform::mfc::PumpPostedMessages(), 1);
  EXPECT_EQ(WireSize(2), L"FP5.5sq-3C E8");
  EXPECT_EQ(Edit(2).SendMessage(EM_GETSEL), MAKELONG(13, 13));
  EXPECT_FALSE(Edit(2).IsHighlighted());
  EXPECT_EQ(Palette()->SizeDetail(), nullptr);
}

TEST_F(SizeDetailTest, ClosingThePaletteTakesTheOpenDialogWithIt) {
  StartOn(kTrunk);
  ASSERT_EQ(OpenDetail(0), 0) << StopReason();
  ASSERT_EQ(Run(L"@200 click 2\n"), 0) << StopReason();
  EXPECT_EQ(PaletteInstance, nullptr);
  EXPECT_EQ(DetailWindows(), 0);
  // A new palette opens the detail again and takes its text back.
  ASSERT_EQ(Run(L"command RQ_HARNEX\n"), 0) << StopReason();
  ASSERT_EQ(OpenDetail(0), 0) << StopReason();
  EXPECT_EQ(DetailWindows(), 1);
  ASSERT_EQ(Run(L"@206 choose 380 E14\n@206 click 1\n"), 0) << StopReason();
  EXPECT_EQ(WireSize(0), L"CV22sq-3C E14");
}

TEST_F(SizeDetailTest, TheDetailComesFromHarnexWhateverResourcesAreCurrent) {
  StartOn(kTrunk);
  // Another module is current and has a template 206 of its own.
  HMODULE other = platform::RegisterModule(L"Other.arx", {});
  platform::SetModuleResourceScript(other,
                                    "206 DIALOG 0, 0, 100, 40\nCAPTION \"よその詳細\"\nBEGIN\n"
                                    "  PUSHBUTTON \"OK\", 1, 1, 1, 30, 14\nEND\n");
  AfxSetResourceHandle(other);
  ASSERT_EQ(OpenDetail(0), 0) << StopReason();
  EXPECT_EQ(EventsStartingWith(L"[window "), Strings{L"[window 206 配線サイズ詳細]"});
  EXPECT_EQ(BoxOf(IDC_DETAIL_GROUP).chosen, L"CV");
  EXPECT_EQ(AfxGetResourceHandle(), other);
  ASSERT_EQ(Run(L"@206 click 2\n"), 0) << StopReason();
  AfxSetResourceHandle(nullptr);
  platform::UnregisterModule(other);
}

}  // namespace
}  // namespace palette_test
