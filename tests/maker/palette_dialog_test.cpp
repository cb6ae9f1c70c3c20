// CPaletteDialog: the dialog shown inside the palette set.
#include <gtest/gtest.h>

#include <PaletteDialog.h>

namespace {

TEST(PaletteDialogTest, DoModelessShowsTheSetWithTheDialogInside) {
  CWnd frame;
  ASSERT_TRUE(frame.Create(nullptr, L"AutoCAD", WS_VISIBLE, RECT{0, 0, 800, 600}, nullptr, 0));
  CWnd dialog;
  ASSERT_TRUE(
      dialog.Create(nullptr, L"複数配線情報設定", WS_POPUP, RECT{0, 0, 300, 400}, nullptr, 0));
  CPaletteDialog palette(&dialog, 1);
  palette.DoModeless();  // before Create: nothing to show yet
  EXPECT_EQ(nullptr, palette.GetHostedDialog());

  ASSERT_TRUE(palette.Create(L"複数配線", WS_VISIBLE | WS_DLGFRAME, RECT{0, 0, 0, 0}, &frame, 14));
  EXPECT_FALSE(palette.IsWindowVisible());
  palette.DoModeless();
  EXPECT_TRUE(palette.IsWindowVisible());
  EXPECT_TRUE(dialog.IsWindowVisible());
  EXPECT_EQ(&dialog, palette.GetHostedDialog());
  EXPECT_EQ(&palette, dialog.GetParent());
  EXPECT_STREQ(L"複数配線", palette.GetName());
  palette.SetAutoRollup(TRUE);
  EXPECT_TRUE(palette.GetAutoRollup());
  EXPECT_TRUE(palette.SetOpacity(60));
  EXPECT_EQ(60, palette.GetOpacity());

  palette.DestroyWindow();
  dialog.DestroyWindow();
  frame.DestroyWindow();
}

}  // namespace
