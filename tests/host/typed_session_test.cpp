// harnex-host typed at a terminal (a pseudo-terminal, not a pipe): line editing and history,
// bare command names, Ctrl-C as Esc, Ctrl-D and the palette's question, SIGTERM and SIGHUP with
// unsaved palette edits, and piped input left as it was.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/harnex_session.h"
#include "platform/win/text_encoding.h"

#include "tools/drawing_builder.h"
#include "host/session/session.h"
#include "tools/system_folder.h"
#include "terminal_support.h"

namespace {

namespace fs = std::filesystem;
using testing_terminal::TerminalProgram;

constexpr char kUp[] = "\x1b[A";
constexpr char kLeft[] = "\x1b[D";
constexpr char kCtrlC[] = "\x03";
constexpr char kCtrlD[] = "\x04";
constexpr char kSaveQuestion[] = "データが変更されています。保存しますか？";

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TypedSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    folder_ = tools::SystemFolderCopy::Create("", &error);
    ASSERT_NE(folder_, nullptr) << error;
    home_ = fs::path(folder_->root()) / "home";
    fs::create_directories(home_);
    project_ = fs::path(folder_->system_folder()) / "プロジェクト" / "サンプルビル.tpr";
    project_bytes_ = Slurp(project_);
    ASSERT_FALSE(project_bytes_.empty());
  }

  // The program on the example drawing and the copied system folder, with its own home folder.
  std::unique_ptr<TerminalProgram> Start(std::vector<std::pair<std::string, std::string>> env = {},
                                         std::string drawing = tools::BundledExamplesDir() +
                                                               "/drawings/office_1f.dxf") {
    env.emplace_back("HOME", home_.string());
    auto program = std::make_unique<TerminalProgram>(
        std::vector<std::string>{"--config", platform::WideToUtf8(folder_->config_path()),
                                 "--drawing", drawing},
        env);
    EXPECT_TRUE(program->started());
    EXPECT_TRUE(program->WaitFor("> ")) << program->output();
    return program;
  }

  // Opens the sample project in the palette and types a system number into its first row.
  void EditThePalette(TerminalProgram& p) {
    p.Type("RQ_HARNEX\r");
    ASSERT_TRUE(p.WaitFor("[window 200 複数配線情報設定]")) << p.output();
    p.Type("click 201\r");
    ASSERT_TRUE(p.WaitFor("[dialog 203 ")) << p.output();
    p.Type("rows 360 0\r");
    ASSERT_TRUE(p.WaitFor("> ")) << p.output();
    p.Type("click 1\r");
    ASSERT_TRUE(p.WaitFor("[end dialog 203 IDOK]")) << p.output();
    p.Type("type 248 9Z-9\r");
    // The terminal echoes keys typed ahead: only the palette's view shows that the edit is made.
    p.Type("show palette\r");
    ASSERT_TRUE(p.WaitFor("[palette] 複数配線情報設定")) << p.output();
    ASSERT_TRUE(p.WaitFor("9Z-9")) << p.output();
    ASSERT_TRUE(p.WaitFor("> ")) << p.output();
  }

  std::unique_ptr<tools::SystemFolderCopy> folder_;
  fs::path home_;
  fs::path project_;
  std::string project_bytes_;
};

