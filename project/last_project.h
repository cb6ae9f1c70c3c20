// LastProj.ini: the project and pattern that were open when the palette closed, and the palette
// set's auto-rollup and opacity, in the project folder.
//
//   [KORMAN_CABLIX]
//   NAME=<project name>          written with PATTERN when the palette closes with a pattern
//   PATTERN=<current pattern>
//   AUTOROLLUP=ON | OFF          written when the palette window is destroyed
//   OPACITY=<opacity, decimal>
//
// The file is an INI file of the Windows profile functions like the project files. Writes are
// flushed at once (WritePrivateProfileStringW with section, key and value null), so the file on
// disk is complete when the palette has closed. With an empty folder (no system folder
// configured) nothing is written (ERROR_PATH_NOT_FOUND) and reads give the defaults.
#pragma once

#include <windows.h>

#include <afx.h>

#include "project/project_model.h"

inline constexpr wchar_t kLastProjectFileName[] = L"LastProj.ini";
inline constexpr wchar_t kLastProjectSection[] = L"KORMAN_CABLIX";

// "<folder>\LastProj.ini".
CString LastProjectPath(const CString& folder);

// Writes NAME and PATTERN and flushes the file. False when a write or the flush failed
// (GetLastError tells why).
bool WriteLastProject(const CString& folder, LPCWSTR projectName, LPCWSTR patternName);
// Reads NAME and PATTERN, each at most 259 characters; empty when missing.
void ReadLastProject(const CString& folder, CString& projectName, CString& patternName);

// The palette set's settings as LastProj.ini gives them.
struct PaletteSetSettings {
  // True only for the exact value "ON" (read with a buffer of 512 characters); any other value
  // means: leave the palette set's auto-rollup as it is.
  bool autoRollupOn = false;
  // OPACITY as _wtoi reads it; 100 when the key is missing.
  int opacity = 100;
};
PaletteSetSettings ReadPaletteSetSettings(const CString& folder);
// Writes AUTOROLLUP ("ON" or "OFF") and OPACITY ("%d") and flushes the file. False when a write
// or the flush failed.
bool WritePaletteSetSettings(const CString& folder, bool autoRollup, int opacity);

// Restores the last project into `project` (whose folder is set) at palette start:
//   1. NAME and PATTERN are read; when either is empty nothing is restored;
//   2. the project NAME is loaded (LoadProject); when its file is missing or it holds no pattern
//      nothing is restored;
//   3. the first pattern whose name equals PATTERN without regard to case becomes current, else
//      the first pattern of the list.
// Result: true when a project was restored (it then has a name, patterns and a current pattern).
// When nothing is restored the model is left empty: no patterns and no name, so that the palette
// starts without a project even when the named file held no pattern.
bool RestoreLastProject(ProjectModel& project);
