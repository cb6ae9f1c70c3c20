// The colour dialog answered by `colour N`, cancelled by `colour`, and refused otherwise.
#include <gtest/gtest.h>

#include <aced.h>
#include "platform/acad/colour_dialog.h"
#include "editor_test_support.h"
#include "platform/win/user_session.h"

namespace {

using namespace editor_test;

TEST(ColourDialogTest, AnswersAndCancel) {
  platform::ActionQueueSession session;
  platform::ScopedUserSession scoped(&session);
  session.Push(Colour({3}));
  session.Push(Colour({}));
  int colour = 1;
  EXPECT_TRUE(acedSetColorDialog(colour, false, 0));
  EXPECT_EQ(colour, 3);
  EXPECT_FALSE(acedSetColorDialog(colour, false, 0));
  EXPECT_EQ(colour, 3);                                // a cancelled dialog leaves the colour alone
  EXPECT_FALSE(acedSetColorDialog(colour, false, 0));  // no answer left: cancelled
  EXPECT_EQ(session.transcript(),
            L"[colour dialog] 3\n[colour dialog] cancelled\n[colour dialog] cancelled\n");
  EXPECT_FALSE(session.stopped());
}

TEST(ColourDialogTest, MetaColoursOnlyWhenAllowed) {
  platform::ActionQueueSession session;
  platform::ScopedUserSession scoped(&session);
  session.Push(Colour({256}));
  session.Push(Colour({0}));
  int colour = 1;
  EXPECT_TRUE(acedSetColorDialog(colour, true, 0));
  EXPECT_EQ(colour, 256);
  EXPECT_FALSE(acedSetColorDialog(colour, false, 0));
  EXPECT_EQ(colour, 256);
  EXPECT_TRUE(session.stopped());
}

TEST(ColourDialogTest, AnyOtherActionIsAMismatch) {
  platform::ActionQueueSession session;
  platform::ScopedUserSession scoped(&session);
  session.Push(Click(1, 9));
  int colour = 5;
  EXPECT_FALSE(acedSetColorDialog(colour, false, 0));
  EXPECT_EQ(colour, 5);
  EXPECT_EQ(session.exit_code(), platform::kExitScriptMismatch);
  EXPECT_NE(session.stop_reason().find(L"line 9"), std::wstring::npos);
}

TEST(ColourDialogTest, DisplayUpdatesAreCounted) {
  platform::acad::ResetDisplayUpdateCount();
  acedUpdateDisplay();
  acedUpdateDisplay();
  EXPECT_EQ(platform::acad::DisplayUpdateCount(), 2);
}

}  // namespace
