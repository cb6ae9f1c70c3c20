// The scripted user: directives handled on the way to the next action, lazy line input,
// streaming of the transcript.
#include "host/user/scripted_user.h"

#include <gtest/gtest.h>

namespace host {
namespace {

using platform::ActionKind;

TEST(ScriptedUserTest, ExpectLooksOnlyAtTheTranscriptSinceThePreviousExpect) {
  ScriptedUser user;
  platform::ScopedUserSession scope(&user);
  user.Add(ReadScript(L"expect hello\nenter\nexpect hello\nenter").steps);
  platform::PrintText(L"hello world");
  ASSERT_NE(platform::PeekAction(), nullptr);  // the first expect passes
  EXPECT_EQ(platform::PeekAction()->kind, ActionKind::kEnter);
  platform::TakeAction();
  platform::PrintText(L"goodbye");
  EXPECT_EQ(platform::PeekAction(), nullptr);  // "hello" came before the previous expect
  EXPECT_EQ(user.exit_code(), platform::kExitExpectFailed);
  EXPECT_EQ(user.stop_reason(), L"line 3: expected text not found in the transcript: \"hello\"");
}

TEST(ScriptedUserTest, TrailingExpectIsCheckedAtTheEndOfTheInput) {
  ScriptedUser user;
  platform::ScopedUserSession scope(&user);
  user.Add(steps::Expect(L"done"));
  platform::PrintText(L"all done\n");
  EXPECT_EQ(platform::PeekAction(), nullptr);
  EXPECT_FALSE(user.stopped());
}

TEST(ScriptedUserTest, AnImmediatePeekRunsNothingThatComesBeforeTheNextAction) {
  ScriptedUser user;
  platform::ScopedUserSession scope(&user);
  user.Add({steps::Expect(L"saved"), steps::Answer(L"ok"), steps::Enter()});
  // A box that only needs acknowledging looks: the check after it must wait for its text.
  EXPECT_EQ(platform::PeekImmediateAction(), nullptr);
  EXPECT_FALSE(user.stopped());
  platform::PrintEvent(L"[box information] saved → OK");
  // Then the check runs on the way to the next action, and an action at the front is taken.
  ASSERT_NE(platform::PeekAction(), nullptr);
  EXPECT_FALSE(user.stopped());
  ASSERT_NE(platform::PeekImmediateAction(), nullptr);
  EXPECT_EQ(platform::PeekImmediateAction()->kind, ActionKind::kAnswer);
  platform::TakeAction();
  ASSERT_NE(platform::PeekImmediateAction(), nullptr);
  EXPECT_EQ(platform::PeekImmediateAction()->kind, ActionKind::kEnter);
}

TEST(ScriptedUserTest, ShowPrintsOnLinesOfItsOwnAndStreams) {
  ScriptedUser user;
  platform::ScopedUserSession scope(&user);
  std::wstring streamed;
  user.SetOutput([&](std::wstring_view t) { streamed += t; });
  user.SetShowHandler([](const ScriptStep& s) {
    return s.kind == ScriptStep::Kind::kShowEntity ? L"entity " + std::to_wstring(s.handle)
                                                   : std::wstring(L"other");
  });
  user.Add({steps::ShowEntity(0x10), steps::Expect(L"entity 16"), steps::Esc()});
  platform::PrintText(L"prompt: ");
  ASSERT_NE(platform::PeekAction(), nullptr);
  EXPECT_FALSE(user.stopped());
  platform::PrintEvent(L"[box information] x → OK");
  EXPECT_EQ(user.transcript(), L"prompt: \nentity 16\n[box information] x → OK\n");
  EXPECT_EQ(streamed, user.transcript());
}

TEST(ScriptedUserTest, LinesAreReadLazilyAndBadOnesSkipped) {
  ScriptedUser user;
  platform::ScopedUserSession scope(&user);
  std::vector<std::wstring> lines = {L"# typed at the keyboard", L"jump", L"command X a"};
  size_t next = 0;
  int asked = 0;
  user.SetLineSource([&](std::wstring* line, int) {
    ++asked;
    if (next >= lines.size()) return false;
    *line = lines[next++];
    return true;
  });
  std::wstring complaints;
  user.SetDiagnostics([&](std::wstring_view t) { complaints += t; });
  EXPECT_EQ(asked, 0);
  const platform::UserAction* a = platform::PeekAction();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->kind, ActionKind::kCommand);
  EXPECT_EQ(a->line, 3);
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(complaints, L"line 2: unknown action \"jump\"\n");
  platform::TakeAction();
  user.PushFront({steps::Typed(L"a").action});
  ASSERT_NE(platform::PeekAction(), nullptr);
  EXPECT_EQ(platform::PeekAction()->text, L"a");
  EXPECT_EQ(asked, 3);  // the typed answer came first, no new line was read
  platform::TakeAction();
  EXPECT_EQ(platform::PeekAction(), nullptr);
  EXPECT_EQ(platform::PeekAction(), nullptr);
  EXPECT_EQ(asked, 4);  // the end of the input is asked for once
}

}  // namespace
}  // namespace host
