// The settings file of the wiring notes and the wiring list table: "ZazoZivi.ini" in the system
// folder, two sections of numbers kept as text.
//
//   section "自動複数配線注記設定" (notes)          section "自動複数配線リスト設定" (list table)
//   key             default                         key          default  ListSettings member
//   文字高さ        2.0                             文字高さ     2.5      textHeight
//   文字幅          1.6                             文字幅       2.0      textWidth
//   行間隔          2.5                             行高さ       5.0      rowHeight
//   オフセット      4.0                             オフセット1  2.5      leftMargin
//   引出線角度補正  あり  (on exactly for "あり")   オフセット2  5.0      rightMargin
//   補正角度        15.0
//   楕円弧長径      1.0   (read by the note drawing only)
//   楕円弧短径      0.8
//
// Values are read as text and converted with ApiComn_atof, so a value that is no number becomes
// 0; a missing file or key gives the default. Numbers are written with "%.1f". Writing goes
// through WritePrivateProfileStringW, which keeps every other key, section and comment of the
// file and the file's encoding; its failures are not reported (the file then keeps what it had).
#pragma once

#include <windows.h>

#include <afx.h>

inline constexpr wchar_t kSettingsFileName[] = L"ZazoZivi.ini";
inline constexpr wchar_t kNoteSettingsSection[] = L"自動複数配線注記設定";
inline constexpr wchar_t kListSettingsSection[] = L"自動複数配線リスト設定";

// A key of the settings file with the text that stands for it when the file or key is missing.
struct SettingKey {
  const wchar_t* name;
  const wchar_t* fallback;
};

// The note section's keys.
inline constexpr SettingKey kNoteTextHeight{L"文字高さ", L"2.0"};
inline constexpr SettingKey kNoteTextWidth{L"文字幅", L"1.6"};
inline constexpr SettingKey kNoteLineGap{L"行間隔", L"2.5"};
inline constexpr SettingKey kNoteTextOffset{L"オフセット", L"4.0"};
inline constexpr SettingKey kNoteAngleCorrection{L"引出線角度補正", L"あり"};
inline constexpr SettingKey kNoteCorrectionAngle{L"補正角度", L"15.0"};
inline constexpr SettingKey kNoteEllipseMajor{L"楕円弧長径", L"1.0"};
inline constexpr SettingKey kNoteEllipseMinor{L"楕円弧短径", L"0.8"};
// The texts of the angle correction flag: on exactly when the stored text equals kSettingOn.
inline constexpr wchar_t kSettingOn[] = L"あり";
inline constexpr wchar_t kSettingOff[] = L"なし";

// The list section's keys, in the order of ListSettings.
inline constexpr SettingKey kListTextHeight{L"文字高さ", L"2.5"};
inline constexpr SettingKey kListTextWidth{L"文字幅", L"2.0"};
inline constexpr SettingKey kListRowHeight{L"行高さ", L"5.0"};
inline constexpr SettingKey kListLeftMargin{L"オフセット1", L"2.5"};
inline constexpr SettingKey kListRightMargin{L"オフセット2", L"5.0"};

// The sizes of the wiring list table, as the palette holds them between commands.
struct ListSettings {
  double textHeight = 2.5;
  double textWidth = 2.0;
  double rowHeight = 5.0;
  double leftMargin = 2.5;
  double rightMargin = 5.0;
};

// "<system folder>\ZazoZivi.ini" for the host's configuration file (the system folder from
// ApiComn_GetEnv in mode 1, section "環境設定", key "ｼｽﾃﾑ"); empty when the configuration names
// no system folder.
CString SettingsFilePath(LPCWSTR configIniPath);

// The text of `key` in `section` of the file at `path`, at most `bufferSize` - 1 characters, or
// the key's default when the file or key is missing. An empty path gives the default.
CString ReadSettingText(const CString& path, LPCWSTR section, const SettingKey& key,
                        DWORD bufferSize);
// The same text as a number (ApiComn_atof: 0 for text that is no number).
double ReadSettingNumber(const CString& path, LPCWSTR section, const SettingKey& key,
                         DWORD bufferSize);

// A number as the settings file stores it: "%.1f" (2.46 gives "2.5", 3 gives "3.0").
CString SettingNumberText(double value);
// Writes `value` with "%.1f" as `key` of `section`. False when the file cannot be written.
bool WriteSettingNumber(const CString& path, LPCWSTR section, const SettingKey& key, double value);

// Reads the list section of the settings file at `path` with buffers of 512 characters (an empty
// path gives the defaults).
ListSettings ReadListSettings(const CString& path);
// Writes the five list settings in their order, each with "%.1f". False when a write failed.
bool WriteListSettings(const CString& path, const ListSettings& settings);
