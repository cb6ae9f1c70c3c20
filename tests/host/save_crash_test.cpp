// What a crash leaves of a saved file: the project saved from the palette, LastProj.ini written
// when the palette closes, and ZazoZivi.ini written by a settings command. Each scenario runs in
// a child process that is killed with SIGKILL before every call of the file-system seam that may
// change the disk, inside every write (after none, one, half and all but one of its bytes), and
// once the host went idle after it. After each kill the file must be the old or the new version
// byte for byte, both on the disk as the killed process left it and after a power cut at that
// moment; once the host is idle, the new version must be on the disk to stay.
#include <gtest/gtest.h>
#include <windows.h>

#include <accmd.h>
#include <rxregsvc.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "tools/harnex_session.h"
#include "crash_point_support.h"
#include "host/session/session.h"
#include "tools/system_folder.h"
#include "platform/win/text_encoding.h"

namespace host::testing {
namespace {

// ---- A settings command, writing the list settings as the list details dialog does ----

std::wstring& SettingsFile() {
  static std::wstring file;
  return file;
}

void WriteListSettings() {
  struct Setting {
    const wchar_t* key;
    double value;
  };
  const Setting settings[] = {{L"文字高さ", 3.5},
                              {L"文字幅", 2.76},
                              {L"行高さ", 7.0},
                              {L"オフセット1", 1.24},
                              {L"オフセット2", 2.0}};
  for (const Setting& s : settings) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%.1f", s.value);
    WritePrivateProfileStringW(L"自動複数配線リスト設定", s.key, text, SettingsFile().c_str());
  }
}

AcRx::AppRetCode SettingsEntry(AcRx::AppMsgCode msg, void*) {
  if (msg == AcRx::kInitAppMsg)
    acedRegCmds->addCommand(L"HXSET", L"HXLISTSET", L"HXLISTSET", 0, WriteListSettings);
  if (msg == AcRx::kUnloadAppMsg) acedRegCmds->removeGroup(L"HXSET");
  return AcRx::kRetOK;
}

ModuleImage SettingsImage() {
  ModuleImage image;
  image.name = L"HxSettings.arx";
  image.exports = {{"acrxEntryPoint", reinterpret_cast<void*>(&SettingsEntry)}};
  return image;
}

// ---- Scenarios ----

std::string Cp932(const std::wstring& text) {
  return platform::WideToCp932(text);
}

class SaveCrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    folder_ = tools::SystemFolderCopy::Create("", &error);
    ASSERT_NE(folder_, nullptr) << error;
    const std::wstring projects = Win("/プロジェクト");
    // The palette opens on the sample project, as after a palette closed on it.
    const std::wstring last = projects + L"\\LastProj.ini";
    WritePrivateProfileStringW(L"KORMAN_CABLIX", L"NAME", L"サンプルビル", last.c_str());
    WritePrivateProfileStringW(L"KORMAN_CABLIX", L"PATTERN", L"受変電から分電盤", last.c_str());
    ASSERT_TRUE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr));
    SettingsFile() = Win("/ZazoZivi.ini");
  }

  // A path below the system folder, POSIX and Windows forms.
  std::string Posix(const std::string& relative) const {
    return folder_->system_folder() + relative;
  }
  std::wstring Win(const std::string& relative) const {
    std::wstring path = platform::Utf8ToWide(Posix(relative));
    for (wchar_t& c : path)
      if (c == L'/') c = L'\\';
    return path;
  }

  // A session on the folder, left running: the child dies with it.
  std::function<void()> Scenario(const std::wstring& script, bool close_windows = false) {
    const std::wstring config = folder_->config_path();
    return [config, script, close_windows] {
      const SYSTEMTIME now{2026, 12, 0, 6, 13, 14, 15, 0};
      platform::SetClockForTesting(&now);
      host::Session::Options options = tools::HarnexSessionOptions();
      options.config_path = config;
      options.extra_images = {SettingsImage()};
      options.load_at_start = {L"HxSettings.arx"};
      auto* session = new Session(options);
      session->Start();
      session->RunScript(script);
      if (close_windows) session->CloseWindows();
    };
  }

  // What a scenario writes and what is checked of it.
  struct Case {
    std::function<void()> scenario;
    std::string watched;                            // POSIX path
    std::function<void(const std::string&)> check;  // the new version, by the rules
    std::vector<std::string> between;               // whole versions an earlier flush writes
    std::function<void()> save_again;               // a later save, run after each kill
    std::function<void(const std::string&)> check_again;
  };

  // Runs the scenario to its end, then kills it at every point of that run: the watched file is
  // always a whole version (old, new or one in between), and new to stay once the host is idle.
  // A later save after each kill must write its own version and leave no temporary file.
  void KillEverywhere(const Case& c) {
    const std::string old_bytes = FileBytes(c.watched);
    ASSERT_NE(old_bytes, kMissing);
    const FolderSnapshot before(folder_->system_folder());

    std::vector<SeamCall> calls;
    const ChildRun end = RunUntil(c.scenario, c.watched, KillPoint{}, &calls);
    ASSERT_TRUE(end.killed) << end.error;
    const std::string new_bytes = FileBytes(c.watched);
    ASSERT_NE(new_bytes, old_bytes) << "the scenario changed nothing";
    c.check(new_bytes);
    EXPECT_EQ(end.outcomes, std::vector<std::string>{new_bytes})
        << "the new version is not on the disk to stay once the host is idle";

    auto label = [&](const std::string& bytes) {
      if (bytes == old_bytes) return std::string("old");
      if (bytes == new_bytes) return std::string("new");
      for (size_t i = 0; i < c.between.size(); ++i)
        if (bytes == c.between[i]) return "version " + std::to_string(i + 1) + " in between";
      if (bytes == kMissing || bytes == kTorn) return bytes;
      return "a mix of " + std::to_string(bytes.size()) + " bytes";
    };
    auto whole = [&](const std::string& bytes) {
      const std::string l = label(bytes);
      return l == "old" || l == "new" || l.ends_with("in between");
    };
    const std::vector<KillPoint> points = KillPointsOf(calls);
    for (const KillPoint& point : points) {
      if (point.call == 0) continue;  // the end, done above
      before.Restore();
      const SeamCall& call = calls[point.call - 1];
      const std::string where =
          Describe(point) + " (" + platform::FileOpName(call.op) + " " + call.path + ")";
      const ChildRun run = RunUntil(c.scenario, c.watched, point);
      ASSERT_TRUE(run.killed) << where << ": " << run.error;
      const std::string left = FileBytes(c.watched);
      EXPECT_TRUE(whole(left)) << "killed at " << where << ": the file is " << label(left);
      for (const std::string& outcome : run.outcomes)
        EXPECT_TRUE(whole(outcome))
            << "power cut at " << where << ": the file could be " << label(outcome);
      if (c.save_again) {
        const ChildRun again = RunUntil(c.save_again, c.watched, KillPoint{});
        ASSERT_TRUE(again.killed) << again.error;
        c.check_again(FileBytes(c.watched));
        for (const char* temp : {"/プロジェクト/PrjTemp.tmp", "/プロジェクト/PrjTemp.tmp.~wr"})
          EXPECT_EQ(FileBytes(Posix(temp)), kMissing)
              << temp << " saved again after a kill at " << where;
        if (HasFailure()) {
          ADD_FAILURE() << "saved again after a kill at " << where;
          break;
        }
      }
    }
    std::printf("%zu kill points over %zu calls of the seam\n", points.size(), calls.size());
    before.Restore();
  }

  std::unique_ptr<tools::SystemFolderCopy> folder_;
};

