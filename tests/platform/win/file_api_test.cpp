// Files through the Win32 stand-in: path rules, case-blind finding, searches, move, copy and
// delete with their error codes, and faults injected through the file-system seam.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/file_system.h"
#include "platform/win/win_test_support.h"
#include "platform/win/win_path.h"
#include <windows.h>

namespace {

using wintest::TempFolder;

std::vector<std::wstring> Search(const std::wstring& pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(pattern.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (FindNextFileW(h, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(h));
  return names;
}

TEST(WinPath, RefusesNamesThatWindowsForbids) {
  TempFolder dir;
  const std::vector<std::wstring> bad = {
      L"a:b.ini", L"a*b.ini",  L"a?b.ini",   L"a\"b.ini", L"a<b.ini",   L"a>b.ini",
      L"a|b.ini", L"a\tb.ini", L"a\x01.ini", L"CON",      L"con.txt",   L"Nul.ini",
      L"PRN",     L"aux.dat",  L"COM1",      L"lpt9.log", L"..\\x.ini", L"sub\\..\\x.ini"};
  for (const std::wstring& name : bad) {
    SetLastError(0);
    EXPECT_EQ(GetFileAttributesW(dir.Win(name).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME)) << name.size();
    EXPECT_FALSE(WritePrivateProfileStringW(L"S", L"k", L"v", dir.Win(name).c_str()));
  }
  // Names that only look like devices are fine.
  for (const wchar_t* name : {L"CONSOLE.ini", L"COM10.ini", L"lpt.ini", L"nul_.ini"})
    EXPECT_EQ(platform::CheckComponent(name), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST(WinPath, FindsFilesAndFoldersWithoutRegardToCase) {
  TempFolder dir;
  dir.MakeFolder("Proj/Sub");
  dir.WriteBytes("Proj/Sub/File.INI", "[A]\r\nk=found\r\n");
  wchar_t buf[16];
  GetPrivateProfileStringW(L"a", L"K", L"", buf, 16, dir.Win(L"PROJ\\sub\\file.ini").c_str());
  EXPECT_EQ(std::wstring(buf), L"found");
  // Both separators serve.
  EXPECT_EQ(GetFileAttributesW(dir.Win(L"proj/SUB").c_str()),
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  platform::ResolvedPath r = platform::ResolvePath(dir.Win(L"pRoJ\\SUB\\file.ini"));
  EXPECT_EQ(r.posix, dir.Posix("Proj/Sub/File.INI"));
  EXPECT_TRUE(r.exists);

  SetLastError(0);
  EXPECT_EQ(GetFileAttributesW(dir.Win(L"proj\\missing.ini").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(GetFileAttributesW(dir.Win(L"none\\missing.ini").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(FindFile, MatchesPatternsInNtfsOrder) {
  TempFolder dir;
  for (const char* name : {"b.tpr", "A.tpr", "c.TPR", "x.txt", "ab.tpr", "\xE6\xA1\x88.tpr"})
    dir.WriteBytes(name, "12345");
  dir.MakeFolder("sub.tpr");
  EXPECT_EQ(
      Search(dir.Win(L"*.tpr")),
      (std::vector<std::wstring>{L"A.tpr", L"ab.tpr", L"b.tpr", L"c.TPR", L"sub.tpr", L"案.tpr"}));
  EXPECT_EQ(Search(dir.Win(L"?.TPR")),
            (std::vector<std::wstring>{L"A.tpr", L"b.tpr", L"c.TPR", L"案.tpr"}));
  EXPECT_EQ(Search(dir.Win(L"*")).front(), L".");
  EXPECT_EQ(Search(dir.Win(L"*.*")).size(), 9u);
  EXPECT_EQ(Search(dir.Win(L"X.TXT")), (std::vector<std::wstring>{L"x.txt"}));

  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(dir.Win(L"s*").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  FindClose(h);
  h = FindFirstFileW(dir.Win(L"b.tpr").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_FALSE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  SYSTEMTIME st;
  ASSERT_TRUE(FileTimeToSystemTime(&data.ftLastWriteTime, &st));
  EXPECT_GE(st.wYear, 2020);
  FindClose(h);
  EXPECT_FALSE(FindClose(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  EXPECT_EQ(FindFirstFileW(dir.Win(L"*.none").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirstFileW(dir.Win(L"none\\*.tpr").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(FileOps, MoveCopyDeleteAndFoldersGiveWindowsErrorCodes) {
  TempFolder dir;
  dir.WriteBytes("a.tpr", "old a");
  dir.WriteBytes("b.tpr", "old b");
  const std::wstring a = dir.Win(L"a.tpr"), b = dir.Win(L"B.TPR"), c = dir.Win(L"c.tpr");

  EXPECT_FALSE(MoveFileW(a.c_str(), b.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(dir.ReadBytes("b.tpr"), "old b");
  EXPECT_TRUE(MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(dir.ReadBytes("b.tpr"), "old a");
  EXPECT_FALSE(dir.Exists("a.tpr"));
  EXPECT_FALSE(MoveFileW(a.c_str(), c.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  EXPECT_TRUE(CopyFileW(b.c_str(), c.c_str(), TRUE));
  EXPECT_EQ(dir.ReadBytes("c.tpr"), "old a");
  EXPECT_FALSE(CopyFileW(b.c_str(), c.c_str(), TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  dir.WriteBytes("d.tpr", "d");
  EXPECT_TRUE(CopyFileW(dir.Win(L"d.tpr").c_str(), c.c_str(), FALSE));
  EXPECT_EQ(dir.ReadBytes("c.tpr"), "d");
  EXPECT_FALSE(CopyFileW(dir.Win(L"none.tpr").c_str(), c.c_str(), FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  EXPECT_TRUE(DeleteFileW(c.c_str()));
  EXPECT_FALSE(dir.Exists("c.tpr"));
  EXPECT_FALSE(DeleteFileW(c.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  EXPECT_TRUE(CreateDirectoryW(dir.Win(L"プロジェクト").c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryW(dir.Win(L"ﾌﾟﾛ\\x").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(CreateDirectoryW(dir.Win(L"プロジェクト").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(DeleteFileW(dir.Win(L"プロジェクト").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(FaultSeam, FailedCallsKeepWhatIsOnDiskAndReportTheirCode) {
  TempFolder dir;
  dir.WriteBytes("p.tpr", "old project");
  dir.WriteBytes("PrjTemp.tpr", "new project");
  platform::DiskFileSystem disk;
  platform::FaultInjectingFileSystem faults(&disk);
  platform::ScopedFileSystem scope(&faults);

  faults.FailEvery(platform::FileOp::kRename, ERROR_SHARING_VIOLATION);
  const std::wstring temp = dir.Win(L"PrjTemp.tpr"), project = dir.Win(L"p.tpr");
  EXPECT_FALSE(MoveFileExW(temp.c_str(), project.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(dir.ReadBytes("p.tpr"), "old project");
  EXPECT_EQ(dir.ReadBytes("PrjTemp.tpr"), "new project");
  faults.ClearFaults();
  EXPECT_TRUE(MoveFileExW(temp.c_str(), project.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(dir.ReadBytes("p.tpr"), "new project");

  // The second write fails: the first file is written, the second is not, and the flush says so.
  faults.FailCall(platform::FileOp::kWrite, 2, ERROR_HANDLE_DISK_FULL);
  WritePrivateProfileStringW(L"S", L"k", L"1", dir.Win(L"one.ini").c_str());
  EXPECT_TRUE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr));
  WritePrivateProfileStringW(L"S", L"k", L"2", dir.Win(L"two.ini").c_str());
  EXPECT_FALSE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HANDLE_DISK_FULL));
  EXPECT_EQ(dir.ReadBytes("one.ini"), "[S]\r\nk=1\r\n");
  EXPECT_FALSE(dir.Exists("two.ini"));
  EXPECT_EQ(faults.CallCount(platform::FileOp::kWrite), 2);

  // Each call of a copy fails in turn: the source is never harmed, and when the copy itself
  // fails, its code reaches GetLastError. A failed look-up may be made good by the case-blind
  // search, as on Windows.
  faults.ClearFaults();
  faults.ResetCalls();
  ASSERT_TRUE(CopyFileW(project.c_str(), dir.Win(L"q.tpr").c_str(), TRUE));
  const size_t calls = faults.calls().size();
  ASSERT_GT(calls, 1u);
  int failed_copies = 0;
  for (size_t i = 1; i <= calls; ++i) {
    faults.ClearFaults();
    DeleteFileW(dir.Win(L"q.tpr").c_str());
    faults.ResetCalls();
    faults.AddFault({std::nullopt, static_cast<int>(i), ERROR_WRITE_FAULT, dir.Posix()});
    BOOL ok = CopyFileW(project.c_str(), dir.Win(L"q.tpr").c_str(), TRUE);
    EXPECT_EQ(dir.ReadBytes("p.tpr"), "new project") << i;
    for (const auto& call : faults.calls()) {
      if (call.result != ERROR_WRITE_FAULT || call.op != platform::FileOp::kCopy) continue;
      ++failed_copies;
      EXPECT_FALSE(ok) << i;
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_FAULT)) << i;
      EXPECT_FALSE(dir.Exists("q.tpr")) << i;
    }
  }
  EXPECT_EQ(failed_copies, 1);
}

// The operations of a run of calls, in order, as "op leaf" ("write a.tpr", "sync folder").
std::vector<std::string> Ops(const std::vector<platform::FaultInjectingFileSystem::Call>& calls) {
  std::vector<std::string> ops;
  for (const auto& call : calls) {
    if (call.op == platform::FileOp::kStat || call.op == platform::FileOp::kList ||
        call.op == platform::FileOp::kRead)
      continue;
    std::string leaf = call.path.substr(call.path.find_last_of('/') + 1);
    ops.push_back(std::string(platform::FileOpName(call.op)) +
                  (call.op == platform::FileOp::kSyncFolder ? "" : " " + leaf));
  }
  return ops;
}

TEST(FaultSeam, AWriteThroughMoveSyncsTheFileBeforeAndTheFolderAfterAndUndoesAFailedSync) {
  using Strings = std::vector<std::string>;
  TempFolder dir;
  const std::wstring temp = dir.Win(L"PrjTemp.tmp"), project = dir.Win(L"p.tpr");
  platform::DiskFileSystem disk;
  platform::FaultInjectingFileSystem faults(&disk);
  platform::ScopedFileSystem scope(&faults);
  constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

  // A plain move syncs nothing; a write-through one syncs the data before the name takes it,
  // swaps it with the old file, syncs the folder and only then lets the old file go.
  dir.WriteBytes("PrjTemp.tmp", "one");
  ASSERT_TRUE(MoveFileExW(temp.c_str(), project.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(Ops(faults.calls()), Strings{"rename p.tpr"});
  dir.WriteBytes("PrjTemp.tmp", "two");
  faults.ResetCalls();
  ASSERT_TRUE(MoveFileExW(temp.c_str(), project.c_str(), kFlags));
  EXPECT_EQ(Ops(faults.calls()), (Strings{"sync file PrjTemp.tmp", "exchange p.tpr", "sync folder",
                                          "delete PrjTemp.tmp"}));
  EXPECT_EQ(dir.ReadBytes("p.tpr"), "two");
  EXPECT_FALSE(dir.Exists("PrjTemp.tmp"));

  // Either sync failing: FALSE with the chosen code, the old file in place, the new one kept.
  struct Case {
    platform::FileOp op;
    DWORD error;
  };
  for (const Case& c : {Case{platform::FileOp::kSyncFile, ERROR_WRITE_FAULT},
                        Case{platform::FileOp::kSyncFolder, ERROR_HANDLE_DISK_FULL}}) {
    SCOPED_TRACE(platform::FileOpName(c.op));
    dir.WriteBytes("PrjTemp.tmp", "three");
    faults.ClearFaults();
    faults.FailCall(c.op, 1, c.error);
    EXPECT_FALSE(MoveFileExW(temp.c_str(), project.c_str(), kFlags));
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(dir.ReadBytes("p.tpr"), "two");
    EXPECT_EQ(dir.ReadBytes("PrjTemp.tmp"), "three");
  }

  // A new name that fails its folder sync is given back: nothing stands under it.
  faults.ClearFaults();
  faults.FailCall(platform::FileOp::kSyncFolder, 1, ERROR_WRITE_FAULT);
  EXPECT_FALSE(MoveFileExW(temp.c_str(), dir.Win(L"new.tpr").c_str(), kFlags));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_FAULT));
  EXPECT_FALSE(dir.Exists("new.tpr"));
  EXPECT_EQ(dir.ReadBytes("PrjTemp.tmp"), "three");

  // A file moved onto itself under another spelling stays.
  faults.ClearFaults();
  EXPECT_TRUE(MoveFileExW(project.c_str(), dir.Win(L"P.TPR").c_str(), kFlags));
  EXPECT_EQ(dir.ReadBytes("p.tpr"), "two");
}

}  // namespace
