// Reading and writing the note and list settings of the settings file.
#include "annotation/annotation_settings.h"

#include <ApiComn.h>

#include <vector>

#include "project/project_file.h"

CString SettingsFilePath(LPCWSTR configIniPath) {
  const CString system = SystemFolderFromConfig(configIniPath);
  if (system.IsEmpty()) return CString();
  CString path;
  path.Format(L"%s\\%s", system.GetString(), kSettingsFileName);
  return path;
}

CString ReadSettingText(const CString& path, LPCWSTR section, const SettingKey& key,
                        DWORD bufferSize) {
  if (path.IsEmpty()) return CString(key.fallback);
  std::vector<wchar_t> buffer(bufferSize, L'\0');
  ::GetPrivateProfileStringW(section, key.name, key.fallback, buffer.data(), bufferSize, path);
  return CString(buffer.data());
}

double ReadSettingNumber(const CString& path, LPCWSTR section, const SettingKey& key,
                         DWORD bufferSize) {
  return ApiComn_atof(ReadSettingText(path, section, key, bufferSize));
}

CString SettingNumberText(double value) {
  CString text;
  text.Format(L"%.1f", value);
  return text;
}

bool WriteSettingNumber(const CString& path, LPCWSTR section, const SettingKey& key, double value) {
  return ::WritePrivateProfileStringW(section, key.name, SettingNumberText(value), path) != FALSE;
}

ListSettings ReadListSettings(const CString& path) {
  ListSettings settings;
  settings.textHeight = ReadSettingNumber(path, kListSettingsSection, kListTextHeight, 512);
  settings.textWidth = ReadSettingNumber(path, kListSettingsSection, kListTextWidth, 512);
  settings.rowHeight = ReadSettingNumber(path, kListSettingsSection, kListRowHeight, 512);
  settings.leftMargin = ReadSettingNumber(path, kListSettingsSection, kListLeftMargin, 512);
  settings.rightMargin = ReadSettingNumber(path, kListSettingsSection, kListRightMargin, 512);
  return settings;
}

bool WriteListSettings(const CString& path, const ListSettings& settings) {
  // Each key is written even when an earlier one failed, as the dialog always did.
  bool ok = WriteSettingNumber(path, kListSettingsSection, kListTextHeight, settings.textHeight);
  ok &= WriteSettingNumber(path, kListSettingsSection, kListTextWidth, settings.textWidth);
  ok &= WriteSettingNumber(path, kListSettingsSection, kListRowHeight, settings.rowHeight);
  ok &= WriteSettingNumber(path, kListSettingsSection, kListLeftMargin, settings.leftMargin);
  ok &= WriteSettingNumber(path, kListSettingsSection, kListRightMargin, settings.rightMargin);
  return ok;
}