TEST_F(TypedSessionTest, LinesAreEditedRecalledAndKeptBetweenSessions) {
  {
    auto p = Start();
    // A bare command name is a command; the rest of the line answers its prompt.
    p->Type("ARXCOMMANDS HRNEX");
    // Edited within the line: four to the left, the missing letter put in.
    p->Type(std::string(kLeft) + kLeft + kLeft + kLeft + "A\r");
    ASSERT_TRUE(p->WaitFor("コマンド: ARXCOMMANDS")) << p->output();
    ASSERT_TRUE(p->WaitFor("HARNEX RQ_HARNEX RQ_HARNEX 3")) << p->output();
    ASSERT_TRUE(p->WaitFor("> ")) << p->output();
    // An answer typed at a prompt: the terminal goes back to the prompt's end (16 columns:
    // "ARX " and five full-width characters and ": ") so that the echo stands there once.
    p->Type("ARXLOAD\r");
    ASSERT_TRUE(p->WaitFor("ARX ファイル名: ")) << p->output();
    ASSERT_TRUE(p->WaitFor("ARX ファイル名: ")) << p->output();
    p->Type("NoSuch.arx\r");
    ASSERT_TRUE(p->WaitFor("\x1b[A\x1b[17G\x1b[KNoSuch.arx\r\n")) << p->output();
    ASSERT_TRUE(p->WaitFor("NoSuch.arx が見つかりません。")) << p->output();
    ASSERT_TRUE(p->WaitFor("> ")) << p->output();
    // Up recalls the line as it was entered (ARXLOAD and its answer were lines too).
    p->Type(std::string(kUp) + kUp + kUp + "\r");
    ASSERT_TRUE(p->WaitFor("コマンド: ARXCOMMANDS")) << p->output();
    ASSERT_TRUE(p->WaitFor("HARNEX RQ_HARNEX RQ_HARNEX 3")) << p->output();
    ASSERT_TRUE(p->WaitFor("> ")) << p->output();
    p->Type(kCtrlD);
    EXPECT_EQ(p->Finish(), 0) << p->output();
  }
  const fs::path history = home_ / ".harnex_history";
  ASSERT_TRUE(fs::exists(history));
  const std::string kept = Slurp(history);

  // HARNEX_HISTORY names another file; the one in the home folder is left alone.
  const fs::path elsewhere = fs::path(folder_->root()) / "elsewhere_history";
  {
    auto p = Start({{"HARNEX_HISTORY", elsewhere.string()}});
    p->Type("ARXCOMMANDS NOSUCHGROUP\r");
    ASSERT_TRUE(p->WaitFor("コマンド グループ名: NOSUCHGROUP")) << p->output();
    ASSERT_TRUE(p->WaitFor("> ")) << p->output();
    p->Type(kCtrlD);
    EXPECT_EQ(p->Finish(), 0) << p->output();
  }
  EXPECT_TRUE(fs::exists(elsewhere));
  EXPECT_EQ(Slurp(history), kept);

  // The next session recalls the first session's line from the home folder's file.
  {
    auto p = Start();
    p->Type(std::string(kUp) + "\r");
    ASSERT_TRUE(p->WaitFor("コマンド: ARXCOMMANDS")) << p->output();
    ASSERT_TRUE(p->WaitFor("HARNEX RQ_HARNEX_LIST RQ_HARNEX_LIST 3")) << p->output();
    p->Type("help type\r");
    ASSERT_TRUE(p->WaitFor("[@ID] type CTRL TEXT")) << p->output();
    ASSERT_TRUE(p->WaitFor("> ")) << p->output();
    p->Type(kCtrlD);
    EXPECT_EQ(p->Finish(), 0) << p->output();
  }
}

TEST_F(TypedSessionTest, CtrlCIsEscWhereSomethingWaitsAndNeverEndsTheProgram) {
  auto p = Start();
  // At a prompt it cancels the prompt, and the session goes on.
  p->Type("ARXLOAD\r");
  ASSERT_TRUE(p->WaitFor("ARX ファイル名: ")) << p->output();
  ASSERT_TRUE(p->WaitFor("ARX ファイル名: ")) << p->output();  // drawn again by the editor
  p->Type(kCtrlC);
  ASSERT_TRUE(p->WaitFor("*キャンセル*")) << p->output();
  p->Type("ARXCOMMANDS HARNEX\r");
  ASSERT_TRUE(p->WaitFor("HARNEX RQ_HARNEX RQ_HARNEX 3")) << p->output();
  ASSERT_TRUE(p->WaitFor("> ")) << p->output();
  // At the command prompt it clears the line: nothing of it runs.
  p->Type("ARXUNLOAD Harnex.arx");
  p->Type(kCtrlC);
  p->Type("ARXCOMMANDS HARNEX\r");
  ASSERT_TRUE(p->WaitFor("HARNEX RQ_HARNEX_LIST RQ_HARNEX_LIST 3")) << p->output();
  EXPECT_EQ(p->output().find("コマンド: ARXUNLOAD"), std::string::npos) << p->output();
  // In a modal dialog it cancels the dialog.
  p->Type("RQ_HARNEX\r");
  ASSERT_TRUE(p->WaitFor("[window 200 ")) << p->output();
  p->Type("click 201\r");
  ASSERT_TRUE(p->WaitFor("[dialog 203 ")) << p->output();
  ASSERT_TRUE(p->WaitFor("dialog> ")) << p->output();
  p->Type(kCtrlC);
  ASSERT_TRUE(p->WaitFor("[end dialog 203 IDCANCEL]")) << p->output();
  p->Type("show palette\r");
  ASSERT_TRUE(p->WaitFor("[palette] 複数配線情報設定")) << p->output();
  ASSERT_TRUE(p->WaitFor("> ")) << p->output();
  // Nothing was edited: Ctrl-D ends at once, as the end of a script does.
  p->Type(kCtrlD);
  EXPECT_EQ(p->Finish(), 0) << p->output();
  EXPECT_EQ(p->output().find(kSaveQuestion), std::string::npos) << p->output();
}

