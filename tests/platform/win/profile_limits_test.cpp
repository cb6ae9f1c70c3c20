// Profile files that are too large to hold are refused without being read or changed; a line
// of a megabyte is read and kept like any other.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/win/win_test_support.h"
#include "platform/win/profile_cache.h"
#include <windows.h>

namespace {

using wintest::TempFolder;

TEST(ProfileLimits, AFileLargerThanTheLimitIsNeitherReadNorWritten) {
  ASSERT_EQ(platform::kMaxProfileFileBytes, 64ull << 20);
  TempFolder dir;
  dir.WriteBytes("huge.ini", "[S]\r\nk=v\r\n");
  // Sparse: the file has the size but takes no room on the disk.
  std::filesystem::resize_file(dir.Posix("huge.ini"), platform::kMaxProfileFileBytes + 1);
  const std::wstring file = dir.Win(L"huge.ini");

  wchar_t buf[16] = L"?";
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(GetPrivateProfileStringW(L"S", L"k", L"def", buf, 16, file.c_str()), 3u);
  EXPECT_STREQ(buf, L"def");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_EQ(GetPrivateProfileIntW(L"S", L"k", 7, file.c_str()), 7u);

  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(WritePrivateProfileStringW(L"S", L"k", L"new", file.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  platform::FlushProfileFiles();
  EXPECT_EQ(std::filesystem::file_size(dir.Posix("huge.ini")), platform::kMaxProfileFileBytes + 1);
  EXPECT_EQ(dir.ReadBytes("huge.ini").substr(0, 10), "[S]\r\nk=v\r\n");

  // Cut back to its first ten bytes, the same file is read again.
  std::filesystem::resize_file(dir.Posix("huge.ini"), 10);
  EXPECT_EQ(GetPrivateProfileStringW(L"S", L"k", L"def", buf, 16, file.c_str()), 1u);
  EXPECT_STREQ(buf, L"v");
}

TEST(ProfileLimits, AValueOfAMegabyteIsReadWholeAndKeptByOtherWrites) {
  TempFolder dir;
  const std::string value(1 << 20, 'x');
  dir.WriteBytes("long.ini", "[S]\r\nlong=" + value + "\r\nk=1\r\n");
  const std::wstring file = dir.Win(L"long.ini");
  std::vector<wchar_t> buf(value.size() + 2);
  EXPECT_EQ(GetPrivateProfileStringW(L"S", L"long", L"", buf.data(), static_cast<DWORD>(buf.size()),
                                     file.c_str()),
            value.size());
  EXPECT_EQ(std::wstring(buf.data()), std::wstring(value.begin(), value.end()));
  ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"k", L"2", file.c_str()));
  platform::FlushProfileFiles();
  EXPECT_EQ(dir.ReadBytes("long.ini"), "[S]\r\nlong=" + value + "\r\nk=2\r\n");
}

}  // namespace
