// The window system: posted messages and PreTranslateMessage, timers at idle, focus
// notifications, reflected notifications and control colours.
#include "platform/mfc/window_system.h"

#include <gtest/gtest.h>

#include "mfc_support.h"

namespace {

class CCounter : public CWnd {
 public:
  std::vector<std::wstring> log;
  bool swallow_char = false;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (swallow_char && msg->message == WM_CHAR) return TRUE;
    return FALSE;
  }

 protected:
  afx_msg void OnTimer(UINT_PTR id) {
    log.push_back(L"timer " + std::to_wstring(id));
    if (id == 2) KillTimer(2);
  }
  afx_msg void OnChar(UINT ch, UINT, UINT) { log.push_back(L"char " + std::to_wstring(ch)); }
  afx_msg LRESULT OnApp(WPARAM w, LPARAM) {
    log.push_back(L"app " + std::to_wstring(w));
    PostMessage(WM_APP + 1, w + 1);
    return 0;
  }
  afx_msg LRESULT OnApp1(WPARAM w, LPARAM) {
    log.push_back(L"app1 " + std::to_wstring(w));
    return 0;
  }
  afx_msg void OnEditFocus() { log.push_back(L"setfocus"); }
  afx_msg void OnEditKill() { log.push_back(L"killfocus"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCounter, CWnd)
ON_WM_TIMER()
ON_WM_CHAR()
ON_MESSAGE(WM_APP, &CCounter::OnApp)
ON_MESSAGE(WM_APP + 1, &CCounter::OnApp1)
ON_EN_SETFOCUS(3, &CCounter::OnEditFocus)
ON_EN_KILLFOCUS(3, &CCounter::OnEditKill)
END_MESSAGE_MAP()

class CYellowEdit : public CEdit {
 public:
  CBrush brush{RGB(255, 255, 0)};
  bool reflected_change = false;

 protected:
  afx_msg HBRUSH CtlColor(CDC* dc, UINT) {
    dc->SetTextColor(RGB(0, 0, 0));
    dc->SetBkColor(RGB(255, 255, 0));
    return brush;
  }
  afx_msg void OnReflectedChange() { reflected_change = true; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CYellowEdit, CEdit)
ON_WM_CTLCOLOR_REFLECT()
ON_CONTROL_REFLECT(EN_CHANGE, &CYellowEdit::OnReflectedChange)
END_MESSAGE_MAP()

class WindowSystemTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::mfc::ResetWindowSystem(); }
};

TEST_F(WindowSystemTest, PostedMessagesRunInOrderAtThePump) {
  CCounter w;
  w.Create(L"Counter", L"", WS_VISIBLE, CRect(0, 0, 10, 10), nullptr, 0);
  w.PostMessage(WM_APP, 1);
  w.PostMessage(WM_CHAR, 27);
  EXPECT_TRUE(w.log.empty());
  w.swallow_char = true;
  EXPECT_EQ(platform::mfc::PumpPostedMessages(), 3);
  EXPECT_EQ(w.log, (std::vector<std::wstring>{L"app 1", L"app1 2"}));
  w.swallow_char = false;
  w.PostMessage(WM_CHAR, 27);
  w.DestroyWindow();
  EXPECT_EQ(platform::mfc::PumpPostedMessages(), 0);  // dropped with its window
  EXPECT_FALSE(PostMessageW(w.m_hWnd, WM_APP, 0, 0));
}

TEST_F(WindowSystemTest, TimersFireOnceEachWhenIdle) {
  CCounter w;
  w.Create(L"Counter", L"", WS_VISIBLE, CRect(0, 0, 10, 10), nullptr, 0);
  w.SetTimer(1, 80);
  w.SetTimer(2, 80);
  platform::mfc::RunIdle();
  EXPECT_EQ(w.log, (std::vector<std::wstring>{L"timer 1", L"timer 2"}));
  platform::mfc::RunIdle();
  EXPECT_EQ(w.log.back(), L"timer 1");
  EXPECT_EQ(w.log.size(), 3u);  // timer 2 killed itself
  EXPECT_TRUE(w.KillTimer(1));
  EXPECT_FALSE(w.KillTimer(1));
  EXPECT_EQ(platform::mfc::FireTimers(), 0);
}

TEST_F(WindowSystemTest, FocusNotifiesTheParentAndReflectionReachesTheControl) {
  CCounter parent;
  parent.Create(L"Counter", L"", WS_VISIBLE, CRect(0, 0, 100, 100), nullptr, 0);
  CYellowEdit edit;
  edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 3);
  CEdit other;
  other.Create(WS_CHILD | WS_VISIBLE, CRect(0, 30, 50, 50), &parent, 4);
  edit.SetFocus();
  other.SetFocus();
  EXPECT_EQ(parent.log, (std::vector<std::wstring>{L"setfocus", L"killfocus"}));
  EXPECT_EQ(CWnd::GetFocus(), &other);
  edit.SetWindowText(L"x");
  EXPECT_TRUE(edit.reflected_change);
  COLORREF text = 1, back = 1;
  HBRUSH brush = platform::mfc::QueryControlColors(edit.m_hWnd, &text, &back);
  EXPECT_EQ(brush, static_cast<HBRUSH>(edit.brush));
  EXPECT_EQ(back, RGB(255, 255, 0));
  platform::mfc::QueryControlColors(other.m_hWnd, &text, &back);
  EXPECT_EQ(back, GetSysColor(COLOR_WINDOW));
  other.EnableWindow(FALSE);
  EXPECT_EQ(CWnd::GetFocus(), nullptr);
  EXPECT_FALSE(other.IsWindowEnabled());
}

TEST_F(WindowSystemTest, AHiddenParentHidesItsChildrenButNotThePopupsItOwns) {
  CWnd frame;
  frame.Create(L"Frame", L"", WS_VISIBLE, CRect(0, 0, 100, 100), nullptr, 0);
  CWnd child;
  child.Create(L"Child", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &frame, 1);
  HWND tip =
      CreateWindowExW(WS_EX_TOPMOST, L"tooltips_class32", nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, child.m_hWnd, nullptr, nullptr, nullptr);
  ShowWindow(tip, SW_SHOWNA);
  EXPECT_TRUE(child.IsWindowVisible());
  EXPECT_TRUE(IsWindowVisible(tip));
  frame.ShowWindow(SW_HIDE);
  EXPECT_FALSE(child.IsWindowVisible());
  EXPECT_TRUE(IsWindowVisible(tip));  // a tooltip is a popup: its owner does not hide it
  EXPECT_EQ(GetWindowLongPtrW(tip, GWL_STYLE) & (WS_POPUP | WS_BORDER | WS_CHILD),
            WS_POPUP | WS_BORDER);
}

}  // namespace
