// The queue-fed user session: order of actions, typed answers first, stop and transcript lines.
#include "platform/win/user_session.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

UserAction Act(ActionKind kind, std::wstring text = L"") {
  UserAction a;
  a.kind = kind;
  a.text = std::move(text);
  return a;
}

TEST(ActionQueueSessionTest, TypedAnswersComeBeforeQueuedActionsAndStopEndsInput) {
  ActionQueueSession s;
  ScopedUserSession scope(&s);
  s.Push(Act(ActionKind::kEnter));
  s.PushFront({Act(ActionKind::kTyped, L"10,20"), Act(ActionKind::kTyped, L"")});
  ASSERT_NE(PeekAction(), nullptr);
  EXPECT_EQ(PeekAction()->text, L"10,20");
  TakeAction();
  EXPECT_EQ(PeekAction()->kind, ActionKind::kTyped);
  TakeAction();
  EXPECT_EQ(PeekAction()->kind, ActionKind::kEnter);

  StopSession(kExitScriptMismatch, L"question box without an answer");
  StopSession(kExitExpectFailed, L"later reason is ignored");
  EXPECT_EQ(PeekAction(), nullptr);
  EXPECT_EQ(s.exit_code(), kExitScriptMismatch);
  EXPECT_EQ(s.stop_reason(), L"question box without an answer");
}

TEST(ActionQueueSessionTest, EventsStandOnLinesOfTheirOwn) {
  ActionQueueSession s;
  ScopedUserSession scope(&s);
  PrintText(L"\n配線経路を選択:");
  PrintEvent(L"[dialog 202 新規プロジェクト]");
  PrintEvent(L"[end dialog 202 IDOK]");
  EXPECT_EQ(s.transcript(),
            L"\n配線経路を選択:\n[dialog 202 新規プロジェクト]\n[end dialog 202 IDOK]\n");
}

TEST(ActionQueueSessionTest, NothingInstalledMeansNoInputAndNoWindowTakesActions) {
  ASSERT_EQ(CurrentUserSession(), nullptr);
  EXPECT_EQ(PeekAction(), nullptr);
  PrintText(L"dropped");
  UserAction click = Act(ActionKind::kClick);
  click.control = 1;
  EXPECT_TRUE(click.IsWindowAction());
  EXPECT_FALSE(click.IsEditorAction());
  EXPECT_FALSE(DeliverWindowAction(click));
  EXPECT_EQ(click.Describe(), L"click 1");
}

}  // namespace
}  // namespace platform
