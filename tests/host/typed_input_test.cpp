// Lines typed at the keyboard: how each is read by what waits for it, the help action, Tab
// completion and the Esc check of long loops in a typed session.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win/text_encoding.h"

#include "tools/harnex_session.h"
#include "host/user/completion.h"
#include "host/user/script_verbs.h"
#include "host/user/scripted_user.h"
#include "host/session/session.h"
#include "tools/system_folder.h"
#include "host/user/typed_line.h"

namespace host {
namespace {

using platform::ActionKind;
using platform::Wait;
using platform::WaitKind;

Wait WaitOf(WaitKind kind) {
  Wait wait;
  wait.kind = kind;
  return wait;
}

std::vector<ScriptStep> Read(std::wstring_view line, Wait wait, std::wstring* error = nullptr) {
  std::vector<ScriptStep> steps;
  std::wstring message;
  if (!ReadTypedLine(line, 1, wait, &steps, &message)) {
    if (error) *error = message;
    EXPECT_TRUE(steps.empty());
  }
  return steps;
}

TEST(TypedLineTest, ABareWordIsACommandAtTheCommandPromptAndAnAnswerAtAPrompt) {
  const Wait command = WaitOf(WaitKind::kCommandPrompt);
  auto steps = Read(L"RQ_HARNEX", command);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].action.kind, ActionKind::kCommand);
  EXPECT_EQ(steps[0].action.text, L"RQ_HARNEX");
  EXPECT_TRUE(steps[0].action.args.empty());
  // The rest of the line answers the command's first prompts, as after `command`.
  steps = Read(L"  ARXCOMMANDS HARNEX ", command);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].action.kind, ActionKind::kCommand);
  EXPECT_EQ(steps[0].action.text, L"ARXCOMMANDS");
  EXPECT_EQ(steps[0].action.args, std::vector<std::wstring>{L"HARNEX"});
  EXPECT_TRUE(Read(L"   ", command).empty());
  // Actions keep their meaning wherever they are typed, any case.
  steps = Read(L"Type 248 9Z-9", command);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].action.kind, ActionKind::kType);
  EXPECT_EQ(steps[0].action.control, 248);
  steps = Read(L"@203 click 1", WaitOf(WaitKind::kDialog));
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].action.template_id, 203);

  // At a prompt the whole line is the answer, blanks and all; an empty line is Enter.
  const Wait prompt = WaitOf(WaitKind::kPrompt);
  steps = Read(L"My App.arx", prompt);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].action.kind, ActionKind::kTyped);
  EXPECT_EQ(steps[0].action.text, L"My App.arx");
  steps = Read(L"", prompt);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].action.kind, ActionKind::kTyped);
  EXPECT_EQ(steps[0].action.text, L"");
  // `typed` says the same: what follows it is the answer.
  steps = Read(L"typed \" 12 \"", prompt);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].action.kind, ActionKind::kTyped);
  EXPECT_EQ(steps[0].action.text, L" 12 ");
  steps = Read(L"esc", prompt);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].action.kind, ActionKind::kEsc);

  // A script file keeps the strict rule: a line starts with an action.
  EXPECT_EQ(ReadScript(L"command X\nRQ_HARNEX\n").error, L"line 2: unknown action \"RQ_HARNEX\"");
}

