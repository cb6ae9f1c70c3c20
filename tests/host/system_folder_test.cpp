// Working copies of the system folder: the configuration file names the copy; temporary copies
// go away with their owner.
#include "tools/system_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "platform/win/text_encoding.h"

namespace host {
namespace {

TEST(SystemFolderTest, TheConfigurationNamesTheCopiedSystemFolder) {
  std::string error;
  std::string root;
  {
    auto folder = tools::SystemFolderCopy::Create("", &error);
    ASSERT_NE(folder, nullptr) << error;
    root = folder->root();
    EXPECT_TRUE(std::filesystem::is_directory(folder->system_folder()));
    wchar_t value[512] = {};
    GetPrivateProfileStringW(L"環境設定", L"ｼｽﾃﾑ", L"", value, 512, folder->config_path().c_str());
    EXPECT_EQ(std::wstring(value), platform::Utf8ToWide(root + "/system"));
    EXPECT_TRUE(std::filesystem::exists(root + "/harnex.ini"));
  }
  EXPECT_FALSE(std::filesystem::exists(root)) << "a temporary copy is removed with its owner";
}

}  // namespace
}  // namespace host
