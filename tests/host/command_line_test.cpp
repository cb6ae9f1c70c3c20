// harnex-host's options: parsing, errors, and the program's answers to bad options and scripts.
#include "cli/program_options.h"

#include "platform/win/text_encoding.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tools/drawing_builder.h"
#include "host/session/session.h"
#include "tools/harnex_session.h"

namespace host {
namespace {

// The files and folders of this test live in a folder of their own in the temporary folder,
// apart from other runs of the suite that share the machine, and removed when the test ends.
struct ScratchFolder {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("harnex_cli_test_" + std::to_string(::getpid()));
  ScratchFolder() { std::filesystem::create_directories(path); }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

std::filesystem::path Scratch(const std::string& name) {
  static const ScratchFolder folder;
  return folder.path / name;
}

TEST(CommandLineTest, ParsesEveryOption) {
  cli::ProgramOptions c;
  std::string error;
  ASSERT_TRUE(cli::ParseProgramOptions({"--config", "a.ini", "--no-host-module", "run.hxs"}, &c, &error));
  EXPECT_EQ(c.config, "a.ini");
  EXPECT_TRUE(c.no_host_module);
  EXPECT_EQ(c.script, "run.hxs");
  EXPECT_FALSE(c.demo);

  ASSERT_TRUE(cli::ParseProgramOptions({"--drawing", "d.dxf", "--save", "s.dxf", "--svg", "p.svg", "-"}, &c,
                               &error));
  EXPECT_EQ(c.drawing, "d.dxf");
  EXPECT_EQ(c.save, "s.dxf");
  EXPECT_EQ(c.svg, "p.svg");
  EXPECT_EQ(c.script, "-");

  ASSERT_TRUE(cli::ParseProgramOptions({"--demo"}, &c, &error));
  EXPECT_TRUE(c.demo);
  EXPECT_EQ(c.demo_dir, "");
  ASSERT_TRUE(cli::ParseProgramOptions({"--demo", "/tmp/x"}, &c, &error));
  EXPECT_EQ(c.demo_dir, "/tmp/x");

  const struct {
    std::vector<std::string> args;
    const char* error;
  } bad[] = {
      {{"--config"}, "option --config needs a value"},
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"a.hxs", "b.hxs"}, "more than one script: a.hxs and b.hxs"},
      {{"--demo", "--no-host-module"}, "--demo takes no other options and no script"},
  };
  for (const auto& b : bad) {
    EXPECT_FALSE(cli::ParseProgramOptions(b.args, &c, &error)) << b.error;
    EXPECT_EQ(error, b.error);
  }
}

TEST(CommandLineTest, AReportTakesFilesAndItsOwnOptionsButNoSession) {
  cli::ProgramOptions c;
  std::string error;
  ASSERT_TRUE(cli::ParseProgramOptions({"--report", "wires", "a.dxf", "--allowance", "1.5", "b.dxf",
                                "--out", "w.csv", "--encoding", "cp932", "--config", "h.ini"},
                               &c, &error))
      << error;
  EXPECT_TRUE(c.report);
  EXPECT_EQ(c.report_options.kind, tools::ReportKind::kWires);
  EXPECT_EQ(c.report_options.files, (std::vector<std::string>{"a.dxf", "b.dxf"}));
  EXPECT_TRUE(c.report_options.with_allowance);
  EXPECT_DOUBLE_EQ(c.report_options.allowance, 1.5);
  EXPECT_EQ(c.report_options.out, "w.csv");
  EXPECT_EQ(c.report_options.encoding, tools::CsvEncoding::kCp932);
  EXPECT_EQ(c.config, "h.ini");
  EXPECT_EQ(c.script, "");

  ASSERT_TRUE(cli::ParseProgramOptions({"p.tpr", "--report", "patterns"}, &c, &error)) << error;
  EXPECT_EQ(c.report_options.kind, tools::ReportKind::kPatterns);
  EXPECT_EQ(c.report_options.files, std::vector<std::string>{"p.tpr"});
  EXPECT_FALSE(c.report_options.with_allowance);
  EXPECT_EQ(c.report_options.encoding, tools::CsvEncoding::kUtf8Bom);

  ASSERT_TRUE(cli::ParseProgramOptions({"--svg", "p.svg", "--highlight", "1L-2", "--highlight", "動力"}, &c,
                               &error));
  EXPECT_EQ(c.highlights, (std::vector<std::wstring>{L"1L-2", L"動力"}));

  const struct {
    std::vector<std::string> args;
    const char* error;
  } bad[] = {
      {{"--report", "cables", "a.dxf"}, "--report takes wires, untagged or patterns, not cables"},
      {{"--report", "wires"}, "--report needs at least one file"},
      {{"--report", "untagged", "a.dxf", "--allowance", "1"},
       "--allowance belongs to --report wires"},
      {{"--report", "wires", "a.dxf", "--allowance", "-1"},
       "--allowance takes a number of metres, not -1"},
      {{"--report", "wires", "a.dxf", "--allowance", "2m"},
       "--allowance takes a number of metres, not 2m"},
      {{"--report", "wires", "a.dxf", "--encoding", "latin1"},
       "--encoding takes cp932 or utf-8, not latin1"},
      {{"--report", "wires", "a.dxf", "--drawing", "b.dxf"},
       "--report runs no session: it takes no --drawing, --save, --svg, --highlight or "
       "--no-host-module"},
      {{"--out", "w.csv", "run.hxs"}, "--out, --encoding and --allowance belong to --report"},
      {{"--highlight", "1L-2"}, "--highlight marks systems in the --svg picture: it needs --svg"},
  };
  for (const auto& b : bad) {
    EXPECT_FALSE(cli::ParseProgramOptions(b.args, &c, &error)) << b.error;
    EXPECT_EQ(error, b.error);
  }
}

TEST(CommandLineTest, ConfigFallsBackToTheEnvironmentThenTheCurrentFolder) {
  cli::ProgramOptions c;
  c.config = "/etc/x.ini";
  EXPECT_EQ(cli::ResolveConfigPath(c), "/etc/x.ini");
  c.config.clear();
  setenv("HARNEX_CONFIG", "/srv/h.ini", 1);
  EXPECT_EQ(cli::ResolveConfigPath(c), "/srv/h.ini");
  unsetenv("HARNEX_CONFIG");
  EXPECT_EQ(cli::ResolveConfigPath(c), (std::filesystem::current_path() / "harnex.ini").string());
}

// Runs the built program; returns its exit status and what it wrote to standard error.
int RunProgram(const std::string& args, std::string* err) {
  // Tests run in the build's tests folder; the program sits in the build folder above it.
  const std::filesystem::path program =
      std::filesystem::current_path().parent_path() / "harnex-host";
  if (!std::filesystem::exists(program)) {
    *err = "no program at " + program.string();
    return -1;
  }
  const std::string err_file = Scratch("harnex_cli_err.txt");
  const std::string command =
      program.string() + " " + args + " </dev/null >/dev/null 2>" + err_file;
  const int raw = std::system(command.c_str());
  std::ifstream in(err_file);
  err->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(CommandLineTest, TheProgramRefusesWhatItCannotDo) {
  std::string err;
  EXPECT_EQ(RunProgram("--bogus", &err), 1);
  EXPECT_NE(err.find("harnex-host: unknown option --bogus"), std::string::npos) << err;
  EXPECT_NE(err.find("usage: harnex-host"), std::string::npos) << err;

  EXPECT_EQ(RunProgram("--drawing /nonexistent/plan.dxf -", &err), 1);
  EXPECT_NE(err.find("cannot read the drawing /nonexistent/plan.dxf"), std::string::npos) << err;
  const std::string broken = Scratch("harnex_broken.dxf");
  std::ofstream(broken) << "  0\nSECTION\n  2\nHEADER\n";
  EXPECT_EQ(RunProgram("--drawing " + broken + " -", &err), 1);
  EXPECT_NE(err.find("line "), std::string::npos) << err;
  // A picture is drawn when the script ends.
  const std::filesystem::path picture = Scratch("harnex_cli_out.svg");
  std::filesystem::remove(picture);
  EXPECT_EQ(RunProgram("--svg " + picture.string() + " -", &err), 0) << err;
  std::ifstream picture_in(picture);
  const std::string svg((std::istreambuf_iterator<char>(picture_in)),
                        std::istreambuf_iterator<char>());
  EXPECT_TRUE(svg.rfind("<svg", 0) == 0 || svg.rfind("<?xml", 0) == 0) << svg.substr(0, 80);
  std::filesystem::remove(picture);

  EXPECT_EQ(RunProgram("/nonexistent/script.hxs", &err), 1);
  EXPECT_NE(err.find("cannot open the script"), std::string::npos) << err;

  const std::string bad = Scratch("harnex_bad_script.hxs");
  std::ofstream(bad) << "command X\n\nwobble\n";
  EXPECT_EQ(RunProgram(bad, &err), 1);
  EXPECT_NE(err.find("line 3: unknown action \"wobble\""), std::string::npos) << err;

  const std::string expecting = Scratch("harnex_expect.hxs");
  std::ofstream(expecting) << "command NOSUCH\nexpect something else\n";
  EXPECT_EQ(RunProgram("--no-host-module " + expecting, &err), 2);
  EXPECT_NE(err.find("line 2: expected text not found"), std::string::npos) << err;

  const std::string unfit = Scratch("harnex_unfit.hxs");
  std::ofstream(unfit) << "answer ok\n";
  EXPECT_EQ(RunProgram("--no-host-module " + unfit, &err), 3);
  EXPECT_NE(err.find("line 1: nothing waits for \"answer ok\""), std::string::npos) << err;
}

// Reads a whole file as bytes.
std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CommandLineTest, ADrawingIsOpenedAndSavedToAnotherFileNeverOverTheInput) {
  const std::filesystem::path dir = Scratch("harnex_cli_dxf");
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string in = (dir / "plan.dxf").string();
  {
    host::Session::Options options = tools::HarnexSessionOptions();
    tools::SkipAtStart(&options, tools::kHostModuleName);
    options.drawing = [](AcDbDatabase* db) {
      tools::DrawingBuilder b(db);
      b.DefineSegment(L"RT100", 100);
      b.DefinePart(L"KK_PANEL", 20);
      b.AddRouteElement(L"RT100", {0, 0});
      b.AddPart(L"KK_PANEL", {0, 0}, L"分電盤-1");
    };
    Session session(options);
    ASSERT_TRUE(session.Start());
    std::wstring error;
    ASSERT_TRUE(session.SaveDrawing(in, &error)) << platform::WideToUtf8(error);
  }
  const std::string original = Slurp(in);

  // Saving onto the drawing that was read is refused before anything runs.
  std::string err;
  EXPECT_EQ(
      RunProgram("--drawing " + in + " --save " + (dir / "." / "plan.dxf").string() + " -", &err),
      1);
  EXPECT_NE(err.find("will not write over the drawing that was read"), std::string::npos) << err;
  EXPECT_EQ(Slurp(in), original);

  // The session sees the drawing's part block, and the saved copy keeps its XData.
  const std::string script = (dir / "look.hxs").string();
  std::ofstream(script) << "show drawing\nexpect S001|分電盤-1|\n";
  const std::string out = (dir / "saved.dxf").string();
  EXPECT_EQ(RunProgram("--no-host-module --drawing " + in + " --save " + out + " " + script, &err),
            0)
      << err;
  EXPECT_EQ(Slurp(in), original);
  const std::string saved = Slurp(out);
  EXPECT_NE(saved.find("AC1024"), std::string::npos);
  EXPECT_NE(saved.find("S001|分電盤-1|"), std::string::npos);
  EXPECT_NE(saved.find("RQ_LINK"), std::string::npos);
  std::filesystem::remove_all(dir);
}

TEST(CommandLineTest, TheDemoRunsInTheFolderItIsGiven) {
  const std::filesystem::path dir = Scratch("harnex_demo_test");
  std::filesystem::remove_all(dir);
  std::string err;
  EXPECT_EQ(RunProgram("--demo " + dir.string(), &err), 0) << err;
  EXPECT_TRUE(std::filesystem::exists(dir / "harnex.ini"));
  EXPECT_TRUE(std::filesystem::exists(dir / "demo.hxs"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "system"));
  EXPECT_NE(err.find("the demo ran in " + dir.string()), std::string::npos) << err;
  // It ran on a copy of the example drawing and saved it with the assignments' records and the
  // two notes of the note session, its picture beside it with the wired elements
  // marked. The riser's note shows the trunk pattern's first row: its wire size, the
  // underground conduit (the pattern's conduit choice) and its item.
  const std::string example = Slurp(dir / "office_1f.dxf");
  EXPECT_NE(example.find("RBT_P1200"), std::string::npos);
  EXPECT_EQ(example.find("PX02|"), std::string::npos);
  EXPECT_EQ(example.find("PXNT"), std::string::npos);
  const std::string saved = Slurp(dir / "demo_saved.dxf");
  EXPECT_NE(saved.find("RBT_P1200"), std::string::npos);
  // The automatic assignment ran last: the lighting branch that L-2 and L-1 share holds L-2's
  // row and L-1's as PX02 (it replaced the manual assignment's PX02 there), the hatched power
  // panel the name of the outdoor unit whose row passed it, and the run markers stay.
  EXPECT_NE(saved.find("PX02|1L-2!VVF1.6-3C (PF16)!L-1!E1!|2|1|55|0|"), std::string::npos);
  EXPECT_EQ(saved.find("PX02|1L-3!IV5.5sq E5.5 (PF22)!L-2!E2!|2|1|55|0|"), std::string::npos);
  EXPECT_NE(saved.find("RQPX_BANLINK\n1000\n空調室外機 AC-1\n"), std::string::npos);
  EXPECT_NE(saved.find("RQPX_AUTOFLAG"), std::string::npos);
  EXPECT_NE(saved.find("PXNT0001"), std::string::npos);
  EXPECT_NE(saved.find("PXNT0002"), std::string::npos);
  const std::string picture = Slurp(dir / "demo_saved.svg");
  EXPECT_NE(picture.find("空調室外機 AC-1"), std::string::npos);
  EXPECT_NE(picture.find("stroke=\"#ff8c00\""), std::string::npos);
  EXPECT_NE(picture.find("CV22sq-3C E8 (FEP50)（電灯幹線）"), std::string::npos);
  // The check drew its picture; the recovery gave the colours back and left the emptied
  // records, with no saved colour, in the saved drawing.
  EXPECT_TRUE(std::filesystem::exists(dir / "demo_checked.svg"));
  EXPECT_EQ(example.find("$P13"), std::string::npos);
  EXPECT_NE(saved.find("$P13||2|1|55|0|"), std::string::npos);
  EXPECT_EQ(saved.find("$P13|256|"), std::string::npos);
  // The palette session saved the edited sample project and remembered where it stopped.
  const std::string project = Slurp(dir / "system" / "プロジェクト" / "サンプルビル.tpr");
  EXPECT_NE(project.find("HFIX1.6-2C"), std::string::npos);
  // The second row's wire size as the size detail composed it (the file is in code page 932).
  EXPECT_NE(project.find("HSIZE1-002=IV5.5sq E5.5"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir / "system" / "プロジェクト" / "LastProj.ini"));
  // After the automatic assignment: the outdoor unit's circuit alone, and the reports. Its row
  // (1P-2, item code M1, 動力 in the general list) is one line of the wire report.
  EXPECT_NE(Slurp(dir / "demo_1P-2.svg").find("stroke=\"#ff8c00\""), std::string::npos);
  const std::string wires = Slurp(dir / "demo_wires.csv");
  EXPECT_EQ(
      wires.rfind("\xEF\xBB\xBF図面,系統番号,工事項目,盤/負荷名称,配線サイズ,要素数,経路長(m),"
                  "手配長(m)\r\n",
                  0),
      0u)
      << wires;
  EXPECT_NE(wires.find("\r\ndemo_saved.dxf,1P-2,動力,空調室外機 AC-1,CVV1.25sq-2C (CD22),"),
            std::string::npos)
      << wires;
  EXPECT_NE(Slurp(dir / "demo_untagged.csv").find("画層\r\n"), std::string::npos);
  EXPECT_NE(Slurp(dir / "demo_patterns.csv").find("\r\nサンプルビル,受変電から分電盤,幹線,1,"),
            std::string::npos);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace host