TEST(TypedLineTest, ABoxTakesItsOwnAnswersAndADialogOnlyActions) {
  const Wait yes_no_cancel{WaitKind::kBox, MB_YESNOCANCEL | MB_ICONQUESTION, L"保存しますか？"};
  auto steps = Read(L" No ", yes_no_cancel);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].action.kind, ActionKind::kAnswer);
  EXPECT_EQ(steps[0].action.text, L"no");
  ASSERT_EQ(Read(L"cancel", yes_no_cancel).size(), 1u);

  std::wstring error;
  const Wait yes_no{WaitKind::kBox, MB_YESNO | MB_ICONQUESTION, L"削除しますか？"};
  EXPECT_TRUE(Read(L"cancel", yes_no, &error).empty());
  EXPECT_EQ(error, L"the box waits for an answer: yes no");
  EXPECT_TRUE(Read(L"maybe", yes_no_cancel, &error).empty());
  EXPECT_EQ(error, L"the box waits for an answer: yes no cancel");
  EXPECT_EQ(BoxAnswers(MB_OKCANCEL), (std::vector<std::wstring>{L"ok", L"cancel"}));

  EXPECT_TRUE(Read(L"RQ_HARNEX", WaitOf(WaitKind::kDialog), &error).empty());
  EXPECT_NE(error.find(L"a dialog waits"), std::wstring::npos) << platform::WideToUtf8(error);
  // It names what a dialog takes: the window actions.
  EXPECT_EQ(error,
            L"a dialog waits: click, type, choose, rows, header or menu (Ctrl-C cancels it)");
}

TEST(TypedLineTest, HelpListsTheActionsAndShowsTheSyntaxOfOne) {
  const std::wstring all = HelpText(L"");
  // One line per action, each beginning with its name.
  size_t lines = 0;
  for (wchar_t c : all) lines += c == L'\n';
  EXPECT_EQ(lines, 21u);
  EXPECT_EQ(all.rfind(L"command    types NAME", 0), 0u) << platform::WideToUtf8(all);
  EXPECT_NE(all.find(L"\nhelp       lists the actions"), std::wstring::npos);
  EXPECT_EQ(HelpText(L"CLICK"),
            L"[@ID] click CTRL\n  clicks a control of the active window; click 1 / click 2 are "
            L"Enter / Esc\n");
  EXPECT_EQ(HelpText(L"color").rfind(L"colour [N]\n", 0), 0u);
  EXPECT_EQ(HelpText(L"wobble"), L"");

  std::vector<ScriptStep> steps;
  std::wstring error;
  ASSERT_TRUE(ReadScriptLine(L"help Rows", 1, &steps, &error));
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].kind, ScriptStep::Kind::kHelp);
  EXPECT_EQ(steps[0].text, L"rows");
  EXPECT_FALSE(ReadScriptLine(L"help wobble", 1, &steps, &error));
  EXPECT_EQ(error, L"help: no action \"wobble\"");
  EXPECT_FALSE(ReadScriptLine(L"help click type", 1, &steps, &error));

  // In a session, help prints into the transcript on lines of its own.
  host::Session::Options options = tools::HarnexSessionOptions();
  tools::SkipAtStart(&options, tools::kAddinModuleName);
  tools::SkipAtStart(&options, tools::kHostModuleName);
  Session session(options);
  ASSERT_EQ(session.RunScript(L"help menu\n"), 0) << platform::WideToUtf8(session.stop_reason());
  EXPECT_NE(session.transcript().find(L"[@ID] menu CTRL [ITEM]\n  opens a control's context menu"),
            std::wstring::npos)
      << platform::WideToUtf8(session.transcript());
}

TEST(TypedLineTest, ALongLoopAsksThePollAndNeverWaitsForALine) {
  ScriptedUser user;
  int lines_read = 0;
  user.SetLineSource([&](std::wstring* line, int) {
    ++lines_read;
    *line = L"enter";
    return true;
  });
  bool pressed = false;
  user.SetBreakPoll([&] { return std::exchange(pressed, false); });
  // Nothing pressed: the loop goes on and no line is read.
  EXPECT_EQ(user.PeekImmediate(), nullptr);
  EXPECT_EQ(lines_read, 0);
  // Ctrl-C: the next Esc check sees a break and takes it.
  pressed = true;
  const platform::UserAction* next = user.PeekImmediate();
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->kind, ActionKind::kBreak);
  user.Take();
  EXPECT_EQ(user.PeekImmediate(), nullptr);
  // A break that no loop took (a box that wanted only OK looked) is gone before the next action.
  pressed = true;
  ASSERT_NE(user.PeekImmediate(), nullptr);
  next = user.Peek();
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->kind, ActionKind::kEnter);
  EXPECT_EQ(lines_read, 1);
}

