// Files, profile files, modules, errors and time, as <winbase.h> and <fileapi.h> give them.
//
// Paths are the absolute POSIX paths of this system written the Windows way ("\" or "/" between
// components). Every file access goes through the file-system seam (file_system.h). A component
// is found by a case-insensitive match when no exact match exists; a component that Windows
// forbids (\ / : * ? " < > |, control characters, a device name such as CON or COM1, "..") is
// refused with ERROR_INVALID_NAME. A missing folder gives ERROR_PATH_NOT_FOUND, a missing file
// ERROR_FILE_NOT_FOUND. Functions that fail set the thread's last error (GetLastError).
#pragma once

#include <map>
#include <string>
#include <vector>

#include <windef.h>
#include <winerror.h>
#include <winnls.h>

// ---- Errors ----------------------------------------------------------------------------------

DWORD GetLastError();
void SetLastError(DWORD dwErrCode);

// ---- Strings ---------------------------------------------------------------------------------

int lstrlenW(LPCWSTR lpString);  // 0 for null
// Comparisons: negative, 0 or positive. lstrcmpiW ignores case; both treat null as "".
int lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2);
int lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2);

// ---- Time ------------------------------------------------------------------------------------

// 100-nanosecond intervals since 1601-01-01 UTC.
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
typedef FILETIME* LPFILETIME;

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;      // 1 to 12
  WORD wDayOfWeek;  // 0 Sunday
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
typedef SYSTEMTIME* LPSYSTEMTIME;

// The local date and time, from the clock seam (platform::SetClockForTesting).
void GetLocalTime(LPSYSTEMTIME lpSystemTime);
// Breaks a file time into its calendar fields, without a time-zone change. FALSE (error
// ERROR_INVALID_PARAMETER) for a null argument or a time beyond the year 30827.
BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime);
// Converts a UTC file time to local time with the time zone of this process.
BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime);
// The reverse of FileTimeToSystemTime (no time-zone change).
BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime);

// The value of an environment variable: its length without the terminating null when it fits
// nSize, else the size needed with the null; 0 with ERROR_ENVVAR_NOT_FOUND when it is not set.
DWORD GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize);
#define GetEnvironmentVariable GetEnvironmentVariableW

// ---- Files -----------------------------------------------------------------------------------

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)

// Opening a file to read it whole: CreateFileW with GENERIC_READ and OPEN_EXISTING (the only
// access and disposition the stand-in opens), then GetFileSize, ReadFile and CloseHandle. The
// file's bytes are read at the open, through the file-system seam, so a failing disk fails the
// open with its error code (GetLastError); the profile cache is flushed first, as every read of a
// file is.
#define GENERIC_READ 0x80000000L
#define FILE_SHARE_READ 0x00000001
#define OPEN_EXISTING 3
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)
HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   void* lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
#define CreateFile CreateFileW
// The size's low 32 bits (the high ones in *lpFileSizeHigh when given); INVALID_FILE_SIZE with
// ERROR_INVALID_HANDLE for a handle that is not an open file.
DWORD GetFileSize(HANDLE hFile, DWORD* lpFileSizeHigh);
// Reads up to nNumberOfBytesToRead bytes from the file's position on; *lpNumberOfBytesRead is 0 at
// the end of the file.
BOOL ReadFile(HANDLE hFile, void* lpBuffer, DWORD nNumberOfBytesToRead, DWORD* lpNumberOfBytesRead,
              void* lpOverlapped);
BOOL CloseHandle(HANDLE hObject);

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080

// Reasons of a DLL's entry function (DllMain).
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_COPY_ALLOWED 0x00000002
#define MOVEFILE_WRITE_THROUGH 0x00000008

struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  WCHAR cFileName[MAX_PATH];
  WCHAR cAlternateFileName[14];
};
typedef WIN32_FIND_DATAW* LPWIN32_FIND_DATAW;

