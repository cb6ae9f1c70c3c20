// Message boxes answered through the user session: icons, answers, acknowledgement of OK boxes
// and the stop on an unanswered question.
#include <gtest/gtest.h>

#include "mfc_support.h"
#include "platform/mfc/window_system.h"

namespace {

using namespace mfc_test;

TEST(MessageBox, EachIconAndAnswerGoesToTheTranscript) {
  struct Case {
    UINT type;
    const wchar_t* answer;  // null: no answer queued
    int result;
    const wchar_t* line;
  };
  const Case cases[] = {
      {MB_ICONINFORMATION, nullptr, IDOK, L"[box information] 保存しました。 → OK\n"},
      {MB_ICONSTOP, L"ok", IDOK, L"[box stop] 保存しました。 → OK\n"},
      {MB_ICONEXCLAMATION, nullptr, IDOK, L"[box warning] 保存しました。 → OK\n"},
      {MB_OK, nullptr, IDOK, L"[box none] 保存しました。 → OK\n"},
      {MB_YESNO | MB_ICONQUESTION, L"yes", IDYES, L"[box question] 保存しました。 → Yes\n"},
      {MB_YESNO | MB_ICONQUESTION, L"no", IDNO, L"[box question] 保存しました。 → No\n"},
      {MB_YESNOCANCEL | MB_ICONQUESTION, L"cancel", IDCANCEL,
       L"[box question] 保存しました。 → Cancel\n"},
      {MB_OKCANCEL | MB_ICONQUESTION, L"ok", IDOK, L"[box question] 保存しました。 → OK\n"},
  };
  for (const auto& c : cases) {
    platform::ActionQueueSession session;
    platform::ScopedUserSession use(&session);
    if (c.answer) session.Push(Answer(c.answer));
    EXPECT_EQ(AfxMessageBox(L"保存しました。", c.type), c.result) << c.line;
    EXPECT_EQ(session.transcript(), c.line);
    EXPECT_FALSE(session.stopped()) << c.line;
    EXPECT_EQ(session.pending(), 0u) << c.line;
  }
}

TEST(MessageBox, AnOkBoxLeavesOtherActionsForOthers) {
  platform::ActionQueueSession session;
  platform::ScopedUserSession use(&session);
  session.Push(Click(5));
  EXPECT_EQ(AfxMessageBox(L"完了", MB_ICONINFORMATION), IDOK);
  EXPECT_EQ(session.pending(), 1u);
}

TEST(MessageBox, UnansweredQuestionsAndWrongAnswersStopTheSession) {
  {
    platform::ActionQueueSession session;
    platform::ScopedUserSession use(&session);
    EXPECT_EQ(AfxMessageBox(L"保存しますか？", MB_YESNOCANCEL | MB_ICONQUESTION), IDCANCEL);
    EXPECT_EQ(session.exit_code(), platform::kExitScriptMismatch);
  }
  {
    platform::ActionQueueSession session;
    platform::ScopedUserSession use(&session);
    session.Push(Click(3));
    EXPECT_EQ(AfxMessageBox(L"削除しますか？", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(session.exit_code(), platform::kExitScriptMismatch);
  }
  {
    platform::ActionQueueSession session;
    platform::ScopedUserSession use(&session);
    session.Push(Answer(L"cancel"));
    EXPECT_EQ(AfxMessageBox(L"削除しますか？", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(session.exit_code(), platform::kExitScriptMismatch);
    EXPECT_NE(session.stop_reason().find(L"cancel"), std::wstring::npos);
  }
}

TEST(MessageBox, WithoutASessionTheDefaultButtonAnswers) {
  platform::ScopedUserSession none(nullptr);
  EXPECT_EQ(MessageBoxW(nullptr, L"x", nullptr, MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(MessageBoxW(nullptr, L"x", nullptr, MB_OKCANCEL), IDOK);
}

TEST(MessageBox, StringTableTextsComeFromTheResourceModule) {
  UseTestResources();
  platform::ActionQueueSession session;
  platform::ScopedUserSession use(&session);
  EXPECT_EQ(AfxMessageBox(2001, MB_ICONINFORMATION), IDOK);
  EXPECT_EQ(session.transcript(), L"[box information] データが保存されました。 → OK\n");
  CString s;
  EXPECT_FALSE(s.LoadString(9999));
}

}  // namespace
