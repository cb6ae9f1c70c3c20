// Starting without a host configuration says so once on standard error, and a copy of the
// example's system folder leaves out what sessions wrote into the checkout.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/system_folder.h"

namespace {

namespace fs = std::filesystem;

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class HostConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("harnex_config_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    std::ofstream(dir_ / "palette.hxs") << "command RQ_HARNEX\n";
  }
  void TearDown() override { fs::remove_all(dir_); }

  // harnex-host with `args` in the test's folder; its exit status.
  int Run(const std::string& args, const std::string& env = "") {
    const fs::path program = fs::current_path().parent_path() / "harnex-host";
    const std::string command = "cd '" + dir_.string() + "' && " + env + " " + program.string() +
                                " " + args + " </dev/null >stdout.txt 2>stderr.txt";
    const int raw = std::system(command.c_str());
    out_ = FileText(dir_ / "stdout.txt");
    err_ = FileText(dir_ / "stderr.txt");
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

  fs::path dir_;
  std::string out_, err_;
};

std::string Missing(const std::string& path) {
  return "harnex-host: no host configuration: " + path +
         " does not exist, so there is no system folder and no project; give one with --config "
         "FILE or HARNEX_CONFIG (harnex-host --demo DIR copies the example's system folder to "
         "DIR and writes DIR/harnex.ini)\n";
}

TEST_F(HostConfigTest, AMissingConfigurationIsSaidOnceAtTheStart) {
  // None in the folder, none named: harnex.ini of the current folder was looked for.
  EXPECT_EQ(Run("palette.hxs", "env -u HARNEX_CONFIG"), 0) << err_;
  EXPECT_EQ(err_, Missing((dir_ / "harnex.ini").string()));
  EXPECT_NE(out_.find("[window 200 複数配線情報設定]"), std::string::npos) << out_;
  // A file named that does not exist, by option and by the environment.
  EXPECT_EQ(Run("--config nowhere.ini palette.hxs"), 0);
  EXPECT_EQ(err_, Missing((dir_ / "nowhere.ini").string()));
  EXPECT_EQ(Run("palette.hxs", "HARNEX_CONFIG=/nonexistent/h.ini"), 0);
  EXPECT_EQ(err_, Missing("/nonexistent/h.ini"));
  // A configuration that is there: nothing said.
  std::string error;
  auto folder = tools::SystemFolderCopy::Create((dir_ / "copy").string(), &error);
  ASSERT_NE(folder, nullptr) << error;
  folder.reset();
  EXPECT_EQ(Run("--config copy/harnex.ini palette.hxs"), 0) << err_;
  EXPECT_EQ(err_, "");
}

TEST_F(HostConfigTest, TheExampleCopyLeavesOutWhatSessionsWrote) {
  // An example folder in which a user ran sessions: the last project and a recovered project.
  const fs::path examples = dir_ / "examples";
  fs::create_directories(examples / "system" / "プロジェクト" / "サンプルビル");
  std::ofstream(examples / "system" / "ZazoZivi.ini") << "[a]\r\n";
  std::ofstream(examples / "system" / "プロジェクト" / "LastProj.ini") << "[b]\r\n";
  std::ofstream(examples / "system" / "プロジェクト" / "サンプルビル" / "p.tpr") << "[c]\r\n";
  std::ofstream(examples / "system" / "プロジェクト" / "サンプルビル" / "p.recovered.tpr")
      << "[d]\r\n";
  const char* before = std::getenv("HARNEX_SOURCE_DIR");
  const std::string kept = before ? before : "";
  ::setenv("HARNEX_SOURCE_DIR", dir_.string().c_str(), 1);
  std::string error;
  auto folder = tools::SystemFolderCopy::Create((dir_ / "copy").string(), &error);
  if (kept.empty()) {
    ::unsetenv("HARNEX_SOURCE_DIR");
  } else {
    ::setenv("HARNEX_SOURCE_DIR", kept.c_str(), 1);
  }
  ASSERT_NE(folder, nullptr) << error;
  const fs::path system = dir_ / "copy" / "system";
  EXPECT_EQ(FileText(system / "ZazoZivi.ini"), "[a]\r\n");
  EXPECT_EQ(FileText(system / "プロジェクト" / "サンプルビル" / "p.tpr"), "[c]\r\n");
  EXPECT_FALSE(fs::exists(system / "プロジェクト" / "LastProj.ini"));
  EXPECT_FALSE(fs::exists(system / "プロジェクト" / "サンプルビル" / "p.recovered.tpr"));
}

}  // namespace