// Lists the entries of a folder whose names match the last component of lpFileName ("*" any run
// of characters, "?" one character, without regard to case; "*.*" matches every name), in the
// order of their upper-cased names (UTF-16 code-unit order), as NTFS returns them; "." and ".."
// come first for "*". The first entry is stored in *lpFindFileData. Result: a search handle for
// FindNextFileW and FindClose, or INVALID_HANDLE_VALUE with ERROR_FILE_NOT_FOUND (no entry
// matches), ERROR_PATH_NOT_FOUND (no such folder) or ERROR_INVALID_NAME.
HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData);
// The next entry; FALSE with ERROR_NO_MORE_FILES after the last, ERROR_INVALID_HANDLE for a
// handle that FindFirstFileW did not give or that is closed.
BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData);
BOOL FindClose(HANDLE hFindFile);

// Attributes of a file or folder, or INVALID_FILE_ATTRIBUTES with the error code.
DWORD GetFileAttributesW(LPCWSTR lpFileName);
// Deletes a file. ERROR_FILE_NOT_FOUND when missing, ERROR_ACCESS_DENIED for a folder.
BOOL DeleteFileW(LPCWSTR lpFileName);
// Renames a file or folder; fails with ERROR_ALREADY_EXISTS when the new name exists.
BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName);
// As MoveFileW; with MOVEFILE_REPLACE_EXISTING an existing file of the new name is replaced in
// one step (readers see either the old or the new file, never a part). With
// MOVEFILE_WRITE_THROUGH it returns once the move is on the disk: the file's data is synced
// before it takes the new name and the folder after; when either sync fails the result is FALSE
// with its code and the new name holds what it held before (platform::MoveDurably).
BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags);
// Copies a file with its last-write time. With bFailIfExists an existing target fails with
// ERROR_FILE_EXISTS; otherwise it is replaced.
BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists);
// Creates a folder whose parent exists; ERROR_ALREADY_EXISTS when the name is taken.
// lpSecurityAttributes is ignored.
BOOL CreateDirectoryW(LPCWSTR lpPathName, void* lpSecurityAttributes);
// Removes an empty folder (ERROR_DIR_NOT_EMPTY otherwise).
BOOL RemoveDirectoryW(LPCWSTR lpPathName);

// ---- Profile (INI) files ---------------------------------------------------------------------
//
// Sections and keys are matched without regard to case; of two equal sections or keys the first
// counts. Blanks around keys and values are not part of them; one pair of matching quotes around
// a value is removed on reading; lines beginning with ";" are comments; a line without "=" is no
// key. Buffer sizes count UTF-16 code units as on Windows: a character above U+FFFF takes two.
// Values are never split inside such a character and never written past the buffer.
//
// Parsed files are cached, keyed by path and checked against the file's size and last-write time
// at most once a millisecond, and at once after any file operation of this process, so a change
// made on disk by others is seen. Writes change the cached file and
// reach the disk when the cache is flushed: WritePrivateProfileStringW(NULL, NULL, NULL, file),
// platform::FlushProfileFiles(), any other file function of this header (each flushes first),
// a change of the file-system seam, and the end of the process.

// Copies the value of lpKeyName in lpAppName (or lpDefault, null meaning "", with trailing blanks
// removed, when the file, section or key is missing) into lpReturnedString, cut to nSize - 1
// units and terminated. A null lpAppName gives the section names, a null lpKeyName the key names
// of the section, each terminated, the list ending with a second zero (cut lists end with two
// zeros and give nSize - 2). Result: the number of wchar_t stored before the terminating zero.
DWORD GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault,
                               LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName);
