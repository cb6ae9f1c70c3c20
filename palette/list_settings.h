// ListSettings: the sizes of the wiring list table, as the palette holds them between commands.
//
// They live in the system folder's "ZazoZivi.ini", section "自動複数配線リスト設定":
//
//   key          member       default
//   文字高さ     textHeight   2.5
//   文字幅       textWidth    2.0
//   行高さ       rowHeight    5.0
//   オフセット1  leftMargin   2.5
//   オフセット2  rightMargin  5.0
//
// Values are read as text (at most 511 characters) and converted with ApiComn_atof, so a value
// that is no number becomes 0; a missing file or key gives the default.
#pragma once

#include <afx.h>

inline constexpr wchar_t kSettingsFileName[] = L"ZazoZivi.ini";
inline constexpr wchar_t kListSettingsSection[] = L"自動複数配線リスト設定";

struct ListSettings {
  double textHeight = 2.5;
  double textWidth = 2.0;
  double rowHeight = 5.0;
  double leftMargin = 2.5;
  double rightMargin = 5.0;
};

// "<system folder>\ZazoZivi.ini" for the host's configuration file; empty when the configuration
// names no system folder.
CString SettingsFilePath(LPCWSTR configIniPath);

// Reads the list section of the settings file at `path` (an empty path gives the defaults).
ListSettings ReadListSettings(const CString& path);
