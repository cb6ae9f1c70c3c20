// The host's UI windows: the command line's Esc, the palette set hosting a dialog, roll-up and
// opacity, and the keep-focus message id.
#include <acui.h>

#include <gtest/gtest.h>

#include "platform/win/user_session.h"
#include "platform/mfc/window_system.h"

namespace {

TEST(AcUi, EscOnTheCommandLineCancelsThePrompt) {
  platform::TakeCancelRequest();
  CWnd* line = acedGetAcadTextCmdLine();
  ASSERT_NE(line, nullptr);
  line->SendMessage(WM_CHAR, 'a');
  EXPECT_FALSE(platform::TakeCancelRequest());
  line->PostMessage(WM_CHAR, 27);
  EXPECT_FALSE(platform::TakeCancelRequest());  // not before the pump
  platform::mfc::PumpPostedMessages();
  EXPECT_TRUE(platform::TakeCancelRequest());
  EXPECT_EQ(::GetParent(adsw_acadDocWnd()), adsw_acadMainWnd());
  EXPECT_EQ(WM_ACAD_KEEPFOCUS, 0x400 + 0x6D01);
}

TEST(AcUi, PaletteSetHostsAWindowAndFollowsTheFrame) {
  CAdUiPaletteSet set;
  ASSERT_TRUE(set.Create(L"複数配線", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 600),
                         CWnd::FromHandle(adsw_acadMainWnd())));
  EXPECT_FALSE(set.Create(L"again", 0, CRect(), nullptr));
  EXPECT_EQ(set.GetName(), L"複数配線");
  CWnd page;
  page.Create(L"Page", L"", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0);
  ASSERT_TRUE(set.HostDialog(&page));
  EXPECT_FALSE(page.IsWindowVisible());  // the set is still hidden
  acedGetAcadFrame()->ShowControlBar(&set, TRUE, TRUE);
  EXPECT_TRUE(page.IsWindowVisible());
  acedGetAcadFrame()->ShowControlBar(&set, FALSE, TRUE);
  EXPECT_FALSE(set.IsWindowVisible());
  EXPECT_EQ(set.GetOpacity(), 100);
  EXPECT_TRUE(set.SetOpacity(40));
  EXPECT_FALSE(set.SetOpacity(101));
  EXPECT_EQ(set.GetOpacity(), 40);
  EXPECT_FALSE(set.GetAutoRollup());
  set.SetAutoRollup(TRUE);
  EXPECT_TRUE(set.GetAutoRollup());
  set.DestroyWindow();
  EXPECT_FALSE(::IsWindow(page.m_hWnd));  // destroyed with its host
}

}  // namespace
