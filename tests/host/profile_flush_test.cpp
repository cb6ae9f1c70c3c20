// Profile files that applications change reach the disk before the host goes idle: after a
// command, after a window action's handler, after the posted messages of an idle pass, when the
// windows close and when the modules unload; a file that cannot be written is reported on the
// command line with its Windows error code. Every check reads the file's bytes as another program
// would, around the stand-in's cache.
#include <gtest/gtest.h>
#include <windows.h>

#include <accmd.h>
#include <afxwin.h>
#include <rxregsvc.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tools/harnex_session.h"
#include "crash_point_support.h"
#include "platform/win/file_system.h"
#include "host/session/session.h"
#include "platform/win/text_encoding.h"
#include "platform/mfc/window_system.h"

namespace host {
namespace {

constexpr UINT kLookMessage = WM_APP + 1;
constexpr int kButton = 1001;

std::wstring& IniFile() {
  static std::wstring file;
  return file;
}
std::string& IniPosix() {
  static std::string file;
  return file;
}
// What the posted message's handler found on the disk.
std::string& SeenByPostedHandler() {
  static std::string bytes;
  return bytes;
}

void Set(const wchar_t* key) {
  WritePrivateProfileStringW(L"S", key, L"1", IniFile().c_str());
}

// A window with a button: a click writes and posts a message whose handler looks at the disk;
// its destruction writes too.
class Window : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && LOWORD(wParam) == kButton) {
      Set(L"clicked");
      PostMessage(kLookMessage);
      return 0;
    }
    if (message == kLookMessage) {
      SeenByPostedHandler() = testing::FileBytes(IniPosix());
      Set(L"posted");
      return 0;
    }
    if (message == WM_DESTROY) Set(L"destroyed");
    return CWnd::WindowProc(message, wParam, lParam);
  }
  CButton button;  // destroyed with the window; the object goes with the window's object
};

std::unique_ptr<Window>& TheWindow() {
  static std::unique_ptr<Window> window;
  return window;
}

void WriteCommand() {
  Set(L"command");
}

void IdleCommand() {}

void WindowCommand() {
  TheWindow() = std::make_unique<Window>();
  TheWindow()->CreateEx(0, L"HxIniWindow", L"ini", WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0);
  TheWindow()->button.Create(L"write", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 90, 40),
                             TheWindow().get(), kButton);
  platform::mfc::SetPaletteWindow(TheWindow().get());
}

AcRx::AppRetCode Entry(AcRx::AppMsgCode msg, void*) {
  if (msg == AcRx::kInitAppMsg) {
    acedRegCmds->addCommand(L"HXINI", L"HXWRITE", L"HXWRITE", 0, WriteCommand);
    acedRegCmds->addCommand(L"HXINI", L"HXWINDOW", L"HXWINDOW", 0, WindowCommand);
    acedRegCmds->addCommand(L"HXINI", L"HXIDLE", L"HXIDLE", 0, IdleCommand);
  }
  if (msg == AcRx::kUnloadAppMsg) {
    acedRegCmds->removeGroup(L"HXINI");
    Set(L"unloaded");
  }
  return AcRx::kRetOK;
}

class ProfileFlushTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "harnex-flush-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    IniPosix() = root_ + "/設定.ini";
    IniFile() = platform::Utf8ToWide(IniPosix());
    SeenByPostedHandler().clear();
    host::Session::Options options = tools::HarnexSessionOptions();
    tools::SkipAtStart(&options, tools::kAddinModuleName);
    ModuleImage image;
    image.name = L"HxIni.arx";
    image.exports = {{"acrxEntryPoint", reinterpret_cast<void*>(&Entry)}};
    options.extra_images = {image};
    options.load_at_start = {L"HxIni.arx"};
    session_ = std::make_unique<Session>(options);
    ASSERT_TRUE(session_->Start());
  }
  void TearDown() override {
    session_.reset();
    TheWindow().reset();
    std::filesystem::remove_all(root_);
  }
  std::string OnDisk() const { return testing::FileBytes(IniPosix()); }

  std::string root_;
  std::unique_ptr<Session> session_;
};

