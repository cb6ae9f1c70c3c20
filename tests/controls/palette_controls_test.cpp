// The editing controls in the palette, end to end in a host session: the wire-size edits' menu
// and highlight as the user meets them, and the tips of the row combo boxes.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <sstream>

#include "tools/harnex_session.h"
#include "app/harnex_module.h"
#include "controls/menu_edit.h"
#include "controls/xtip_combo_box.h"
#include "tools/palette_view.h"
#include "host/session/session.h"
#include "tools/system_folder.h"
#include "palette/main_dialog.h"
#include "resources/resource.h"
#include "platform/win/text_encoding.h"
#include "platform/mfc/window_system.h"

namespace controls_test {
namespace {

class PaletteControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    folder_ = tools::SystemFolderCopy::Create("", &error);
    ASSERT_NE(folder_, nullptr) << error;
    // The palette opens on the sample project's first pattern: row 1's wire size is
    // "CV22sq-3C E8", row 2's "CVT60sq E14".
    ASSERT_TRUE(folder_->RememberProject(L"サンプルビル", L"受変電から分電盤"));
    host::Session::Options options = tools::HarnexSessionOptions();
    options.config_path = folder_->config_path();
    session_ = std::make_unique<host::Session>(options);
    ASSERT_TRUE(session_->Start());
  }
  void TearDown() override {
    session_.reset();
    folder_.reset();
  }

  int Run(const std::wstring& script) { return session_->RunScript(script); }
  std::vector<std::wstring> Lines() const {
    std::vector<std::wstring> lines;
    std::wistringstream in(session_->transcript());
    for (std::wstring line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The palette's line of control row `row` (1 to 10) in `show palette`.
  static std::wstring PaletteRow(int row) {
    std::wistringstream in(tools::DescribePalette());
    std::wstring line;
    for (int i = 0; i < 6 + row && std::getline(in, line); ++i) {
    }
    return line;
  }
  static HWND Control(int id) { return ::GetDlgItem(PaletteInstance->m_hWnd, id); }

  std::unique_ptr<tools::SystemFolderCopy> folder_;
  std::unique_ptr<host::Session> session_;
};

TEST_F(PaletteControlsTest, SizeDetailFromTheMenuHighlightsTheRowsEditAndOpensTheDetail) {
  ASSERT_EQ(Run(L"command RQ_HARNEX\nmenu 364 サイズ詳細\nshow palette\n"), 0)
      << platform::WideToUtf8(session_->stop_reason());
  const std::vector<std::wstring> lines = Lines();
  auto menu = std::find_if(lines.begin(), lines.end(),
                           [](const std::wstring& l) { return l.starts_with(L"[menu"); });
  ASSERT_NE(menu, lines.end()) << platform::WideToUtf8(session_->transcript());
  // A wire size shown by the palette: nothing selected, nothing to undo, an empty clipboard.
  EXPECT_EQ(*menu,
            L"[menu 364] サイズ詳細(&S) | - | 元に戻す(&U) (greyed) | - | 切り取り(&T) (greyed) | "
            L"コピー(&C) (greyed) | 貼り付け(&P) (greyed) | 削除(&D) (greyed) | - | "
            L"すべて選択(&A) → サイズ詳細(&S)");
  // The palette opens the size detail for the row (modeless, no modal dialog).
  ASSERT_NE(menu + 1, lines.end());
  EXPECT_EQ(*(menu + 1), L"[window 206 配線サイズ詳細]");
  for (auto it = menu; it != lines.end(); ++it) {
    EXPECT_FALSE(it->starts_with(L"[dialog")) << platform::WideToUtf8(*it);
  }
  // Row 1's edit stands out, its whole text selected; row 2's does not.
  EXPECT_NE(PaletteRow(1).find(L"<CV22sq-3C E8>"), std::wstring::npos)
      << platform::WideToUtf8(PaletteRow(1));
  EXPECT_NE(PaletteRow(2).find(L" CVT60sq E14 "), std::wstring::npos)
      << platform::WideToUtf8(PaletteRow(2));
  EXPECT_EQ(::SendMessage(Control(IDC_ROW_HSIZE1), EM_GETSEL, 0, 0), MAKELONG(0, 12));

  // The palette clears the highlight when the detail ends.
  auto* edit = dynamic_cast<CMenuEdit*>(CWnd::FromHandlePermanent(Control(IDC_ROW_HSIZE1)));
  ASSERT_NE(edit, nullptr);
  edit->ClearHighlight();
  EXPECT_NE(PaletteRow(1).find(L" CV22sq-3C E8 "), std::wstring::npos)
      << platform::WideToUtf8(PaletteRow(1));
}

TEST_F(PaletteControlsTest, TypedWireSizeCanBeUndoneFromTheMenuAndGreyedItemsAreRefused) {
  ASSERT_EQ(Run(L"command RQ_HARNEX\ntype 365 CVT38sq\nmenu 365 元に戻す\n"), 0)
      << platform::WideToUtf8(session_->stop_reason());
  EXPECT_NE(PaletteRow(2).find(L" CVT60sq E14 "), std::wstring::npos)
      << platform::WideToUtf8(PaletteRow(2));

  // Nothing selected in row 3's edit: copying is not offered.
  EXPECT_EQ(Run(L"menu 366 コピー\n"), platform::kExitScriptMismatch);
  EXPECT_NE(session_->stop_reason().find(L"\"コピー(&C)\" is greyed"), std::wstring::npos)
      << platform::WideToUtf8(session_->stop_reason());
}

TEST_F(PaletteControlsTest, RowComboBoxesShowTheirWholeTextInATip) {
  ASSERT_EQ(Run(L"command RQ_HARNEX\ntype 258 P-1,L-1,L-2,L-3\n"), 0)
      << platform::WideToUtf8(session_->stop_reason());
  // Construction items, panel and load names and the three conduit sizes have tips; the system
  // numbers do not.
  auto is_tip_box = [](int id) {
    return dynamic_cast<CXTipComboBox*>(CWnd::FromHandlePermanent(Control(id))) != nullptr;
  };
  for (int row = 0; row < IDC_ROW_COUNT; ++row) {
    for (int id : {IDC_ROW_KOUJI, IDC_ROW_BAN, IDC_ROW_HSIZE2, IDC_ROW_HSIZE3, IDC_ROW_HSIZE4}) {
      EXPECT_TRUE(is_tip_box(id + row)) << id + row;
    }
    EXPECT_FALSE(is_tip_box(IDC_ROW_KEITOU + row)) << IDC_ROW_KEITOU + row;
  }

  // The panel box is 70 dialog units, 105 pixels, wide: 15 characters (90 pixels) do not fit
  // into 105 - 19 - 6.
  auto* box = dynamic_cast<CXTipComboBox*>(CWnd::FromHandlePermanent(Control(IDC_ROW_BAN)));
  ASSERT_NE(box, nullptr);
  platform::mfc::MoveMouse(box->m_hWnd, POINT{10, 5});
  ASSERT_TRUE(::IsWindowVisible(box->GetToolTip()));
  wchar_t text[64] = {};
  TOOLINFO info{};
  info.hwnd = box->m_hWnd;
  info.lpszText = text;
  ::SendMessage(box->GetToolTip(), TTM_GETTEXT, 64, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(text, L"P-1,L-1,L-2,L-3");
}

}  // namespace
}  // namespace controls_test
