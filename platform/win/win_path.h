// Mapping the Windows-form paths that callers build onto this system's files, as Windows would
// find them: "\" and "/" separate components, names match without regard to case.
#pragma once

#include <string>
#include <string_view>

#include "platform/win/file_system.h"
#include <windef.h>

namespace platform {

struct ResolvedPath {
  DWORD error = 0;      // ERROR_SUCCESS, ERROR_INVALID_NAME or ERROR_PATH_NOT_FOUND
  std::string posix;    // UTF-8; existing components spelt as on disk
  bool exists = false;  // the last component names an existing file or folder
  FileInfo info;        // of that file or folder when it exists
};

// Why a single component is refused: ERROR_INVALID_NAME for a name containing \ / : * ? " < > |
// or a control character, a device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an
// extension), or ".."; ERROR_SUCCESS otherwise. With allow_wildcards "*" and "?" pass.
DWORD CheckComponent(std::wstring_view name, bool allow_wildcards = false);

// Resolves a path: every folder on the way must exist (else ERROR_PATH_NOT_FOUND); the last
// component may be missing (exists is then false and posix ends in the name as given). Each
// component is taken as spelt when it exists, else the first entry of its folder that matches it
// without regard to case. Relative paths are relative to the current folder. Uses the installed
// file system for every look-up. With allow_wildcards the last component may hold "*" and "?".
ResolvedPath ResolvePath(std::wstring_view windows_path, bool allow_wildcards = false);

// The folder part and the last component of a Windows-form path ("a\b\c.ini": "a\b", "c.ini").
std::wstring_view PathFolder(std::wstring_view windows_path);
std::wstring_view PathLeaf(std::wstring_view windows_path);

}  // namespace platform
