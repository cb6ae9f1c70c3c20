// The tips of CXTipComboBox and CXTipListBox: when they show, what and where, in which colours,
// and how the 80 ms timer takes them away; the combo box's drop-down list as a tip list.
#include <gtest/gtest.h>

#include <afxcmn.h>

#include "controls/xtip_combo_box.h"
#include "controls/xtip_list_box.h"
#include "controls_support.h"
#include "platform/mfc/window_system.h"

namespace controls_test {
namespace {

using platform::mfc::FindWindowRecord;

struct Tip {
  bool shown = false;
  std::wstring text;
  CRect rect;
  COLORREF text_colour = 0, background = 0;
};

Tip ReadTip(HWND tip, HWND control) {
  Tip t;
  t.shown = ::IsWindowVisible(tip);
  wchar_t buffer[256] = {};
  TOOLINFO info{};
  info.cbSize = sizeof(info);
  info.hwnd = control;
  info.lpszText = buffer;
  ::SendMessage(tip, TTM_GETTEXT, 256, reinterpret_cast<LPARAM>(&info));
  t.text = buffer;
  ::GetWindowRect(tip, &t.rect);
  t.text_colour = static_cast<COLORREF>(::SendMessage(tip, TTM_GETTIPTEXTCOLOR, 0, 0));
  t.background = static_cast<COLORREF>(::SendMessage(tip, TTM_GETTIPBKCOLOR, 0, 0));
  return t;
}

bool HasTimer(HWND window, UINT_PTR id, UINT elapse) {
  const auto& timers = FindWindowRecord(window)->timers;
  auto it = timers.find(id);
  return it != timers.end() && it->second.elapse == elapse;
}

class TipControlsTest : public ControlTest {};

TEST_F(TipControlsTest, TooltipsAreMadeWithTheirStylesMarginsAndWidthAndGoWithTheirControl) {
  CXTipComboBox box;
  ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 20, 130, 200), &owner, 1));
  CXTipListBox list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(10, 220, 109, 280), &owner, 2));
  for (HWND tip : {box.GetToolTip(), list.GetToolTip()}) {
    const platform::mfc::WindowRecord* r = FindWindowRecord(tip);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->class_name, L"tooltips_class32");
    EXPECT_TRUE(r->ex_style & WS_EX_TOPMOST);
    EXPECT_EQ(r->style & (TTS_NOPREFIX | TTS_ALWAYSTIP), DWORD(TTS_NOPREFIX | TTS_ALWAYSTIP));
    EXPECT_EQ(::SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(::SendMessage(tip, TTM_GETMAXTIPWIDTH, 0, 0), 32767);
    RECT margin{};
    ::SendMessage(tip, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    EXPECT_EQ(CRect(margin), CRect(0, -1, 0, -1));
    EXPECT_FALSE(::IsWindowVisible(tip));
  }
  // The list's tip lies flush on its item: no border.
  EXPECT_TRUE(FindWindowRecord(box.GetToolTip())->style & WS_BORDER);
  EXPECT_FALSE(FindWindowRecord(list.GetToolTip())->style & WS_BORDER);
  // The tooltips go with their controls.
  HWND tip = box.GetToolTip();
  box.DestroyWindow();
  EXPECT_FALSE(::IsWindow(tip));
}

TEST_F(TipControlsTest, ComboTipShowsATextWiderThanTheTestRectangleLessSix) {
  // 120 pixels wide: the test rectangle leaves out 17 + 2 for the button, so it is 101 wide,
  // and a text of more than 95 pixels needs the tip.
  CXTipComboBox box;
  ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 20, 130, 200), &owner, 1));
  HWND tip = box.GetToolTip();

  box.SetWindowText(L"ABCDEFGHIJKLMNO");  // 15 × 6 = 90
  platform::mfc::MoveMouse(box, POINT{50, 5});
  EXPECT_FALSE(ReadTip(tip, box).shown);
  box.SetWindowText(L"配線サイズ詳細設");  // 8 × 12 = 96: one pixel too wide
  platform::mfc::MoveMouse(box, POINT{50, 5});
  Tip t = ReadTip(tip, box);
  ASSERT_TRUE(t.shown);
  EXPECT_EQ(t.text, L"配線サイズ詳細設");
  // At the rectangle's left + 1, top + 3 on the screen (owner at 100, 50; box at 10, 20), as
  // large as the text with the margins (top and bottom -1) and the one-pixel border.
  EXPECT_EQ(t.rect, CRect(111, 73, 111 + 96 + 2, 73 + 12 - 2 + 2));
  EXPECT_EQ(t.text_colour, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(t.background, GetSysColor(COLOR_WINDOW));
  EXPECT_TRUE(HasTimer(box, 1, 80));

  // The last pixel of the test rectangle still shows it; the drop-down button hides it.
  platform::mfc::MoveMouse(box, POINT{100, 5});
  EXPECT_TRUE(ReadTip(tip, box).shown);
  platform::mfc::MoveMouse(box, POINT{101, 5});
  EXPECT_FALSE(ReadTip(tip, box).shown);

  // With the keyboard focus the tip takes the highlight colours.
  box.SetFocus();
  platform::mfc::MoveMouse(box, POINT{50, 5});
  t = ReadTip(tip, box);
  EXPECT_TRUE(t.shown);
  EXPECT_EQ(t.text_colour, GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(t.background, GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(TipControlsTest, ComboTimerTakesTheTipAwayOnceTheCursorHasLeft) {
  CXTipComboBox box;
  ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 20, 130, 200), &owner, 1));
  HWND tip = box.GetToolTip();
  box.SetWindowText(L"P-1,L-1,L-2,L-3,L-4");
  platform::mfc::MoveMouse(box, POINT{20, 5});
  ASSERT_TRUE(ReadTip(tip, box).shown);

  platform::mfc::RunIdle();  // the cursor is still over the box
  EXPECT_TRUE(ReadTip(tip, box).shown);
  EXPECT_TRUE(HasTimer(box, 1, 80));

  // The cursor leaves without a mouse move reaching the box (it went to another window).
  ::SetCursorPos(100 + 10 + 101, 50 + 20 + 5);  // over the drop-down button
  platform::mfc::RunIdle();
  EXPECT_FALSE(ReadTip(tip, box).shown);
  EXPECT_FALSE(HasTimer(box, 1, 80));
}

