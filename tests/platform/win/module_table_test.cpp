// The process module table, exports and module times of the Win32 stand-in.
#include <gtest/gtest.h>

#include <ctime>

#include <windows.h>

namespace {

int Answer() {
  return 42;
}

TEST(ModuleTable, FindsModulesAndExportsByName) {
  EXPECT_EQ(GetModuleHandleW(L"Veltra.arx"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  HMODULE veltra = platform::RegisterModule(
      L"Veltra.arx", {{"RQAddinGetIniFile", reinterpret_cast<void*>(&Answer)}});
  HMODULE harnex = platform::RegisterModule(L"Harnex.arx", {});
  ASSERT_NE(veltra, nullptr);
  EXPECT_NE(veltra, harnex);
  EXPECT_EQ(platform::RegisterModule(L"VELTRA.ARX", {}), veltra);
  EXPECT_EQ(GetModuleHandleW(L"veltra.ARX"), veltra);
  EXPECT_NE(GetModuleHandleW(nullptr), nullptr);

  FARPROC proc = GetProcAddress(veltra, "RQAddinGetIniFile");
  ASSERT_NE(proc, nullptr);
  EXPECT_EQ(reinterpret_cast<int (*)()>(proc)(), 42);
  EXPECT_EQ(GetProcAddress(veltra, "rqaddingetinifile"), nullptr);  // export names keep case
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));

  wchar_t name[8];
  EXPECT_EQ(GetModuleFileNameW(harnex, name, 8), 8u);
  EXPECT_EQ(std::wstring(name), L"Harnex.");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  EXPECT_EQ(platform::ModuleResourceScript(harnex), nullptr);
  platform::SetModuleResourceScript(harnex, "IDD_X DIALOGEX 0, 0, 10, 10");
  ASSERT_NE(platform::ModuleResourceScript(harnex), nullptr);
  EXPECT_EQ(*platform::ModuleResourceScript(harnex), "IDD_X DIALOGEX 0, 0, 10, 10");

  EXPECT_TRUE(platform::UnregisterModule(veltra));
  EXPECT_FALSE(platform::UnregisterModule(veltra));
  EXPECT_EQ(GetModuleHandleW(L"Veltra.arx"), nullptr);
  EXPECT_EQ(GetProcAddress(veltra, "RQAddinGetIniFile"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  platform::UnregisterModule(harnex);
}

TEST(Clock, FixedLocalTimeAndFileTimes) {
  SYSTEMTIME fixed{2016, 4, 0, 1, 9, 30, 5, 0};
  platform::SetClockForTesting(&fixed);
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(now.wYear, 2016);
  EXPECT_EQ(now.wMonth, 4);
  EXPECT_EQ(now.wDay, 1);
  EXPECT_EQ(now.wDayOfWeek, 5);  // a Friday
  EXPECT_EQ(now.wHour, 9);
  struct tm tm {};
  __time64_t t = _time64(nullptr);
  ASSERT_EQ(_localtime64_s(&tm, &t), 0);
  EXPECT_EQ(tm.tm_year + 1900, 2016);
  EXPECT_EQ(tm.tm_mon + 1, 4);
  EXPECT_EQ(tm.tm_mday, 1);
  EXPECT_EQ(tm.tm_hour, 9);
  EXPECT_EQ(tm.tm_min, 30);
  EXPECT_EQ(tm.tm_sec, 5);
  platform::SetClockForTesting(nullptr);

  FILETIME epoch{0xD53E8000u, 0x019DB1DEu};  // 1970-01-01 00:00:00
  SYSTEMTIME st;
  ASSERT_TRUE(FileTimeToSystemTime(&epoch, &st));
  EXPECT_EQ(st.wYear, 1970);
  EXPECT_EQ(st.wMonth, 1);
  EXPECT_EQ(st.wDay, 1);
  EXPECT_EQ(st.wDayOfWeek, 4);
  FILETIME zero{0, 0};
  ASSERT_TRUE(FileTimeToSystemTime(&zero, &st));
  EXPECT_EQ(st.wYear, 1601);
  EXPECT_EQ(st.wDayOfWeek, 1);
}

}  // namespace
