// The wire-size edit: which context menu items are greyed, what they do to the text and the
// clipboard, and the size detail request with its highlight.
#include "controls/menu_edit.h"

#include <gtest/gtest.h>

#include <cstring>

#include "controls_support.h"
#include "platform/mfc/window_system.h"

namespace controls_test {
namespace {

const std::wstring kDetail = L"サイズ詳細(&S)";
const std::wstring kUndo = L"元に戻す(&U)";
const std::wstring kCut = L"切り取り(&T)";
const std::wstring kCopy = L"コピー(&C)";
const std::wstring kPaste = L"貼り付け(&P)";
const std::wstring kDelete = L"削除(&D)";
const std::wstring kSelectAll = L"すべて選択(&A)";

enum class Clip { kEmpty, kUnicode, kAnsi };

void SetClipboard(Clip clip) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  if (clip == Clip::kUnicode) {
    const wchar_t text[] = L"E8";
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, sizeof(text));
    std::memcpy(GlobalLock(h), text, sizeof(text));
    SetClipboardData(CF_UNICODETEXT, h);
  } else if (clip == Clip::kAnsi) {
    const char text[] = "E8";
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, sizeof(text));
    std::memcpy(GlobalLock(h), text, sizeof(text));
    SetClipboardData(CF_TEXT, h);
  }
  CloseClipboard();
}

std::wstring ClipboardText() {
  if (!OpenClipboard(nullptr)) return L"(clipboard busy)";
  std::wstring text;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT))
    text = static_cast<const wchar_t*>(GlobalLock(h));
  CloseClipboard();
  return text;
}

struct Colours {
  COLORREF text = 0, background = 0, brush = 0;
  bool operator==(const Colours&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Colours& c) {
  return out << std::hex << "text " << c.text << " on " << c.background << " brush " << c.brush;
}

Colours ColoursOf(const CWnd& control) {
  Colours c;
  HBRUSH brush = platform::mfc::QueryControlColors(control.m_hWnd, &c.text, &c.background);
  c.brush = brush ? CBrush::FromHandle(brush)->color : 0xFFFFFFFF;
  return c;
}

class MenuEditTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_TRUE(
        edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 10, 110, 30), &owner, 364));
  }
  int SelStart() const { return static_cast<int>(LOWORD(edit.GetSel())); }
  int SelEnd() const { return static_cast<int>(HIWORD(edit.GetSel())); }
  std::wstring Text() const {
    CString text;
    edit.GetWindowText(text);
    return text.GetString();
  }
  // The user right-clicks the edit and dismisses the menu: its line in the transcript.
  std::wstring OpenAndDismissMenu() {
    session.ClearTranscript();
    edit.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit.m_hWnd), MAKELPARAM(160, 70));
    auto lines = MenuLines();
    return lines.empty() ? L"" : lines.back();
  }

  CMenuEdit edit;
};

