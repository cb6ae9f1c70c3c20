// Project files (.tpr): loading a project into a ProjectModel, saving it, and reading one
// pattern of it again.
//
// A project file is an INI file read and written only through GetPrivateProfileStringW and
// WritePrivateProfileStringW, so that the Windows profile functions read ours and we read
// theirs: code page 932 unless a value needs UTF-16LE, CRLF line ends.
//
//   [PROJECT]
//   NAME=<project name>
//   CREATEDATE=YYYY/MM/DD hh:mm:ss      local time of the first save
//   UPDATEDATE=YYYY/MM/DD hh:mm:ss      local time of the latest save; absent after the first
//   PATTERN-001=<name of the first pattern>   ... numbered from 1 without gaps, in list order
//   [PATTERN-001]
//   TYPE=幹線 | 一般
//   PIPESEL=<conduit selection, decimal>
//   KOUJI-001= KEITOU-001= BAN-001= HSIZE1-001= HSIZE2-001= HSIZE3-001= HSIZE4-001=
//   ONRACK-001=<0 or 1> MEMO-001=           nine keys per non-empty row, rows renumbered 1, 2...
//
// The row keys are romanised Japanese (PatternColumn, pattern_data.h): KOUJI construction item,
// KEITOU system number, BAN panel or load name, HSIZE1 wire size, HSIZE2 to HSIZE4 conduit sizes
// indoors, outdoors and underground, ONRACK on a cable rack, MEMO remarks.
//
// Saving replaces the project file atomically. Every save is written completely into the
// temporary file "PrjTemp.tmp" of the project folder, flushed, and then moved over the project
// file in one step (MoveFileExW with MOVEFILE_REPLACE_EXISTING): at every moment the project's
// name on disk holds either the complete old file or the complete new one, and the old file is
// never deleted first. The temporary file deliberately has another extension than projects:
//   - a project named "PrjTemp" is PrjTemp.tpr and saves and loads like any other;
//   - a temporary file left behind by a failed save is not a .tpr file, so it never appears
//     in a listing of projects and LoadProject never reads it;
//   - it is only ever moved into place by the save that wrote and flushed it completely: a save
//     that cannot delete an old one, or cannot write or flush the new one, stops before the
//     move, so stale data never replaces a project.
//
// A project name is used as typed, but it must be a single Windows file name: a name that is
// empty, holds \ / : * ? " < > | or a control character, or is a device name (CON, PRN, AUX,
// NUL, COM1-9, LPT1-9, also with an extension) is refused with ERROR_INVALID_NAME before any file
// is touched, so no file outside the project folder is ever created, read or deleted. A model
// without a project folder (no system folder configured) fails the same way with
// ERROR_PATH_NOT_FOUND.
#pragma once

#include <windows.h>

#include <afx.h>

#include "project/pattern_data.h"
#include "project/project_model.h"

// The project folder's name below the system folder, the project extension and the temporary
// file of a save.
inline constexpr wchar_t kProjectFolderName[] = L"プロジェクト";
inline constexpr wchar_t kProjectExtension[] = L".tpr";
inline constexpr wchar_t kProjectTempFileName[] = L"PrjTemp.tmp";

// The write error message of a failed save, with the Windows error code.
inline constexpr wchar_t kFileWriteErrorFormat[] = L"ファイル書込みエラー(%d)";

// The system folder that the host's configuration file names (section "環境設定", key "ｼｽﾃﾑ",
// read with ApiComn_GetEnv in mode 1), as written there. Empty when it names none.
CString SystemFolderFromConfig(LPCWSTR configIniPath);

// The project folder: the system folder followed by "\プロジェクト". Empty when the configuration
// names no system folder.
CString ProjectFolderFromConfig(LPCWSTR configIniPath);

// ERROR_SUCCESS when `name` can be a project's file name in its folder, else ERROR_INVALID_NAME
// (see above).
DWORD CheckProjectName(LPCWSTR name);

// "<folder>\<name>.tpr" and "<folder>\PrjTemp.tmp".
CString ProjectFilePath(const CString& folder, LPCWSTR name);
CString ProjectTempFilePath(const CString& folder);

// Loads the project `name` from the model's folder. Result: -1 when its file does not exist or
// the name is refused (nothing changes then); otherwise the model's name becomes `name`, its
// pattern list is replaced by the patterns read (the first of them current) and their number is
// returned, 0 or more.
//
// Reading rules: PATTERN-001, PATTERN-002 ... are read until the first empty one (patterns after
// a gap are not read). Of a pattern's section: TYPE "幹線" gives trunk, any other non-empty text
// general, empty or missing trunk; PIPESEL and ONRACK are read as _wtoi reads them (0 when not
// numeric); rows are read until a row whose nine keys are all empty or missing (that row is read
// as empty) and at most 100 rows. Names and values keep at most 127 characters.
int LoadProject(ProjectModel& project, LPCWSTR name);

// Saves the model's patterns as the project `name` in the model's folder (the model's own name is
// not used or changed). Patterns with an empty name and the search pattern are not written and
// take no number; empty rows are passed over and take no number. CREATEDATE is the time of this
// save when no project file of that name exists, else copied from it (with UPDATEDATE then the
// time of this save). Result: true when the new file is in place. On failure the message
// "ファイル書込みエラー(%d)" with the Windows error code is shown (stop icon, OK) and the result is
// false; the project file is then as before the save.
bool SaveProject(const ProjectModel& project, LPCWSTR name);

// Reads again, from the file of the model's current project name, the pattern whose name equals
// `pattern`'s name exactly, and overwrites `pattern` with it: cleared (checks too), the name kept,
// TYPE, PIPESEL and rows read as LoadProject reads them but keeping up to 259 characters a value.
// When the project has no such pattern (or no file), `pattern` does not change.
void ReloadPattern(const ProjectModel& project, PatternData& pattern);
