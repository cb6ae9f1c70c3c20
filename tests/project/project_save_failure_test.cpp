// Saving a project when file calls fail, leave their temporary file behind or are given names
// Windows refuses: the project on disk stays whole and the messages say what happened.
#include "project/project_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/win/file_system.h"
#include "project/project_test_support.h"
#include "platform/win/text_encoding.h"
#include <windows.h>

namespace {

using projecttest::Key;
using projecttest::MakeFullPattern;
using projecttest::MakePattern;
using projecttest::PatternDifference;
using projecttest::ProjectFileTest;
using projecttest::TempProjectFolder;
using projecttest::Utf8;

class ObservingFileSystem : public platform::FileSystem {
 public:
  ObservingFileSystem(platform::FileSystem* next, std::function<void()> look)
      : next_(next), look_(std::move(look)) {}
  DWORD Read(const std::string& p, std::string* c) override { return next_->Read(p, c); }
  DWORD Write(const std::string& p, std::string_view c) override {
    return Look(next_->Write(p, c));
  }
  DWORD Rename(const std::string& f, const std::string& t, bool r) override {
    return Look(next_->Rename(f, t, r));
  }
  DWORD Copy(const std::string& f, const std::string& t, bool e) override {
    return Look(next_->Copy(f, t, e));
  }
  DWORD Delete(const std::string& p) override { return Look(next_->Delete(p)); }
  DWORD Stat(const std::string& p, platform::FileInfo* i) override { return next_->Stat(p, i); }
  DWORD List(const std::string& p, std::vector<std::string>* n) override {
    return next_->List(p, n);
  }
  DWORD CreateFolder(const std::string& p) override { return Look(next_->CreateFolder(p)); }
  DWORD RemoveFolder(const std::string& p) override { return Look(next_->RemoveFolder(p)); }
  DWORD Exchange(const std::string& a, const std::string& b) override {
    return Look(next_->Exchange(a, b));
  }
  DWORD SyncFile(const std::string& p) override { return next_->SyncFile(p); }
  DWORD SyncFolder(const std::string& p) override { return next_->SyncFolder(p); }

