// Sessions: loading and unloading applications, running commands and queued input, the
// left-open check, expect and mismatches, and the command line's texts.
#include "host/session/session.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win/text_encoding.h"
#include "tools/drawing_builder.h"
#include "test_addin_support.h"
#include "tools/harnex_session.h"

namespace host {
namespace {

using testing::TestAddinCallCounts;
using testing::TestAddinImage;

Session::Options TestOptions() {
  host::Session::Options options = tools::HarnexSessionOptions();
  tools::SkipAtStart(&options, tools::kAddinModuleName);  // these tests use their own application
  options.extra_images = {TestAddinImage(false), TestAddinImage(true)};
  return options;
}

std::string Narrow(const std::wstring& s) {
  return platform::WideToUtf8(s);
}

TEST(SessionTest, LoadsListsAndUnloadsAnApplication) {
  TestAddinCallCounts() = {};
  Session session(TestOptions());
  ASSERT_TRUE(session.Start());
  const int status = session.Run({
      steps::Command(L"ARXLOAD", {L"HxTest.arx"}),
      steps::Command(L"ARXCOMMANDS", {L"HXTEST"}),
      steps::Command(L"ARXLOAD", {L"hxtest.arx"}),
      steps::Command(L"ARXUNLOAD", {L"HxTest.arx"}),
      steps::Command(L"ARXCOMMANDS", {L"HXTEST"}),
      steps::Command(L"HXHELLO"),
      steps::Command(L"ARXUNLOAD", {L"HxTest.arx"}),
      steps::Command(L"ARXLOAD", {L"Missing.arx"}),
  });
  EXPECT_EQ(status, 0) << Narrow(session.stop_reason());
  const std::wstring& t = session.transcript();
  EXPECT_NE(
      t.find(L"\nコマンド: ARXLOAD\n\nARX ファイル名: HxTest.arx\n\nHxTest.arx をロードしました。"),
      std::wstring::npos)
      << Narrow(t);
  EXPECT_NE(t.find(L"HXTEST HXHELLO HXHELLO 3\nHXTEST HXSEND HXSEND 1\nHXTEST HXECHO HXECHO 0\n"
                   L"HXTEST HXLEAK HXLEAK 0\nHXTEST HXFIRST HXFIRST 2\n"),
            std::wstring::npos)
      << Narrow(t);
  EXPECT_NE(t.find(L"HxTest.arx は既にロードされています。"), std::wstring::npos) << Narrow(t);
  EXPECT_NE(t.find(L"HxTest.arx をアンロードしました。"), std::wstring::npos) << Narrow(t);
  // After the unload the group's listing is empty: the prompt is followed by the next command.
  EXPECT_NE(
      t.find(L"\nコマンド: ARXCOMMANDS\n\nコマンド グループ名: HXTEST\n\nコマンド: HXHELLO\n"),
      std::wstring::npos)
      << Narrow(t);
  EXPECT_NE(t.find(L"不明なコマンド \"HXHELLO\"。F1 キーを押すとヘルプを表示します。"),
            std::wstring::npos)
      << Narrow(t);
  EXPECT_NE(t.find(L"HxTest.arx はロードされていません。"), std::wstring::npos) << Narrow(t);
  EXPECT_NE(t.find(L"Missing.arx が見つかりません。"), std::wstring::npos) << Narrow(t);
  EXPECT_EQ(TestAddinCallCounts().inits, 1);
  EXPECT_EQ(TestAddinCallCounts().unloads, 1);
  EXPECT_EQ(TestAddinCallCounts().attaches, 1);
  EXPECT_EQ(TestAddinCallCounts().detaches, 1);
  EXPECT_EQ(GetModuleHandleW(L"HxTest.arx"), nullptr);
}

TEST(SessionTest, ARefusedLoadLeavesNothingInTheProcess) {
  TestAddinCallCounts() = {};
  Session session(TestOptions());
  EXPECT_EQ(session.Run({steps::Command(L"ARXLOAD", {L"HxRefuse.arx"})}), 0);
  EXPECT_NE(session.transcript().find(L"HxRefuse.arx をロードできません。"), std::wstring::npos);
  EXPECT_EQ(TestAddinCallCounts().attaches, 1);
  EXPECT_EQ(TestAddinCallCounts().detaches, 1);
  EXPECT_FALSE(session.modules().IsLoaded(L"HxRefuse.arx"));
  EXPECT_EQ(GetModuleHandleW(L"HxRefuse.arx"), nullptr);
}

TEST(SessionTest, SentCommandsRunAfterTheSenderInOrder) {
  Session::Options options = TestOptions();
  options.load_at_start = {L"HxTest.arx"};
  Session session(options);
  ASSERT_TRUE(session.Start());
  session.ClearTranscript();
  EXPECT_EQ(session.Run({steps::Command(L"HXSEND"), steps::Command(L"HXECHO", {L"typed"})}), 0)
      << Narrow(session.stop_reason());
  EXPECT_EQ(session.transcript(),
            L"\nコマンド: HXSEND\nsend-begin\nsend-end\n"
            L"\nコマンド: HXHELLO\nhello\n"
            L"\nコマンド: HXECHO\n\n言葉: queued\necho:queued\n"
            L"\nコマンド: HXECHO\n\n言葉: typed\necho:typed\n");
}

TEST(SessionTest, AnObjectLeftOpenIsAHostError) {
  Session::Options options = TestOptions();
  options.load_at_start = {L"HxTest.arx"};
  std::wstring diagnostics;
  options.diagnostics = [&](std::wstring_view t) { diagnostics += t; };
  Session session(options);
  EXPECT_EQ(session.Run({steps::Command(L"HXLEAK"), steps::Command(L"HXHELLO")}), kExitHostError);
  ASSERT_EQ(session.host_errors().size(), 1u);  // reported once, not after every command
  EXPECT_NE(session.host_errors()[0].find(L"after HXLEAK: AcDbBlockTableRecord"),
            std::wstring::npos)
      << Narrow(session.host_errors()[0]);
  EXPECT_NE(diagnostics.find(L"left open for read"), std::wstring::npos) << Narrow(diagnostics);
}

TEST(SessionTest, AnObjectLeftOpenByAWindowHandlerIsAHostErrorNamingIt) {
  Session::Options options = TestOptions();
  options.load_at_start = {L"HxTest.arx"};
  Session session(options);
  // The command closes what it opens; the message it posts runs after it, and a click later.
  EXPECT_EQ(session.RunScript(L"command HXWINLEAK\nclick 1001\ncommand HXHELLO\n"), kExitHostError);
  ASSERT_EQ(session.host_errors().size(), 2u);
  EXPECT_NE(session.host_errors()[0].find(L"after message 0x0441: AcDbLayerTable "),
            std::wstring::npos)
      << Narrow(session.host_errors()[0]);
  EXPECT_NE(session.host_errors()[0].find(L" left open for read"), std::wstring::npos);
  EXPECT_NE(session.host_errors()[1].find(L"after click 1001: AcDbTextStyleTable "),
            std::wstring::npos)
      << Narrow(session.host_errors()[1]);
}

TEST(SessionTest, ADragsEntitiesAreInTheViewsOfTheDrawingWhileItRuns) {
  Session::Options options = TestOptions();
  options.load_at_start = {L"HxTest.arx"};
  Session session(options);
  ASSERT_TRUE(session.Start());
  session.ClearTranscript();
  host::testing::DragSvg().clear();
  // The cursor's height comes with the sample, as with a picked point.
  EXPECT_EQ(session.RunScript(L"command HXDRAG\nmove 4,5,6\nshow drawing\npoint 1,1\n"
                              L"show drawing\n"),
            kExitOk)
      << Narrow(session.stop_reason());
  const std::wstring line =
      L"temporary LINE\n  layer 0\n  colour 256\n  start 4,5,6\n"
      L"  end 10,0,0\n";
  const std::wstring& t = session.transcript();
  const size_t during = t.find(L"drawing: 0 entities\nshown: 1 temporary entities\n" + line);
  EXPECT_NE(during, std::wstring::npos) << Narrow(t);
  const size_t end = t.find(L"drag:5100\n");
  EXPECT_NE(end, std::wstring::npos) << Narrow(t);
  EXPECT_LT(during, end);
  // After the drag the line is gone from the screen and was never in the drawing.
  EXPECT_EQ(t.find(L"shown:", end), std::wstring::npos) << Narrow(t);
  EXPECT_NE(t.find(L"drawing: 0 entities", end), std::wstring::npos);
  EXPECT_NE(host::testing::DragSvg().find("x1=\"4\" y1=\"-5\" x2=\"10\" y2=\"0\""),
            std::string::npos)
      << host::testing::DragSvg();
}

TEST(SessionTest, ExpectAndMismatchesStopTheScript) {
  {
    Session session(TestOptions());
    EXPECT_EQ(session.RunScript(L"command NOSUCH\nexpect 不明なコマンド \"NOSUCH\"\n"
                                L"command NOSUCH2\nexpect \"not there\"\ncommand LATER"),
              platform::kExitExpectFailed);
    EXPECT_EQ(session.stop_reason(),
              L"line 4: expected text not found in the transcript: \"not there\"");
    EXPECT_EQ(session.transcript().find(L"LATER"), std::wstring::npos);  // nothing ran after
  }
  {
    Session session(TestOptions());
    EXPECT_EQ(session.RunScript(L"enter\n\nanswer yes\ncommand LATER"),
              platform::kExitScriptMismatch);
    EXPECT_EQ(session.stop_reason(),
              L"line 3: nothing waits for \"answer yes\" at the command prompt");
  }
  {
    Session session(TestOptions());
    EXPECT_EQ(session.RunScript(L"@202 click 1"), platform::kExitScriptMismatch);
    EXPECT_EQ(session.stop_reason(), L"line 1: no window can take \"@202 click 1\"");
  }
  {
    Session session(TestOptions());
    EXPECT_EQ(session.RunScript(L"command X\npick 1A"), platform::kExitScriptMismatch);
    EXPECT_NE(session.stop_reason().find(L"line 2:"), std::wstring::npos);
  }
  {
    Session session(TestOptions());
    EXPECT_EQ(session.RunScript(L"command X\nbogus line"), kExitHostError);
    ASSERT_EQ(session.host_errors().size(), 1u);
    EXPECT_EQ(session.host_errors()[0], L"line 2: unknown action \"bogus\"");
    EXPECT_EQ(session.transcript().find(L"コマンド: X"), std::wstring::npos);  // nothing ran
  }
}

TEST(SessionTest, PreselectGivesTheNextCommandItsPickFirstSet) {
  Session::Options options = TestOptions();
  options.load_at_start = {L"HxTest.arx"};
  uint64_t first = 0, second = 0;
  options.drawing = [&](AcDbDatabase* db) {
    tools::DrawingBuilder b(db);
    b.DefineSegment(L"RT10", 10);
    const auto run = b.AddStraightRun(L"RT10", 0, 0, 20, 0, 2);
    first = tools::HandleOf(run[0]);
    second = tools::HandleOf(run[1]);
  };
  Session session(options);
  ASSERT_TRUE(session.Start());
  session.ClearTranscript();
  EXPECT_EQ(session.Run({steps::Preselect({first, second}), steps::Command(L"HXFIRST"),
                         steps::Command(L"HXFIRST")}),
            0)
      << Narrow(session.stop_reason());
  EXPECT_EQ(session.transcript(),
            L"\nコマンド: HXFIRST\npickfirst:2\n\nコマンド: HXFIRST\npickfirst:none\n");

  EXPECT_EQ(session.RunScript(L"preselect FFFFF"), platform::kExitScriptMismatch);
  EXPECT_NE(session.stop_reason().find(L"line 1: preselect names an entity that the drawing lacks"),
            std::wstring::npos)
      << Narrow(session.stop_reason());
}

TEST(SessionTest, TheAddinRefusesToLoadWithoutTheHostModule) {
  host::Session::Options options = tools::HarnexSessionOptions();
  tools::SkipAtStart(&options, tools::kHostModuleName);
  Session session(options);
  ASSERT_TRUE(session.Start());
  EXPECT_NE(session.transcript().find(L"Harnex.arx をロードできません。"), std::wstring::npos)
      << Narrow(session.transcript());
  EXPECT_EQ(GetModuleHandleW(L"Veltra.arx"), nullptr);
  EXPECT_EQ(GetModuleHandleW(L"Harnex.arx"), nullptr);
}

TEST(SessionTest, TheAddinLoadsWithTheHostModuleAndRegistersItsCommands) {
  host::Session::Options options = tools::HarnexSessionOptions();
  Session session(options);
  EXPECT_EQ(session.Run({steps::Command(L"ARXCOMMANDS", {L"HARNEX"})}), 0);
  EXPECT_NE(GetModuleHandleW(L"Veltra.arx"), nullptr);
  EXPECT_NE(GetModuleHandleW(L"Harnex.arx"), nullptr);
  EXPECT_NE(session.transcript().find(L"HARNEX RQ_HARNEX RQ_HARNEX 3\n"
                                      L"HARNEX RQ_HARNEX_AUTOSET RQ_HARNEX_AUTOSET 3\n"),
            std::wstring::npos)
      << Narrow(session.transcript());
}

}  // namespace
}  // namespace host