// The value read as a decimal integer (leading blanks, an optional sign, digits up to the first
// other character; 0 when there are none), or nDefault when the key is missing.
UINT GetPrivateProfileIntW(LPCWSTR lpAppName, LPCWSTR lpKeyName, INT nDefault, LPCWSTR lpFileName);
// Sets the value of a key: an existing key's line is replaced, a new key goes after the last line
// of its section, a new section at the end of the file; every other line stays as it was. A null
// lpString deletes the key, a null lpKeyName the whole section; all three null flush the cache.
// A missing file is created (in code page 932, or UTF-16LE with BOM when a text cannot be held in
// code page 932); an existing file keeps its encoding unless a text it cannot hold is written,
// when a code page 932 file becomes UTF-16LE with BOM. Lines are written with CRLF. FALSE with
// ERROR_PATH_NOT_FOUND when the folder is missing, ERROR_INVALID_NAME for a forbidden name,
// ERROR_INVALID_PARAMETER for a null file name, or the error of the failed flush.
BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString,
                                LPCWSTR lpFileName);

// ---- Modules ---------------------------------------------------------------------------------

// The module of that file name in this process (case-insensitive; ".dll" is added to a name
// without extension; null: the program itself), or null with ERROR_MOD_NOT_FOUND. No reference
// is taken.
HMODULE GetModuleHandleW(LPCWSTR lpModuleName);
// The export of that name, or null with ERROR_PROC_NOT_FOUND (ERROR_MOD_NOT_FOUND for a handle
// that is not a loaded module).
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
// The module's name as registered (null: the program's path), cut to nSize - 1 and terminated;
// a cut name gives nSize and ERROR_INSUFFICIENT_BUFFER. 0 with ERROR_MOD_NOT_FOUND for an
// unknown handle.
DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);

namespace platform {

// The process module table, filled by the host when it "loads" a module image. Returns the
// module's handle: a distinct non-null value, the existing one when the name (without regard to
// case) is registered already (its exports are then left as they were).
HMODULE RegisterModule(const std::wstring& name, std::map<std::string, void*> exports);
// Removes a module; false when the handle is not registered. Its resource script goes with it.
bool UnregisterModule(HMODULE module);
// The resource script (.rc text, UTF-8) that the module's image carries; the dialog templates
// come from it.
void SetModuleResourceScript(HMODULE module, std::string rc_text);
// The module's resource script, or null when it has none or the handle is unknown. The pointer
// stays valid until the script is replaced or the module unregistered.
const std::string* ModuleResourceScript(HMODULE module);

// Writes every profile file changed in the cache to disk. Each file is written whole under a
// temporary name beside it ("<name>.~wr") and moved over the old one as MOVEFILE_WRITE_THROUGH
// moves, so that a crash at any moment leaves the old file or the new one, and a flush that
// returned has put the new one on the disk. One exception: a file that did not exist is complete
// under its name when this returns, but the name itself reaches the disk with the next
// FlushProfileFilesReportingFailures or write-through move in its folder (until then a crash may
// leave it missing, as it was). Result: ERROR_SUCCESS, or the error of the first file that could
// not be written (that file's cached changes are dropped: the disk stays the truth, and the file
// on disk is as it was).
DWORD FlushProfileFiles();

// A file that a flush could not write: the name its first changed value was written under, and
// the Windows error code.
struct ProfileWriteFailure {
  std::wstring file;
  DWORD error = 0;
};
// As FlushProfileFiles, and the names of new files synced too (the host calls it before it goes
// idle): every file that could not be written or whose name could not be synced, none when all
// are on the disk. A new file whose folder fails to sync stays in place, complete.
std::vector<ProfileWriteFailure> FlushProfileFilesReportingFailures();

// Fixes the local time that GetLocalTime, _time64 and _localtime64_s report, until called again
// with null (then the system clock counts again).
void SetClockForTesting(const SYSTEMTIME* local_time);

// Reads a whole file through the seam, for the stand-ins that read text files themselves (flushes
// the profile cache first). ERROR_SUCCESS or the error code; *bytes is left empty on failure.
DWORD ReadFileBytes(LPCWSTR path, std::string* bytes);
// Creates or replaces a file with these bytes. ERROR_SUCCESS or the error code.
DWORD WriteFileBytes(LPCWSTR path, const std::string& bytes);

}  // namespace platform
