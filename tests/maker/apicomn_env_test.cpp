// Configuration values, module exports and commands sent to the command line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <acdocman.h>
#include <windows.h>

#include <ApiComn.h>
#include <Veltra.h>
#include "drawing_support.h"

namespace {

TEST(ApiComnEnvTest, GetEnvReadsTheSystemFolderFromTheHostConfiguration) {
  const auto dir = std::filesystem::temp_directory_path() / "maker_env_test";
  std::filesystem::create_directories(dir);
  const auto ini = dir / "host.ini";
  // Code page 932: [環境設定] ｼｽﾃﾑ=C:\RQ\システム
  std::ofstream(ini, std::ios::binary)
      << "[\x8A\xC2\x8B\xAB\x90\xDD\x92\xE8]\r\n"
         "\xBC\xBD\xC3\xD1=C:\\RQ\\\x83\x56\x83\x58\x83\x65\x83\x80\r\n";
  CString folder = L"stale";
  EXPECT_EQ(0, ApiComn_GetEnv(folder, 1, ini.wstring().c_str(), L"環境設定", L"ｼｽﾃﾑ"));
  EXPECT_STREQ(L"C:\\RQ\\システム", folder);
  EXPECT_NE(0, ApiComn_GetEnv(folder, 1, ini.wstring().c_str(), L"環境設定", L"なし"));
  EXPECT_TRUE(folder.IsEmpty());
  EXPECT_NE(
      0, ApiComn_GetEnv(folder, 1, (dir / "missing.ini").wstring().c_str(), L"環境設定", L"ｼｽﾃﾑ"));

  setenv("MAKER_ENV_TEST", "value", 1);
  EXPECT_EQ(0, ApiComn_GetEnv(folder, 0, nullptr, nullptr, L"MAKER_ENV_TEST"));
  EXPECT_STREQ(L"value", folder);
  EXPECT_NE(0, ApiComn_GetEnv(folder, 7, nullptr, nullptr, L"MAKER_ENV_TEST"));
  std::filesystem::remove_all(dir);
}

TEST(ApiComnEnvTest, GetProcAdrsFindsTheHostModulesExports) {
  HMODULE module = platform::RegisterModule(veltra::kModuleName, veltra::ExportTable());
  ASSERT_NE(nullptr, module);
  EXPECT_EQ(module, GetModuleHandleW(L"veltra.arx"));
  auto get_ini =
      reinterpret_cast<RQAddinGetIniFileProc>(ApiComn_GetProcAdrs(module, "RQAddinGetIniFile"));
  ASSERT_NE(nullptr, get_ini);
  veltra::SetIniFile(L"/x/harnex.ini");
  EXPECT_STREQ(L"/x/harnex.ini", get_ini());
  EXPECT_NE(nullptr, ApiComn_GetProcAdrs(module, L"RQAddin_perpendicular"));
  EXPECT_EQ(nullptr, ApiComn_GetProcAdrs(module, "RQAddin_missing"));
  EXPECT_EQ(nullptr, ApiComn_GetProcAdrs(nullptr, "RQAddinGetIniFile"));
  platform::UnregisterModule(module);
}

TEST(ApiComnEnvTest, SendCommandQueuesWithoutRunning) {
  std::wstring text;
  while (platform::acad::TakeQueuedInput(&text)) {
  }
  EXPECT_NE(0, ApiComn_sendCommand(L"RQ_HARNEX_LOCATE", 1, 0, 1));  // no document yet
  EXPECT_FALSE(platform::acad::HasQueuedInput());

  maker_test::TestDrawing drawing;
  ASSERT_EQ(0, ApiComn_sendCommand(L"RQ_HARNEX_LOCATE", 1, 0, 1));
  ASSERT_EQ(0, ApiComn_sendCommand(L"RQ_EQUIPNUM ", 1, 0, 1));
  bool echo = false;
  ASSERT_TRUE(platform::acad::TakeQueuedInput(&text, &echo));
  EXPECT_EQ(L"RQ_HARNEX_LOCATE\n", text);
  EXPECT_TRUE(echo);
  ASSERT_TRUE(platform::acad::TakeQueuedInput(&text));
  EXPECT_EQ(L"RQ_EQUIPNUM ", text);
  EXPECT_FALSE(platform::acad::HasQueuedInput());
}

}  // namespace