TEST_F(ProfileFlushTest, WritesReachTheDiskAtTheEndOfEachHandlerAndOfTheSession) {
  // A command run by itself, without the main loop going idle after it.
  session_->RunCommandLine(L"HXWRITE", {}, 0);
  EXPECT_EQ(OnDisk(), "[S]\r\ncommand=1\r\n");

  // A click's handler: on the disk before the message it posted is handled.
  ASSERT_EQ(session_->Run({steps::Command(L"HXWINDOW"), steps::Click(kButton)}), 0)
      << platform::WideToUtf8(session_->stop_reason());
  EXPECT_EQ(SeenByPostedHandler(), "[S]\r\ncommand=1\r\nclicked=1\r\n");
  // The posted message's handler: on the disk when the main loop is idle again.
  EXPECT_EQ(OnDisk(), "[S]\r\ncommand=1\r\nclicked=1\r\nposted=1\r\n");

  // Closing the windows and unloading the modules, as the program does when it quits.
  session_->CloseWindows();
  EXPECT_EQ(OnDisk(), "[S]\r\ncommand=1\r\nclicked=1\r\nposted=1\r\ndestroyed=1\r\n");
  session_.reset();
  EXPECT_EQ(OnDisk(), "[S]\r\ncommand=1\r\nclicked=1\r\nposted=1\r\ndestroyed=1\r\nunloaded=1\r\n");
  EXPECT_FALSE(std::filesystem::exists(IniPosix() + ".~wr")) << "the flush's temporary file";
}

TEST_F(ProfileFlushTest, AFileThatCannotBeWrittenIsReportedWithItsCodeAndKeepsItsBytes) {
  session_->RunCommandLine(L"HXWRITE", {}, 0);
  const std::string before = OnDisk();
  ASSERT_EQ(before, "[S]\r\ncommand=1\r\n");
  const std::wstring report_prefix = L"\nERROR: ファイル書込みエラー(";
  const std::wstring report_suffix = L"): " + IniFile() + L"\n";

  struct Fault {
    platform::FileOp op;
    DWORD error;
  };
  for (const Fault& f : {Fault{platform::FileOp::kWrite, ERROR_ACCESS_DENIED},
                         Fault{platform::FileOp::kSyncFile, ERROR_WRITE_FAULT},
                         Fault{platform::FileOp::kSyncFolder, ERROR_HANDLE_DISK_FULL}}) {
    SCOPED_TRACE(platform::FileOpName(f.op));
    platform::DiskFileSystem disk;
    platform::FaultInjectingFileSystem faults(&disk);
    platform::ScopedFileSystem scoped(&faults);
    faults.AddFault({f.op, 0, f.error, ""});
    session_->ClearTranscript();
    session_->RunCommandLine(L"HXIDLE", {}, 0);  // nothing to write, nothing to report
    EXPECT_EQ(session_->transcript(), L"\nコマンド: HXIDLE\n");
    session_->RunCommandLine(L"HXWRITE", {}, 0);
    Set(L"later");  // each flush that fails reports it
    session_->RunCommandLine(L"HXIDLE", {}, 0);
    const std::wstring report = report_prefix + std::to_wstring(f.error) + report_suffix;
    EXPECT_EQ(session_->transcript(), L"\nコマンド: HXIDLE\n\nコマンド: HXWRITE\n" + report +
                                          L"\nコマンド: HXIDLE\n" + report);
    EXPECT_EQ(OnDisk(), before);
    EXPECT_FALSE(std::filesystem::exists(IniPosix() + ".~wr"));
  }
}

TEST_F(ProfileFlushTest, ANewFileIsWholeAtOnceAndItsNameIsSyncedBeforeTheHostGoesIdle) {
  platform::DiskFileSystem disk;
  platform::FaultInjectingFileSystem faults(&disk);
  platform::ScopedFileSystem scoped(&faults);
  Set(L"first");
  ASSERT_TRUE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, IniFile().c_str()));
  EXPECT_EQ(OnDisk(), "[S]\r\nfirst=1\r\n");

  // The folder's sync fails when the host goes idle: reported, and the file stays whole.
  faults.FailEvery(platform::FileOp::kSyncFolder, ERROR_WRITE_FAULT);
  session_->ClearTranscript();
  session_->RunCommandLine(L"HXIDLE", {}, 0);
  EXPECT_EQ(session_->transcript(),
            L"\nコマンド: HXIDLE\n\nERROR: ファイル書込みエラー(29): " + IniFile() + L"\n");
  EXPECT_EQ(faults.CallCount(platform::FileOp::kSyncFolder), 1);
  EXPECT_EQ(OnDisk(), "[S]\r\nfirst=1\r\n");
}

}  // namespace
}  // namespace host