TEST_F(TypedSessionTest, ATypedMistakeIsReportedAndCancelsWhatWaitsButNotTheSession) {
  auto p = Start();
  p->Type("pick 7E\r");
  ASSERT_TRUE(p->WaitFor("nothing waits for \"pick 7E\" at the command prompt")) << p->output();
  ASSERT_TRUE(p->WaitFor("> ")) << p->output();
  p->Type("expect no such text\r");
  ASSERT_TRUE(p->WaitFor("expected text not found in the transcript: \"no such text\""))
      << p->output();
  ASSERT_TRUE(p->WaitFor("> ")) << p->output();
  // In a dialog a mistake cancels the dialog, as Esc would.
  p->Type("RQ_HARNEX\r");
  ASSERT_TRUE(p->WaitFor("[window 200 ")) << p->output();
  p->Type("click 201\r");
  ASSERT_TRUE(p->WaitFor("dialog> ")) << p->output();
  p->Type("pick 7E\r");
  ASSERT_TRUE(p->WaitFor("cannot be taken while dialog 203 waits")) << p->output();
  ASSERT_TRUE(p->WaitFor("[end dialog 203 IDCANCEL]")) << p->output();
  p->Type("ARXCOMMANDS HARNEX\r");
  ASSERT_TRUE(p->WaitFor("HARNEX RQ_HARNEX_LIST RQ_HARNEX_LIST 3")) << p->output();
  ASSERT_TRUE(p->WaitFor("> ")) << p->output();
  p->Type(kCtrlD);
  EXPECT_EQ(p->Finish(), 0) << p->output();
}

TEST_F(TypedSessionTest, CtrlCStopsALongLoopAtItsNextEscCheckAndTheBarIsCleared) {
  // Without Ctrl-C the palette's start reads every part number of the drawing.
  {
    auto p = Start();
    p->Type("RQ_HARNEX\r");
    ASSERT_TRUE(p->WaitFor("[window 200 ")) << p->output();
    EXPECT_NE(p->output().find("部品番号取得中... [##############################] 100%"),
              std::string::npos)
        << p->output();
    ASSERT_TRUE(p->WaitFor("> ")) << p->output();
    p->Type(kCtrlD);
    EXPECT_EQ(p->Finish(), 0) << p->output();
  }
  // A drawing with so many part blocks that the loop is still running when the Ctrl-C comes:
  // the key is pressed once the bar is on the screen, as a user would press it.
  const std::string many = (fs::path(folder_->root()) / "many_parts.dxf").string();
  {
    host::Session::Options options = tools::HarnexSessionOptions();
    tools::SkipAtStart(&options, tools::kHostModuleName);
    options.drawing = [](AcDbDatabase* db) {
      tools::DrawingBuilder b(db);
      b.DefinePart(L"KK_LOAD", 10);
      for (int i = 0; i < 20000; ++i)
        b.AddPart(L"KK_LOAD", {20.0 * (i % 200), 20.0 * (i / 200)}, L"L-" + std::to_wstring(i));
    };
    host::Session session(options);
    ASSERT_TRUE(session.Start());
    std::wstring error;
    ASSERT_TRUE(session.SaveDrawing(many, &error)) << platform::WideToUtf8(error);
  }
  auto p = Start({}, many);
  p->Type("RQ_HARNEX\r");
  ASSERT_TRUE(p->WaitFor("部品番号取得中... [")) << p->output();
  p->Signal(SIGINT);  // Ctrl-C while the command runs (the terminal sends SIGINT then)
  ASSERT_TRUE(p->WaitFor("[window 200 ")) << p->output();
  const std::string& out = p->output();
  const size_t bar = out.rfind("部品番号取得中... [");
  ASSERT_NE(bar, std::string::npos) << out;
  EXPECT_EQ(out.find("100%"), std::string::npos) << out;
  // The bar's line is cleared when the loop ends, before anything else is written.
  const size_t drawn = out.find("%\x1b[K", bar);
  ASSERT_NE(drawn, std::string::npos) << out;
  EXPECT_EQ(out.compare(drawn + 4, 4, "\r\x1b[K"), 0) << out.substr(bar);
  // The session goes on.
  p->Type("show palette\r");
  ASSERT_TRUE(p->WaitFor("[palette] 複数配線情報設定")) << p->output();
  ASSERT_TRUE(p->WaitFor("> ")) << p->output();
  p->Type(kCtrlD);
  EXPECT_EQ(p->Finish(), 0) << p->output();
}