TEST_F(TipControlsTest, ListTipLiesOverAnItemWiderThanTheListLessThree) {
  // 98 pixels wide: an item text of more than 95 pixels needs the tip. Items are 16 high.
  CXTipListBox list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(10, 20, 108, 200), &owner, 2));
  list.AddString(L"ABCDEFGHIJKLMNO");   // 90: fits
  list.AddString(L"ABCDEFGHIJKLMNOP");  // 96: one pixel too wide
  list.AddString(L"短い");
  HWND tip = list.GetToolTip();

  platform::mfc::MoveMouse(list, POINT{20, 5});
  EXPECT_FALSE(ReadTip(tip, list).shown);
  platform::mfc::MoveMouse(list, POINT{20, 16 + 5});
  Tip t = ReadTip(tip, list);
  ASSERT_TRUE(t.shown);
  EXPECT_EQ(t.text, L"ABCDEFGHIJKLMNOP");
  // At the item's top-left corner on the screen, without a border.
  EXPECT_EQ(t.rect, CRect(110, 86, 110 + 96, 86 + 12 - 2));
  EXPECT_EQ(t.text_colour, GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(t.background, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_TRUE(HasTimer(list, 1, 80));

  // Below the last item nothing changes; back on a fitting item the tip goes.
  platform::mfc::MoveMouse(list, POINT{20, 3 * 16 + 5});
  EXPECT_TRUE(ReadTip(tip, list).shown);
  platform::mfc::MoveMouse(list, POINT{20, 5});
  EXPECT_FALSE(ReadTip(tip, list).shown);
  platform::mfc::MoveMouse(list, POINT{20, 16 + 5});
  EXPECT_TRUE(ReadTip(tip, list).shown);
  platform::mfc::MoveMouse(list, POINT{-3, 16 + 5});
  EXPECT_FALSE(ReadTip(tip, list).shown);

  // The timer: nothing while the cursor is inside and the list visible; the tip goes when the
  // list is hidden (the drop-down closed).
  platform::mfc::MoveMouse(list, POINT{20, 16 + 5});
  platform::mfc::RunIdle();
  EXPECT_TRUE(ReadTip(tip, list).shown);
  list.ShowWindow(SW_HIDE);
  platform::mfc::RunIdle();
  EXPECT_FALSE(ReadTip(tip, list).shown);
  EXPECT_FALSE(HasTimer(list, 1, 80));
}

TEST_F(TipControlsTest, ComboDropListBecomesATipListOnItsFirstColourRequestUntilDestroyed) {
  CXTipComboBox box;
  ASSERT_TRUE(
      box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(10, 20, 76, 200), &owner, 230));
  box.AddString(L"動力幹線 CVT60sq");
  box.AddString(L"電灯");
  EXPECT_EQ(box.DropList().m_hWnd, nullptr);
  box.ShowDropDown(TRUE);
  HWND list = FindWindowRecord(box.m_hWnd)->drop_list;
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(box.DropList().m_hWnd, list);
  EXPECT_EQ(CWnd::FromHandlePermanent(list), &box.DropList());
  HWND list_tip = box.DropList().GetToolTip();
  ASSERT_TRUE(::IsWindow(list_tip));
  // The widened list has room for every item: no tip over it.
  platform::mfc::MoveMouse(list, POINT{20, 5});
  EXPECT_FALSE(::IsWindowVisible(list_tip));
  box.ShowDropDown(FALSE);
  box.ShowDropDown(TRUE);  // the same list, not subclassed twice
  EXPECT_EQ(box.DropList().GetToolTip(), list_tip);

  box.DestroyWindow();
  EXPECT_EQ(box.DropList().m_hWnd, nullptr);
  EXPECT_FALSE(::IsWindow(list));
  EXPECT_FALSE(::IsWindow(list_tip));
}

}  // namespace
}  // namespace controls_test
