// Saving from the palette when the disk cannot confirm the save: each sync of the save failing
// with a chosen Windows error code shows the write error with that code and keeps the old project
// file, and the edits stay unsaved until a save succeeds.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

#include "platform/win/file_system.h"
#include "palette_test_support.h"
#include "platform/win/text_encoding.h"

namespace palette_test {
namespace {

std::string Bytes(const CString& file) {
  std::string path = platform::WideToUtf8(file.GetString());
  for (char& c : path)
    if (c == '\\') c = '/';
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

using SaveDurabilityTest = PaletteSessionTest;

TEST_F(SaveDurabilityTest, AFailedSyncShowsTheWriteErrorAndKeepsTheOldProject) {
  SetLastProject(L"NAME", L"サンプルビル");
  SetLastProject(L"PATTERN", L"受変電から分電盤");
  Start();
  const CString project = ProjectFile(L"サンプルビル");
  const std::string old_bytes = Bytes(project);
  ASSERT_EQ(Run(L"command RQ_HARNEX\ntype 248 L-77\n"), 0) << platform::WideToUtf8(StopReason());

  // The save syncs the data twice, when the temporary file's keys are flushed and when it is
  // moved over the project, and the folder once, after that move.
  struct Case {
    platform::FileOp op;
    int nth;
    DWORD error;
  };
  for (const Case& c : {Case{platform::FileOp::kSyncFile, 1, ERROR_WRITE_FAULT},
                        Case{platform::FileOp::kSyncFile, 2, ERROR_HANDLE_DISK_FULL},
                        Case{platform::FileOp::kSyncFolder, 1, ERROR_ACCESS_DENIED}}) {
    SCOPED_TRACE(std::string(platform::FileOpName(c.op)) + " " + std::to_string(c.nth));
    platform::DiskFileSystem disk;
    platform::FaultInjectingFileSystem faults(&disk);
    platform::ScopedFileSystem scoped(&faults);
    faults.FailCall(c.op, c.nth, c.error);
    ClearTranscript();
    ASSERT_EQ(Run(L"click 207\n"), 0) << platform::WideToUtf8(StopReason());
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"[box stop] ファイル書込みエラー(" +
                                                 std::to_wstring(c.error) + L") → OK"});
    EXPECT_EQ(Bytes(project), old_bytes);
  }

  // Still unsaved: the next save writes the edit.
  ClearTranscript();
  ASSERT_EQ(Run(L"click 207\n"), 0) << platform::WideToUtf8(StopReason());
  EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"[box information] データが保存されました。 → OK"});
  EXPECT_NE(Bytes(project).find("\r\nKEITOU-001=L-77\r\n"), std::string::npos);
}

}  // namespace
}  // namespace palette_test