TEST_F(TypedSessionTest, CtrlDAsksAboutUnsavedPaletteEditsAtTheTerminal) {
  {
    auto p = Start();
    EditThePalette(*p);
    p->Type(kCtrlD);
    ASSERT_TRUE(p->WaitFor(kSaveQuestion)) << p->output();
    // cancel: back at the prompt with the edit.
    p->Type("cancel\r");
    ASSERT_TRUE(p->WaitFor(std::string("[box question] ") + kSaveQuestion + " → Cancel"))
        << p->output();
    p->Type("show palette\r");
    ASSERT_TRUE(p->WaitFor("[palette] 複数配線情報設定")) << p->output();
    ASSERT_TRUE(p->WaitFor("9Z-9")) << p->output();
    ASSERT_TRUE(p->WaitFor("> ")) << p->output();
    // no: the session ends and the project file stays as it was.
    p->Type(kCtrlD);
    ASSERT_TRUE(p->WaitFor(kSaveQuestion)) << p->output();
    p->Type("no\r");
    EXPECT_EQ(p->Finish(), 0) << p->output();
    EXPECT_NE(p->output().find(std::string(kSaveQuestion) + " → No"), std::string::npos);
  }
  EXPECT_EQ(Slurp(project_), project_bytes_);
  {
    auto p = Start();
    EditThePalette(*p);
    p->Type(kCtrlD);
    ASSERT_TRUE(p->WaitFor(kSaveQuestion)) << p->output();
    p->Type("yes\r");
    EXPECT_EQ(p->Finish(), 0) << p->output();
  }
  EXPECT_NE(Slurp(project_).find("9Z-9"), std::string::npos);
}

TEST_F(TypedSessionTest, SigtermAndSighupWriteTheEditToARecoveryFileBesideTheProject) {
  const fs::path folder = project_.parent_path();
  const fs::path first = folder / "サンプルビル.recovered.tpr";
  const fs::path second = folder / "サンプルビル.recovered-2.tpr";
  {
    auto p = Start();
    EditThePalette(*p);
    p->Signal(SIGTERM);
    EXPECT_EQ(p->Finish(), 0) << p->output();
    EXPECT_NE(p->output().find("unsaved palette edits written to " + first.string()),
              std::string::npos)
        << p->output();
    EXPECT_EQ(p->output().find(kSaveQuestion), std::string::npos) << p->output();
  }
  EXPECT_EQ(Slurp(project_), project_bytes_);
  ASSERT_TRUE(fs::exists(first));
  EXPECT_NE(Slurp(first).find("9Z-9"), std::string::npos);
  // A second recovery never writes over the first. The palette starts on the project it showed
  // when it closed.
  const std::string first_bytes = Slurp(first);
  {
    auto p = Start();
    p->Type("RQ_HARNEX\r");
    ASSERT_TRUE(p->WaitFor("[window 200 複数配線情報設定]")) << p->output();
    p->Type("type 248 HUP-1\rshow palette\r");
    ASSERT_TRUE(p->WaitFor("プロジェクト: サンプルビル\r\n")) << p->output();
    ASSERT_TRUE(p->WaitFor("HUP-1")) << p->output();
    ASSERT_TRUE(p->WaitFor("> ")) << p->output();
    p->Signal(SIGHUP);
    EXPECT_EQ(p->Finish(), 0) << p->output();
    EXPECT_NE(p->output().find("unsaved palette edits written to " + second.string()),
              std::string::npos)
        << p->output();
  }
  EXPECT_EQ(Slurp(project_), project_bytes_);
  EXPECT_EQ(Slurp(first), first_bytes);
  ASSERT_TRUE(fs::exists(second));
  EXPECT_NE(Slurp(second).find("HUP-1"), std::string::npos);
}

TEST_F(TypedSessionTest, PipedInputIsReadAsBeforeWithoutPromptOrHistory) {
  const fs::path out = fs::path(folder_->root()) / "out.txt";
  const fs::path err = fs::path(folder_->root()) / "err.txt";
  const std::string command =
      "printf 'command ARXCOMMANDS HARNEX\\nRQ_HARNEX\\n' | HOME=" + home_.string() +
      " HARNEX_HISTORY= " + testing_terminal::ProgramPath() + " --config '" +
      platform::WideToUtf8(folder_->config_path()) + "' >" + out.string() + " 2>" + err.string();
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 0) << Slurp(err);
  const std::string transcript = Slurp(out);
  EXPECT_NE(transcript.find("HARNEX RQ_HARNEX RQ_HARNEX 3"), std::string::npos) << transcript;
  EXPECT_EQ(transcript.find("> "), std::string::npos) << transcript;
  // Piped lines keep the script rule: a bare name is no action.
  EXPECT_NE(Slurp(err).find("line 2: unknown action \"RQ_HARNEX\""), std::string::npos)
      << Slurp(err);
  EXPECT_FALSE(fs::exists(home_ / ".harnex_history"));
}

}  // namespace