TEST_F(MenuEditTest, MenuGreysItemsByUndoSelectionClipboardAndReadOnly) {
  struct Case {
    const char* name;
    const wchar_t* text;
    int start, end;
    bool undo;
    Clip clip;
    bool read_only;
    std::vector<std::wstring> greyed;
  };
  const Case cases[] = {
      // Read-only: everything that would change the text, and the detail; copy stays.
      {"read-only with a selection",
       L"CV22sq",
       0,
       2,
       true,
       Clip::kUnicode,
       true,
       {kDetail, kUndo, kCut, kPaste, kDelete}},
      // Cut follows undo, not the selection; delete follows paste.
      {"selection, nothing to undo",
       L"CV22sq",
       0,
       2,
       false,
       Clip::kEmpty,
       false,
       {kUndo, kCut, kPaste, kDelete}},
      {"no selection, clipboard text", L"CV22sq", 3, 3, true, Clip::kUnicode, false, {kCopy}},
      {"ANSI text on the clipboard pastes",
       L"CV22sq",
       3,
       3,
       false,
       Clip::kAnsi,
       false,
       {kUndo, kCut, kCopy}},
      {"empty edit",
       L"",
       0,
       0,
       false,
       Clip::kEmpty,
       false,
       {kUndo, kCut, kCopy, kPaste, kDelete, kSelectAll}},
      {"all selected", L"CV22sq", 0, 6, false, Clip::kUnicode, false, {kUndo, kCut, kSelectAll}},
      {"selected to the end, not from 0",
       L"CV22sq",
       1,
       6,
       false,
       Clip::kUnicode,
       false,
       {kUndo, kCut}},
      {"selected from 0, not to the end",
       L"CV22sq",
       0,
       5,
       false,
       Clip::kUnicode,
       false,
       {kUndo, kCut}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    edit.SetReadOnly(FALSE);
    edit.SetWindowText(c.text);  // empties the undo buffer
    if (c.undo) {
      edit.SetSel(0, 0);
      edit.ReplaceSel(L"", TRUE);  // an edit that changes nothing but can be undone
    }
    edit.SetSel(c.start, c.end);
    SetClipboard(c.clip);
    edit.SetReadOnly(c.read_only);
    ::SetFocus(nullptr);
    const std::wstring line = OpenAndDismissMenu();
    ASSERT_TRUE(line.starts_with(L"[menu 364] ")) << line;
    EXPECT_EQ(GreyedItems(line), c.greyed) << line;
    EXPECT_EQ(::GetFocus(), edit.m_hWnd);  // the edit takes the focus first
  }
  // The ten positions, separators included, as the user sees them.
  edit.SetReadOnly(FALSE);
  edit.SetWindowText(L"CV22sq");
  edit.SetSel(0, 2);
  SetClipboard(Clip::kEmpty);
  EXPECT_EQ(OpenAndDismissMenu(),
            L"[menu 364] サイズ詳細(&S) | - | 元に戻す(&U) (greyed) | - | 切り取り(&T) (greyed) | "
            L"コピー(&C) | 貼り付け(&P) (greyed) | 削除(&D) (greyed) | - | すべて選択(&A) → Esc");
}

TEST_F(MenuEditTest, MenuCommandsEditTheTextThroughTheClipboard) {
  edit.SetWindowText(L"CV22sq-3C");
  edit.SetSel(0, 4);
  ASSERT_TRUE(PickFromMenu(364, L"コピー"));
  EXPECT_EQ(ClipboardText(), L"CV22");
  EXPECT_EQ(Text(), L"CV22sq-3C");

  edit.SetSel(9, 9);
  ASSERT_TRUE(PickFromMenu(364, L"貼り付け(&P)"));
  EXPECT_EQ(Text(), L"CV22sq-3CCV22");

  ASSERT_TRUE(PickFromMenu(364, L"元に戻す"));
  EXPECT_EQ(Text(), L"CV22sq-3C");

  edit.SetSel(6, 9);
  ASSERT_TRUE(PickFromMenu(364, L"切り取り"));
  EXPECT_EQ(Text(), L"CV22sq");
  EXPECT_EQ(ClipboardText(), L"-3C");

  edit.SetSel(0, 2);
  ASSERT_TRUE(PickFromMenu(364, L"削除"));
  EXPECT_EQ(Text(), L"22sq");
  EXPECT_EQ(ClipboardText(), L"-3C");  // delete leaves the clipboard alone

  ASSERT_TRUE(PickFromMenu(364, L"すべて選択"));
  EXPECT_EQ(SelStart(), 0);
  EXPECT_EQ(SelEnd(), 4);
  EXPECT_FALSE(session.stopped());
  EXPECT_EQ(MenuLines().back().substr(MenuLines().back().rfind(L"→")), L"→ すべて選択(&A)");

  // Now everything is selected: the item is greyed and the pick is refused, naming the item.
  ASSERT_TRUE(PickFromMenu(364, L"すべて選択"));
  EXPECT_TRUE(session.stopped());
  EXPECT_NE(session.stop_reason().find(L"\"すべて選択(&A)\" is greyed"), std::wstring::npos)
      << session.stop_reason();
  EXPECT_TRUE(owner.received.empty());
}

TEST_F(MenuEditTest, SizeDetailAsksTheOwnerForTheRowAndHighlightsUntilCleared) {
  const Colours normal{GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW),
                       GetSysColor(COLOR_WINDOW)};
  const Colours highlighted{RGB(0, 0, 0), RGB(255, 255, 0), RGB(255, 255, 0)};
  const Colours disabled{GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_BTNFACE),
                         GetSysColor(COLOR_BTNFACE)};
  edit.SetOwnerRow(&owner, 7);
  edit.SetWindowText(L"CVT60sq E14");
  edit.SetSel(2, 2);
  EXPECT_EQ(ColoursOf(edit), normal);

  ASSERT_TRUE(PickFromMenu(364, L"サイズ詳細"));
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].message, 0x3403u);
  EXPECT_EQ(owner.received[0].wParam, 7u);
  EXPECT_EQ(owner.received[0].lParam, 0);
  EXPECT_EQ(SelStart(), 0);
  EXPECT_EQ(SelEnd(), 11);
  EXPECT_TRUE(edit.IsHighlighted());
  EXPECT_EQ(ColoursOf(edit), highlighted);

  // Disabled wins while it lasts; the highlight comes back with the edit.
  edit.EnableWindow(FALSE);
  EXPECT_EQ(ColoursOf(edit), disabled);
  edit.EnableWindow(TRUE);
  EXPECT_EQ(ColoursOf(edit), highlighted);

  const int redraws = platform::mfc::FindWindowRecord(edit.m_hWnd)->invalidations;
  edit.ClearHighlight();
  EXPECT_EQ(platform::mfc::FindWindowRecord(edit.m_hWnd)->invalidations, redraws + 1);
  EXPECT_EQ(ColoursOf(edit), normal);
  EXPECT_EQ(owner.received.size(), 1u);
}

TEST_F(MenuEditTest, SizeDetailWithoutOwnerOrWhenReadOnlyAsksNothing) {
  edit.SetWindowText(L"CVT60sq E14");
  edit.SetSel(2, 5);
  ASSERT_TRUE(PickFromMenu(364, L"サイズ詳細"));
  EXPECT_FALSE(session.stopped());
  EXPECT_TRUE(owner.received.empty());
  EXPECT_EQ(SelStart(), 2);  // the selection stays as it was
  EXPECT_EQ(SelEnd(), 5);
  EXPECT_FALSE(edit.IsHighlighted());
  EXPECT_EQ(ColoursOf(edit).background, GetSysColor(COLOR_WINDOW));

  edit.SetOwnerRow(&owner, 3);
  edit.SetReadOnly(TRUE);
  ASSERT_TRUE(PickFromMenu(364, L"サイズ詳細"));
  EXPECT_TRUE(session.stopped());
  EXPECT_NE(session.stop_reason().find(L"\"サイズ詳細(&S)\" is greyed"), std::wstring::npos)
      << session.stop_reason();
  platform::mfc::PumpPostedMessages();
  EXPECT_TRUE(owner.received.empty());
  EXPECT_FALSE(edit.IsHighlighted());
}

}  // namespace
}  // namespace controls_test
