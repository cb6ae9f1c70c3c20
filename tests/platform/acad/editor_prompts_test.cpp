// The command line's prompts answered by each kind of scripted action, with the transcript.
#include <gtest/gtest.h>

#include <vector>

#include <acedads.h>
#include "editor_test_support.h"
#include "platform/win/user_session.h"

namespace {

using namespace editor_test;

class PromptTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::TakeCancelRequest(); }
  void TearDown() override {
    platform::SetWindowActionHandler(nullptr);
    platform::TakeCancelRequest();
  }
  platform::ActionQueueSession session_;
  platform::ScopedUserSession scoped_{&session_};
};

TEST_F(PromptTest, PointsFromPointsPicksAndTypedCoordinates) {
  session_.Push(Point(10, 20));
  session_.Push(Typed(L"3,4,5"));
  session_.Push(PickAt(-7.5, 8));
  session_.Push(Typed(L" 1.5 , 2 "));
  ads_point p;
  ASSERT_EQ(acedGetPoint(nullptr, L"\n始点:", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[0], 10);
  EXPECT_DOUBLE_EQ(p[1], 20);
  EXPECT_DOUBLE_EQ(p[2], 0);
  ASSERT_EQ(acedGetPoint(nullptr, L"\n終点:", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[2], 5);
  ASSERT_EQ(acedGetPoint(nullptr, L"\n点:", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[0], -7.5);
  EXPECT_DOUBLE_EQ(p[1], 8);
  ASSERT_EQ(acedGetPoint(nullptr, L"\n点:", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[0], 1.5);
  EXPECT_DOUBLE_EQ(p[1], 2);
  // Points shown by pointing end the line; typed ones are echoed.
  EXPECT_EQ(session_.transcript(), L"\n始点:\n\n終点:3,4,5\n\n点:\n\n点: 1.5 , 2 \n");
}

TEST_F(PromptTest, RelativePointsCornersAndBadCoordinates) {
  session_.Push(Typed(L"@5,-1"));
  session_.Push(Typed(L"abc"));
  session_.Push(Typed(L"1,2,3,4"));
  session_.Push(Typed(L"@2,2"));
  const ads_point base = {10, 10, 1};
  ads_point p;
  ASSERT_EQ(acedGetPoint(base, L"次の点:", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[0], 15);
  EXPECT_DOUBLE_EQ(p[1], 9);
  EXPECT_DOUBLE_EQ(p[2], 1);
  // Two refused answers, each complained about, then the corner.
  ASSERT_EQ(acedGetCorner(base, L"対角:", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[0], 12);
  EXPECT_EQ(session_.transcript(),
            L"次の点:@5,-1\n対角:abc\n点またはオプション キーワードが必要です。\n"
            L"対角:1,2,3,4\n点またはオプション キーワードが必要です。\n対角:@2,2\n");
  EXPECT_FALSE(session_.stopped());
}

TEST_F(PromptTest, EnterEscAndTheEndOfInput) {
  session_.Push(Enter());
  session_.Push(Typed(L""));
  session_.Push(Esc());
  ads_point p;
  EXPECT_EQ(acedGetPoint(nullptr, L"A:", p), RTNONE);
  EXPECT_EQ(acedGetPoint(nullptr, L"B:", p), RTNONE);
  EXPECT_EQ(acedGetPoint(nullptr, L"C:", p), RTCAN);
  EXPECT_EQ(acedGetPoint(nullptr, L"D:", p), RTCAN);  // nothing left to answer
  EXPECT_EQ(session_.transcript(), L"A:\nB:\nC:\n*キャンセル*\nD:");
  EXPECT_FALSE(session_.stopped());
}

TEST_F(PromptTest, WindowActionsGoToTheWindowsWhileThePromptWaits) {
  std::vector<int> delivered;
  platform::SetWindowActionHandler([&](const platform::UserAction& a) {
    delivered.push_back(a.control);
    return true;
  });
  session_.Push(Click(341));
  session_.Push(Click(342));
  session_.Push(Point(1, 2));
  ads_point p;
  ASSERT_EQ(acedGetPoint(nullptr, L"点:", p), RTNORM);
  EXPECT_EQ(delivered, (std::vector<int>{341, 342}));
  EXPECT_DOUBLE_EQ(p[1], 2);
  EXPECT_EQ(session_.pending(), 0u);
}

TEST_F(PromptTest, AWindowThatCancelsTheCommandLineEndsThePrompt) {
  platform::SetWindowActionHandler([](const platform::UserAction&) {
    platform::RequestCancel();
    return true;
  });
  session_.Push(Click(2));
  session_.Push(Point(1, 2));
  ads_point p;
  EXPECT_EQ(acedGetPoint(nullptr, L"点:", p), RTCAN);
  EXPECT_EQ(session_.transcript(), L"点:\n*キャンセル*\n");
  EXPECT_EQ(session_.pending(), 1u);  // the point is left for whatever asks next
  EXPECT_FALSE(session_.stopped());
}

TEST_F(PromptTest, ActionsThatCannotAnswerStopTheSession) {
  session_.Push(Command(L"LINE", 12));
  ads_point p;
  EXPECT_EQ(acedGetPoint(nullptr, L"\n点:", p), RTCAN);
  EXPECT_TRUE(session_.stopped());
  EXPECT_EQ(session_.exit_code(), platform::kExitScriptMismatch);
  EXPECT_NE(session_.stop_reason().find(L"line 12"), std::wstring::npos) << session_.stop_reason();
  EXPECT_NE(session_.stop_reason().find(L"command LINE"), std::wstring::npos);

  platform::ActionQueueSession other;
  platform::ScopedUserSession scoped(&other);
  other.Push(Pick({0x2A}, 3));
  EXPECT_EQ(acedGetPoint(nullptr, L"\n点:", p), RTCAN);
  EXPECT_TRUE(other.stopped());

  // A window action that no window takes is a mismatch as well.
  platform::ActionQueueSession third;
  platform::ScopedUserSession scoped3(&third);
  platform::SetWindowActionHandler([](const platform::UserAction&) { return false; });
  third.Push(Click(7, 4));
  EXPECT_EQ(acedGetPoint(nullptr, L"\n点:", p), RTCAN);
  EXPECT_TRUE(third.stopped());
  EXPECT_NE(third.stop_reason().find(L"line 4"), std::wstring::npos);
}

TEST_F(PromptTest, CursorMovesAnswerNothing) {
  session_.Push(Move(5, 5));
  session_.Push(Point(1, 1));
  ads_point p;
  ASSERT_EQ(acedGetPoint(nullptr, L"点:", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[0], 1);
}

TEST_F(PromptTest, StringsIntegersRealsAndKeywords) {
  session_.Push(Typed(L"盤 A-1"));
  session_.Push(Enter());
  session_.Push(Typed(L"x"));
  session_.Push(Typed(L"40000"));
  session_.Push(Typed(L"-12"));
  session_.Push(Typed(L"2.5e1"));
  session_.Push(Typed(L"re"));
  session_.Push(Typed(L"Q"));
  session_.Push(Typed(L"y"));
  ACHAR text[64];
  ASSERT_EQ(acedGetString(1, L"名前:", text, 64), RTNORM);
  EXPECT_STREQ(text, L"盤 A-1");
  // Enter answers a string prompt with an empty string, not with RTNONE.
  ASSERT_EQ(acedGetString(0, L"名前:", text, 64), RTNORM);
  EXPECT_STREQ(text, L"");
  int i = 0;
  ASSERT_EQ(acedGetInt(L"数:", &i), RTNORM);
  EXPECT_EQ(i, -12);
  ads_real r = 0;
  ASSERT_EQ(acedGetReal(L"実数:", &r), RTNORM);
  EXPECT_DOUBLE_EQ(r, 25);
  acedInitGet(0, L"REtry Quit");
  ASSERT_EQ(acedGetPoint(nullptr, L"点:", nullptr), RTKWORD);
  ASSERT_EQ(acedGetInput(text, 64), RTNORM);
  EXPECT_STREQ(text, L"REtry");
  acedInitGet(0, L"Yes No");
  ASSERT_EQ(acedGetKword(L"?", text, 64), RTNORM);  // "Q" is refused, "y" is Yes
  EXPECT_STREQ(text, L"Yes");
  EXPECT_EQ(session_.transcript(),
            L"名前:盤 A-1\n名前:\n数:x\n-32768 から 32767 までの整数を入力してください。\n"
            L"数:40000\n-32768 から 32767 までの整数を入力してください。\n数:-12\n"
            L"実数:2.5e1\n点:re\n?Q\n無効なオプション キーワードです。\n?y\n");
}

TEST_F(PromptTest, AStringLongerThanTheBufferIsAnError) {
  session_.Push(Typed(L"abcdef"));
  ACHAR text[4];
  EXPECT_EQ(acedGetString(1, L"", text, 4), RTERROR);
}

}  // namespace