 private:
  DWORD Look(DWORD result) {
    look_();
    return result;
  }
  platform::FileSystem* next_;
  std::function<void()> look_;
};

TEST_F(ProjectFileTest, EachFailingFileCallOfASaveLeavesTheOldProjectWhole) {
  constexpr DWORD kFault = ERROR_HANDLE_DISK_FULL;
  auto old_pattern = MakePattern(L"old", 0, 1, {{L"old row"}});
  auto new_pattern = MakeFullPattern(L"new");
  ProjectModel old_project(dir_.Win()), new_project(dir_.Win());
  old_project.AddPattern(std::make_unique<PatternData>(*old_pattern));
  new_project.AddPattern(std::make_unique<PatternData>(*new_pattern));

  // The two complete files that may stand under the project's name (both saved over an
  // existing file, so both carry UPDATEDATE).
  ASSERT_TRUE(SaveProject(new_project, L"P"));
  ASSERT_TRUE(SaveProject(new_project, L"P"));
  const std::string new_bytes = dir_.Read("P.tpr");
  ASSERT_TRUE(SaveProject(old_project, L"P"));
  const std::string old_bytes = dir_.Read("P.tpr");
  ASSERT_NE(old_bytes, new_bytes);

  platform::DiskFileSystem disk;
  platform::FaultInjectingFileSystem faults(&disk);
  std::vector<std::string> seen;
  ObservingFileSystem observer(&faults, [&] {
    std::string now;
    if (disk.Read(dir_.Posix("P.tpr"), &now) != ERROR_SUCCESS) now = "<missing>";
    seen.push_back(now);
  });
  platform::ScopedFileSystem scoped(&observer);

  ASSERT_TRUE(SaveProject(new_project, L"P"));
  const int calls = static_cast<int>(faults.calls().size());
  ASSERT_GT(calls, 3);
  ASSERT_TRUE(SaveProject(old_project, L"P"));

  int failed_saves = 0;
  for (int nth = 1; nth <= calls; ++nth) {
    faults.ResetCalls();
    faults.AddFault({std::nullopt, nth, kFault, ""});
    log_.Clear();
    seen.clear();
    const bool saved = SaveProject(new_project, L"P");
    faults.ClearFaults();
    std::string failed_call = "none";
    for (const auto& call : faults.calls())
      if (call.result == kFault) failed_call = platform::FileOpName(call.op) + (" " + call.path);

    for (const std::string& bytes : seen)
      EXPECT_TRUE(bytes == old_bytes || bytes == new_bytes)
          << "call " << nth << " (" << failed_call << "): the project file was partial or gone";
    EXPECT_EQ(dir_.Read("P.tpr"), saved ? new_bytes : old_bytes)
        << "call " << nth << " (" << failed_call << ")";
    if (!saved) {
      ++failed_saves;
      EXPECT_TRUE(log_.HasWriteError(kFault))
          << "call " << nth << " (" << failed_call << "): " << projecttest::Utf8(log_.Text());
      ProjectModel loaded(dir_.Win());
      ASSERT_EQ(LoadProject(loaded, L"P"), 1);
      EXPECT_EQ(PatternDifference(*loaded.Pattern(0), *old_pattern), "") << "call " << nth;
      ASSERT_TRUE(SaveProject(old_project, L"P"));  // leftovers of the failure go
    } else {
      EXPECT_EQ(log_.Text(), L"") << "call " << nth;
      ASSERT_TRUE(SaveProject(old_project, L"P"));
    }
  }
  EXPECT_GE(failed_saves, 2) << "the write and the move must be able to fail";
}

TEST_F(ProjectFileTest, FailedMoveKeepsTheCompleteTemporaryFileUntilTheNextSave) {
  project_.AddPattern(MakePattern(L"old", 0, 0, {{L"o"}}));
  ASSERT_TRUE(SaveProject(project_, L"P"));
  const std::string old_bytes = dir_.Read("P.tpr");

  platform::DiskFileSystem disk;
  platform::FaultInjectingFileSystem faults(&disk);
  platform::ScopedFileSystem scoped(&faults);
  // The move onto the project fails, whether it renames or swaps the names.
  faults.AddFault({platform::FileOp::kRename, 0, ERROR_SHARING_VIOLATION, "P.tpr"});
  faults.AddFault({platform::FileOp::kExchange, 0, ERROR_SHARING_VIOLATION, "P.tpr"});
  project_.Pattern(0)->kouji[0] = L"n";
  EXPECT_FALSE(SaveProject(project_, L"P"));
  EXPECT_TRUE(log_.HasWriteError(ERROR_SHARING_VIOLATION)) << projecttest::Utf8(log_.Text());
  EXPECT_EQ(dir_.Read("P.tpr"), old_bytes);
  EXPECT_EQ(Key(dir_, kProjectTempFileName, L"PATTERN-001", L"KOUJI-001"), L"n")
      << "the temporary file is complete";
  // The leftover is no project: it is not listed as one and cannot be loaded as one.
  WIN32_FIND_DATAW found;
  const CString pattern = dir_.Win() + L"\\*.tpr";
  HANDLE search = FindFirstFileW(pattern, &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(found.cFileName, L"P.tpr");
  EXPECT_FALSE(FindNextFileW(search, &found));
  FindClose(search);
  ProjectModel other(dir_.Win());
  EXPECT_EQ(LoadProject(other, L"PrjTemp"), -1);

  faults.ClearFaults();
  ASSERT_TRUE(SaveProject(project_, L"P"));
  EXPECT_FALSE(dir_.Exists(platform::WideToUtf8(kProjectTempFileName)));
  ASSERT_EQ(LoadProject(other, L"P"), 1);
  EXPECT_EQ(other.Pattern(0)->kouji[0], L"n");
}

TEST_F(ProjectFileTest, StaleTemporaryFileIsNeverMovedIntoPlace) {
  project_.AddPattern(MakePattern(L"mine", 0, 0, {{L"m"}}));
  ASSERT_TRUE(SaveProject(project_, L"P"));
  const std::string old_bytes = dir_.Read("P.tpr");
  // Another project's save failed and left its temporary file, which cannot be removed now.
  dir_.Write(platform::WideToUtf8(kProjectTempFileName),
             "[PROJECT]\r\nNAME=other\r\nPATTERN-001=A\r\nPATTERN-002=B\r\n");
  platform::DiskFileSystem disk;
  platform::FaultInjectingFileSystem faults(&disk);
  platform::ScopedFileSystem scoped(&faults);
  faults.FailEvery(platform::FileOp::kDelete, ERROR_ACCESS_DENIED);
  EXPECT_FALSE(SaveProject(project_, L"P"));
  EXPECT_TRUE(log_.HasWriteError(ERROR_ACCESS_DENIED)) << projecttest::Utf8(log_.Text());
  EXPECT_EQ(dir_.Read("P.tpr"), old_bytes);
  EXPECT_EQ(faults.CallCount(platform::FileOp::kRename), 0);
}

// ---- Names -----------------------------------------------------------------------------------

TEST_F(ProjectFileTest, ProjectNamedPrjTempIsAnOrdinaryProject) {
  project_.AddPattern(MakePattern(L"P", 1, 3, {{L"a"}}));
  ASSERT_TRUE(SaveProject(project_, L"PrjTemp"));
  ASSERT_TRUE(SaveProject(project_, L"PrjTemp"));
  EXPECT_TRUE(dir_.Exists("PrjTemp.tpr"));
  ProjectModel loaded(dir_.Win());
  ASSERT_EQ(LoadProject(loaded, L"PrjTemp"), 1);
  EXPECT_EQ(loaded.Pattern(0)->kouji[0], L"a");
  EXPECT_EQ(Key(dir_, L"PrjTemp.tpr", L"PROJECT", L"CREATEDATE"), L"2016/04/01 09:30:00");
  EXPECT_EQ(Key(dir_, L"PrjTemp.tpr", L"PROJECT", L"UPDATEDATE"), L"2016/04/01 09:30:00");
}

TEST_F(ProjectFileTest, NamesThatLeaveTheFolderOrWindowsRefusesTouchNoFile) {
  project_.AddPattern(MakePattern(L"P", 0, 0, {{L"a"}}));
  // A subfolder "a" with a project "b" in it, and a project "x" beside the project folder.
  std::filesystem::create_directories(dir_.Posix("a"));
  dir_.Write("a/b.tpr", "[PROJECT]\r\nPATTERN-001=inner\r\n");
  {
    std::ofstream out(dir_.Root() + "/system/x.tpr", std::ios::binary);
    out << "[PROJECT]\r\nPATTERN-001=outer\r\n";
  }
  const std::vector<std::string> before = dir_.Tree();
  const wchar_t* names[] = {L"..\\x", L"a\\b", L"a/b", L"CON",  L"con.x", L"COM1", L"a:b",
                            L"a*b",   L"a?b",  L"a|b", L"a\"b", L"a<b",   L"a\tb", L""};
  for (const wchar_t* name : names) {
    log_.Clear();
    EXPECT_FALSE(SaveProject(project_, name)) << projecttest::Utf8(name);
    EXPECT_TRUE(log_.HasWriteError(ERROR_INVALID_NAME))
        << projecttest::Utf8(name) << ": " << projecttest::Utf8(log_.Text());
    ProjectModel loaded(dir_.Win());
    EXPECT_EQ(LoadProject(loaded, name), -1) << projecttest::Utf8(name);
    EXPECT_EQ(CheckProjectName(name), static_cast<DWORD>(ERROR_INVALID_NAME));
  }
  EXPECT_EQ(dir_.Tree(), before);
  for (const wchar_t* fine : {L"..", L"a.b", L"CONSOLE", L"COM0", L"ﾌﾟﾛｼﾞｪｸﾄ 1"})
    EXPECT_EQ(CheckProjectName(fine), static_cast<DWORD>(ERROR_SUCCESS)) << projecttest::Utf8(fine);
  // Without a project folder a path would name the root: nothing is touched there either.
  ProjectModel homeless;
  homeless.AddPattern(MakePattern(L"P", 0, 0, {{L"a"}}));
  log_.Clear();
  EXPECT_FALSE(SaveProject(homeless, L"rooted"));
  EXPECT_TRUE(log_.HasWriteError(ERROR_PATH_NOT_FOUND)) << Utf8(log_.Text());
  EXPECT_FALSE(std::filesystem::exists("/rooted.tpr"));
  EXPECT_FALSE(std::filesystem::exists("/PrjTemp.tmp"));
  EXPECT_EQ(LoadProject(homeless, L"rooted"), -1);

  ASSERT_TRUE(SaveProject(project_, L".."));
  EXPECT_TRUE(dir_.Exists("...tpr")) << "a name of dots stays in the folder";
}

}  // namespace