// The lines of a sample project saved at the test's clock with row 1 of its first pattern
// holding `keitou`.
void ExpectSavedSample(const std::string& bytes, const std::wstring& keitou) {
  for (const std::wstring& line :
       {std::wstring(L"[PROJECT]\r\nNAME=サンプルビル\r\nCREATEDATE=2016/04/01 09:30:00\r\n"
                     L"UPDATEDATE=2026/12/06 13:14:15\r\n"),
        L"[PATTERN-001]\r\nTYPE=幹線\r\nPIPESEL=3\r\nKOUJI-001=電灯幹線\r\nKEITOU-001=" + keitou +
            L"\r\nBAN-001=P-1,L-1\r\n"})
    EXPECT_NE(bytes.find(Cp932(line)), std::string::npos) << platform::WideToUtf8(line);
}

TEST_F(SaveCrashTest, TheProjectSavedFromThePaletteIsOldOrNewAtEveryKill) {
  Case c;
  c.scenario = Scenario(L"command RQ_HARNEX\ntype 248 L-77\nclick 207\n");
  c.watched = Posix("/プロジェクト/サンプルビル.tpr");
  c.check = [](const std::string& bytes) { ExpectSavedSample(bytes, L"L-77"); };
  c.save_again = Scenario(L"command RQ_HARNEX\ntype 248 L-78\nclick 207\n");
  c.check_again = [](const std::string& bytes) { ExpectSavedSample(bytes, L"L-78"); };
  KillEverywhere(c);
}

TEST_F(SaveCrashTest, LastProjIniWrittenWhenThePaletteClosesIsOldOrNewAtEveryKill) {
  Case c;
  c.scenario =
      Scenario(L"command RQ_HARNEX\nchoose 203 1F照明・コンセント\n", /*close_windows=*/true);
  c.watched = Posix("/プロジェクト/LastProj.ini");
  // The palette writes the last project when it closes and its palette set's settings when its
  // window goes, each flushed.
  const std::wstring last_project =
      L"[KORMAN_CABLIX]\r\nNAME=サンプルビル\r\nPATTERN=1F照明・コンセント\r\n";
  c.between = {Cp932(last_project)};
  c.check = [last_project](const std::string& bytes) {
    EXPECT_EQ(bytes.substr(0, Cp932(last_project).size()), Cp932(last_project));
    EXPECT_NE(bytes.find("\r\nAUTOROLLUP=OFF\r\n"), std::string::npos);
  };
  KillEverywhere(c);
}

TEST_F(SaveCrashTest, ZazoZiviIniWrittenByACommandIsOldOrNewAtEveryKill) {
  Case c;
  c.scenario = Scenario(L"command HXLISTSET\n");
  c.watched = Posix("/ZazoZivi.ini");
  c.check = [](const std::string& bytes) {
    for (const wchar_t* line :
         {L"[自動複数配線リスト設定]\r\n文字高さ=3.5\r\n文字幅=2.8\r\n行高さ=7.0\r\n"
          L"オフセット1=1.2\r\nオフセット2=2.0\r\n",
          // The note settings keep their values.
          L"[自動複数配線注記設定]\r\n文字高さ=2.0\r\n文字幅=1.6\r\n"})
      EXPECT_NE(bytes.find(Cp932(line)), std::string::npos) << platform::WideToUtf8(line);
  };
  KillEverywhere(c);
}

}  // namespace
}  // namespace host::testing
