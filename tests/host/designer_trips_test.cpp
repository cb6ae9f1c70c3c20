// What a designer trips over, in whole sessions on the example drawing: Esc in the palette while
// a command it started waits, Enter in the palette, a note on an element never assigned, and a
// question box that the session leaves without an answer.
#include <acdocman.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "example_session_support.h"
#include "platform/mfc/window_system.h"

namespace host {
namespace {

constexpr wchar_t kTickFirstRow[] =
    L"choose 203 1F照明・コンセント\n@200 click 333\n@200 click 238\n";

class DesignerTripsTest : public ExampleSessionTest {
 protected:
  // The palette's own window (template 200), or null.
  static HWND PaletteWindow() {
    for (HWND h : platform::mfc::AllWindows()) {
      const platform::mfc::WindowRecord* r = platform::mfc::FindWindowRecord(h);
      if (r != nullptr && r->template_id == 200) return h;
    }
    return nullptr;
  }
  bool EndsWith(const std::wstring& tail) const {
    const std::wstring& t = Transcript();
    return t.size() >= tail.size() && t.compare(t.size() - tail.size(), tail.size(), tail) == 0;
  }
};

TEST_F(DesignerTripsTest, EscInThePaletteCancelsTheCommandItStarted) {
  Start();
  Run(kTickFirstRow);
  const std::wstring untouched = Entity(0x126);
  // Manual assignment waits for the segment; Esc in the palette closes it and cancels the pick.
  session_->ClearTranscript();
  Run(L"@200 click 336\n@200 click 2\n");
  EXPECT_TRUE(EndsWith(L"\n配線経路を選択:\n*キャンセル*\n")) << platform::WideToUtf8(Transcript());
  EXPECT_EQ(PaletteWindow(), nullptr);
  EXPECT_TRUE(acDocManager->isQuiescent());
  EXPECT_EQ(Entity(0x126), untouched);
  // Nothing waits any more: a pick now has nothing to answer.
  EXPECT_EQ(session_->RunScript(L"pickat 3300,8000\n"), 3);
  EXPECT_NE(session_->stop_reason().find(L"nothing waits for \"pickat 3300,8000\""),
            std::wstring::npos);
}

TEST_F(DesignerTripsTest, EscInThePaletteCancelsAListTableBeingDragged) {
  Start();
  const std::wstring before = DescribeDrawing(session_->database());
  session_->ClearTranscript();
  Run(L"@200 click 344\nmove 28000,9000\n@200 click 2\n");
  EXPECT_TRUE(EndsWith(L"*キャンセル*\n")) << platform::WideToUtf8(Transcript());
  EXPECT_TRUE(acDocManager->isQuiescent());
  // No table and no definition left behind: the drawing's entities are as they were.
  EXPECT_EQ(Dxf().find("PXNT"), std::string::npos);
  EXPECT_EQ(DescribeDrawing(session_->database()), before);
}

TEST_F(DesignerTripsTest, EnterInThePaletteKeepsItAndRqHarnexShowsItAgain) {
  Start();
  // Enter in an edit reaches the palette's hidden default button (IDOK).
  Run(std::wstring(kTickFirstRow) + L"@200 type 251 1E-1\n@200 click 1\n");
  ASSERT_NE(PaletteWindow(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(PaletteWindow()));
  session_->ClearTranscript();
  Run(L"@200 click 336\npickat 3300,8000\n");
  EXPECT_NE(Transcript().find(L"配線情報設定中...設定が終了しました。"), std::wstring::npos)
      << platform::WideToUtf8(Transcript());
  // Whatever hid the palette's window inside its set, RQ_HARNEX shows it again.
  ::ShowWindow(PaletteWindow(), SW_HIDE);
  ASSERT_FALSE(::IsWindowVisible(PaletteWindow()));
  Run(L"command RQ_HARNEX\n");
  EXPECT_TRUE(::IsWindowVisible(PaletteWindow()));
  Run(L"@200 click 333\n");
}

TEST_F(DesignerTripsTest, ANoteOnAnElementNeverAssignedSaysItHasNoWiring) {
  Start();
  // The branch as the route tools left it: four empty S records and nothing else.
  ASSERT_NE(Entity(0x126).find(L"S501||2|1|55|0|\n  xdata RQ_ATTR 1000 S004||2|1|55|0|\n  "
                               L"xdata RQ_ATTR 1000 S3B9||2|1|55|0|\n  xdata RQ_ATTR 1000 "
                               L"S002||2|1|55|0|"),
            std::wstring::npos)
      << platform::WideToUtf8(Entity(0x126));
  ASSERT_EQ(Entity(0x126).find(L"PX"), std::wstring::npos);
  session_->ClearTranscript();
  Run(L"@200 click 340\nclick 1\npickat 3300,8000\nesc\n");
  EXPECT_NE(Transcript().find(L"\n配線を選択:\n\n複数配線情報が設定されていません。\n"),
            std::wstring::npos)
      << platform::WideToUtf8(Transcript());
  EXPECT_EQ(Dxf().find("PXNT"), std::string::npos);
  // Once assigned, the same element takes a note.
  Run(std::wstring(kTickFirstRow) + L"@200 click 336\npickat 3300,8000\n");
  session_->ClearTranscript();
  Run(L"@200 click 340\nclick 1\npickat 3300,8000\nmove 3800,8600\npoint 3800,8600\n"
      L"move 4500,8700\npoint 4500,8700\nesc\n");
  EXPECT_EQ(Transcript().find(L"複数配線情報が設定されていません。"), std::wstring::npos);
  EXPECT_NE(Dxf().find("PXNT0001"), std::string::npos);
}

TEST_F(DesignerTripsTest, AQuestionLeftWithoutAnAnswerShowsNone) {
  Start();
  // An edit of the pattern that is not saved: closing asks, and the script has no answer.
  Run(L"@200 click 221\n@200 type 251 1E-1\n");
  session_->ClearTranscript();
  session_->CloseWindows();
  EXPECT_EQ(session_->exit_status(), 3);
  EXPECT_NE(Transcript().find(L"[box question] データが変更されています。保存しますか？\n"),
            std::wstring::npos)
      << platform::WideToUtf8(Transcript());
  EXPECT_EQ(Transcript().find(L"→"), std::wstring::npos) << platform::WideToUtf8(Transcript());
}

TEST_F(DesignerTripsTest, AQuestionAnsweredShowsTheAnswer) {
  Start();
  Run(L"@200 click 221\n@200 type 251 1E-1\n");
  session_->ClearTranscript();
  ASSERT_EQ(session_->RunScript(L"@200 click 2\nanswer no\n"), 0) << Stop();
  EXPECT_NE(Transcript().find(L"[box question] データが変更されています。保存しますか？ → No"),
            std::wstring::npos)
      << platform::WideToUtf8(Transcript());
}

}  // namespace
}  // namespace host
