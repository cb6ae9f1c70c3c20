// A project file too large to hold loads no pattern (the palette then says that the project
// could not be read) and stays on the disk as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win/profile_cache.h"
#include "project/project_file.h"
#include "project/project_test_support.h"
#include <windows.h>

namespace {

using projecttest::TempProjectFolder;

TEST(ProjectLimits, AProjectFileLargerThanTheLimitLoadsNothingAndIsKept) {
  TempProjectFolder dir;
  dir.Write("大きい.tpr",
            "[PROJECT]\r\nNAME=大きい\r\nPATTERN-001=P\r\n[PATTERN-001]\r\nTYPE=一般\r\n");
  const std::string path = dir.Posix("大きい.tpr");
  std::filesystem::resize_file(path, platform::kMaxProfileFileBytes + 1);  // sparse

  ProjectModel model(dir.Win());
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(LoadProject(model, L"大きい"), 0);
  EXPECT_EQ(model.PatternCount(), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_EQ(std::filesystem::file_size(path), platform::kMaxProfileFileBytes + 1);
  platform::FlushProfileFiles();
  std::string head(11, '\0');
  std::ifstream(path, std::ios::binary).read(head.data(), 11);
  EXPECT_EQ(head, "[PROJECT]\r\n");
}

}  // namespace
