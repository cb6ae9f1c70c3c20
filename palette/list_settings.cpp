// Reading the list table's sizes from the settings file.
#include "palette/list_settings.h"

#include <windows.h>

#include <ApiComn.h>

#include "project/project_file.h"

namespace {

double ReadNumber(const CString& path, LPCWSTR key, LPCWSTR fallback) {
  wchar_t buffer[512] = {};
  ::GetPrivateProfileStringW(kListSettingsSection, key, fallback, buffer, 512, path);
  return ApiComn_atof(buffer);
}

}  // namespace

CString SettingsFilePath(LPCWSTR configIniPath) {
  const CString system = SystemFolderFromConfig(configIniPath);
  if (system.IsEmpty()) return CString();
  CString path;
  path.Format(L"%s\\%s", system.GetString(), kSettingsFileName);
  return path;
}

ListSettings ReadListSettings(const CString& path) {
  ListSettings settings;
  if (path.IsEmpty()) return settings;
  settings.textHeight = ReadNumber(path, L"文字高さ", L"2.5");
  settings.textWidth = ReadNumber(path, L"文字幅", L"2.0");
  settings.rowHeight = ReadNumber(path, L"行高さ", L"5.0");
  settings.leftMargin = ReadNumber(path, L"オフセット1", L"2.5");
  settings.rightMargin = ReadNumber(path, L"オフセット2", L"5.0");
  return settings;
}