// Completion needs the commands and windows of a running session.
class CompletionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    folder_ = tools::SystemFolderCopy::Create("", &error);
    ASSERT_NE(folder_, nullptr) << error;
    host::Session::Options options = tools::HarnexSessionOptions();
    options.config_path = folder_->config_path();
    session_ = std::make_unique<Session>(options);
    ASSERT_TRUE(session_->Start());
  }
  void TearDown() override {
    session_.reset();
    folder_.reset();
  }
  std::unique_ptr<tools::SystemFolderCopy> folder_;
  std::unique_ptr<Session> session_;
};

TEST_F(CompletionTest, CompletesActionsCommandNamesAndControlIds) {
  Completion c = CompleteTypedLine(L"rq_harnex_l");
  EXPECT_EQ(c.word_start, 0u);
  EXPECT_EQ(c.candidates, (std::vector<std::wstring>{L"RQ_HARNEX_LIST", L"RQ_HARNEX_LOCATE"}));
  EXPECT_EQ(CommonPrefix(c.candidates), L"RQ_HARNEX_L");
  EXPECT_EQ(CompleteTypedLine(L"ARXU").candidates, std::vector<std::wstring>{L"ARXUNLOAD"});
  EXPECT_EQ(CompleteTypedLine(L"cli").candidates, std::vector<std::wstring>{L"click"});
  EXPECT_EQ(CompleteTypedLine(L"typ").candidates, (std::vector<std::wstring>{L"type", L"typed"}));
  c = CompleteTypedLine(L"help he");
  EXPECT_EQ(c.word_start, 5u);
  EXPECT_EQ(c.candidates, (std::vector<std::wstring>{L"header", L"help"}));
  EXPECT_EQ(CompleteTypedLine(L"answer c").candidates, std::vector<std::wstring>{L"cancel"});
  EXPECT_EQ(CompleteTypedLine(L"preselect ").candidates,
            (std::vector<std::wstring>{L"crossing", L"window"}));
  EXPECT_EQ(CompleteTypedLine(L"preselect W").candidates, std::vector<std::wstring>{L"window"});
  EXPECT_TRUE(CompleteTypedLine(L"preselect window 0,0 ").candidates.empty());
  EXPECT_EQ(CompleteTypedLine(L"Show ").candidates,
            (std::vector<std::wstring>{L"drawing", L"entity", L"palette"}));
  // After @ID only the window actions: not command or colour, nor a command name.
  EXPECT_EQ(CompleteTypedLine(L"@200 c").candidates,
            (std::vector<std::wstring>{L"choose", L"click"}));
  EXPECT_TRUE(CompleteTypedLine(L"@200 answer ").candidates.empty());
  EXPECT_TRUE(CompleteTypedLine(L"pick 7").candidates.empty());
  // No window yet: no control ids.
  EXPECT_TRUE(CompleteTypedLine(L"click 2").candidates.empty());

  ASSERT_EQ(session_->Run({steps::Command(L"RQ_HARNEX")}), 0);
  c = CompleteTypedLine(L"click 20");
  EXPECT_EQ(c.word_start, 6u);
  EXPECT_EQ(c.candidates, (std::vector<std::wstring>{L"201", L"202", L"203", L"204", L"205", L"206",
                                                     L"207", L"208", L"209"}));
  EXPECT_EQ(c.labels.front(), L"201 読込み");
  EXPECT_EQ(CompleteTypedLine(L"@200 type 34").candidates,
            (std::vector<std::wstring>{L"340", L"341", L"342", L"343", L"344", L"345", L"347",
                                       L"348", L"349"}));
  // A template that no window was made from has no controls.
  EXPECT_TRUE(CompleteTypedLine(L"@203 click ").candidates.empty());
  EXPECT_EQ(CompleteTypedLine(L"@200 cl").candidates, std::vector<std::wstring>{L"click"});
}

}  // namespace
}  // namespace host
