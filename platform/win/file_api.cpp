// The Win32 file functions: search, attributes, delete, move, copy and folders, all through the
// file-system seam.
#include <algorithm>
#include <cwchar>
#include <memory>
#include <unordered_set>
#include <vector>

#include "platform/win/file_system.h"
#include "platform/win/profile_cache.h"
#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"
#include "platform/win/win_path.h"
#include <winbase.h>

namespace platform {
namespace {

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifference = 116444736000000000LL;

FILETIME ToFileTime(int64_t unix_ns) {
  uint64_t t = static_cast<uint64_t>(unix_ns / 100 + kEpochDifference);
  return FILETIME{static_cast<DWORD>(t & 0xFFFFFFFF), static_cast<DWORD>(t >> 32)};
}

DWORD Attributes(const FileInfo& info) {
  DWORD a = info.is_directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if (info.read_only) a |= FILE_ATTRIBUTE_READONLY;
  return a;
}

// Windows' wildcard match without regard to case: "*" any run, "?" one character.
bool Matches(std::wstring_view pattern, std::wstring_view name) {
  if (pattern == L"*.*" || pattern == L"*") return true;
  size_t p = 0, n = 0, star = std::wstring_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() &&
               (pattern[p] == L'?' || UpperChar(pattern[p]) == UpperChar(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::wstring_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

struct FindEntry {
  std::wstring name;
  FileInfo info;
};

struct FindState {
  std::vector<FindEntry> entries;
  size_t next = 0;
};

std::unordered_set<FindState*>& OpenSearches() {
  static std::unordered_set<FindState*> searches;
  return searches;
}

void Fill(const FindEntry& e, WIN32_FIND_DATAW* data) {
  *data = WIN32_FIND_DATAW{};
  data->dwFileAttributes = Attributes(e.info);
  data->ftCreationTime = ToFileTime(e.info.creation_ns);
  data->ftLastAccessTime = ToFileTime(e.info.last_write_ns);
  data->ftLastWriteTime = ToFileTime(e.info.last_write_ns);
  data->nFileSizeHigh = static_cast<DWORD>(e.info.size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(e.info.size & 0xFFFFFFFF);
  std::wstring_view name = std::wstring_view(e.name).substr(0, MAX_PATH - 1);
  std::wmemcpy(data->cFileName, name.data(), name.size());
  data->cFileName[name.size()] = L'\0';
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

BOOL Succeed() {
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

// Resolves a path for a function that needs it to exist.
bool ResolveExisting(LPCWSTR path, ResolvedPath* r) {
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  *r = ResolvePath(path);
  if (r->error == ERROR_SUCCESS && !r->exists) r->error = ERROR_FILE_NOT_FOUND;
  if (r->error) SetLastError(r->error);
  return r->error == ERROR_SUCCESS;
}

BOOL MoveOrRename(LPCWSTR from, LPCWSTR to, bool replace, bool write_through) {
  FlushProfileFiles();
  ResolvedPath src, dst;
  if (!ResolveExisting(from, &src)) return FALSE;
  if (!to) return Fail(ERROR_INVALID_PARAMETER);
  dst = ResolvePath(to);
  if (dst.error) return Fail(dst.error);
  if (dst.exists && !replace && dst.posix != src.posix) return Fail(ERROR_ALREADY_EXISTS);
  FileSystem& fs = CurrentFileSystem();
  DWORD err = write_through ? MoveDurably(fs, src.posix, dst.posix, replace)
                            : fs.Rename(src.posix, dst.posix, replace);
  ForgetProfileFile(src.posix);
  ForgetProfileFile(dst.posix);
  if (write_through && err == ERROR_SUCCESS) {
    NoteFolderSynced(FolderOf(dst.posix));
    NoteFolderSynced(FolderOf(src.posix));
  }
  return err ? Fail(err) : Succeed();
}

}  // namespace

DWORD ReadFileBytes(LPCWSTR path, std::string* bytes) {
  bytes->clear();
  FlushProfileFiles();
  ResolvedPath r;
  if (!ResolveExisting(path, &r)) return r.error ? r.error : ERROR_INVALID_PARAMETER;
  return CurrentFileSystem().Read(r.posix, bytes);
}

DWORD WriteFileBytes(LPCWSTR path, const std::string& bytes) {
  FlushProfileFiles();
  if (!path) return ERROR_INVALID_PARAMETER;
  ResolvedPath r = ResolvePath(path);
  if (r.error) return r.error;
  DWORD err = CurrentFileSystem().Write(r.posix, bytes);
  ForgetProfileFile(r.posix);
  return err;
}

}  // namespace platform

using namespace platform;

HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
  FlushProfileFiles();
  if (!lpFileName || !lpFindFileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::wstring_view pattern = PathLeaf(lpFileName);
  ResolvedPath r = ResolvePath(lpFileName, /*allow_wildcards=*/true);
  if (r.error || pattern.empty()) {
    SetLastError(r.error ? r.error : ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  auto state = std::make_unique<FindState>();
  FileSystem& fs = CurrentFileSystem();
  std::string folder = r.posix.substr(0, r.posix.find_last_of('/') + 1);
  if (pattern.find_first_of(L"*?") == std::wstring_view::npos) {
    if (r.exists) state->entries.push_back({Utf8ToWide(r.posix.substr(folder.size())), r.info});
  } else {
    std::vector<std::string> names;
    if (DWORD err = fs.List(folder.empty() ? "." : folder, &names)) {
      SetLastError(err == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : err);
      return INVALID_HANDLE_VALUE;
    }
    if (Matches(pattern, L".")) {
      for (const char* dot : {".", ".."}) {
        FindEntry e{Utf8ToWide(dot), {}};
        if (fs.Stat(folder + dot, &e.info) == ERROR_SUCCESS) state->entries.push_back(e);
      }
    }
    std::vector<FindEntry> found;
    for (const std::string& name : names) {
      FindEntry e{Utf8ToWide(name), {}};
      if (!Matches(pattern, e.name)) continue;
      if (fs.Stat(folder + name, &e.info) != ERROR_SUCCESS) continue;  // gone meanwhile
      found.push_back(std::move(e));
    }
    // NTFS keeps a folder's names in the order of their upper-cased UTF-16 code units.
    std::sort(found.begin(), found.end(), [](const FindEntry& a, const FindEntry& b) {
      return CompareNoCase(a.name, b.name) < 0;
    });
    for (FindEntry& e : found) state->entries.push_back(std::move(e));
  }
  if (state->entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  Fill(state->entries[0], lpFindFileData);
  state->next = 1;
  FindState* handle = state.release();
  OpenSearches().insert(handle);
  SetLastError(ERROR_SUCCESS);
  return handle;
}

BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
  auto* state = static_cast<FindState*>(hFindFile);
  if (!OpenSearches().count(state)) return Fail(ERROR_INVALID_HANDLE);
  if (!lpFindFileData) return Fail(ERROR_INVALID_PARAMETER);
  if (state->next >= state->entries.size()) return Fail(ERROR_NO_MORE_FILES);
  Fill(state->entries[state->next++], lpFindFileData);
  return Succeed();
}

BOOL FindClose(HANDLE hFindFile) {
  auto* state = static_cast<FindState*>(hFindFile);
  if (!OpenSearches().erase(state)) return Fail(ERROR_INVALID_HANDLE);
  delete state;
  return Succeed();
}

DWORD GetFileAttributesW(LPCWSTR lpFileName) {
  FlushProfileFiles();
  ResolvedPath r;
  if (!ResolveExisting(lpFileName, &r)) return INVALID_FILE_ATTRIBUTES;
  SetLastError(ERROR_SUCCESS);
  return Attributes(r.info);
}

BOOL DeleteFileW(LPCWSTR lpFileName) {
  FlushProfileFiles();
  ResolvedPath r;
  if (!ResolveExisting(lpFileName, &r)) return FALSE;
  DWORD err = CurrentFileSystem().Delete(r.posix);
  ForgetProfileFile(r.posix);
  return err ? Fail(err) : Succeed();
}

BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName) {
  return MoveOrRename(lpExistingFileName, lpNewFileName, false, false);
}

BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags) {
  return MoveOrRename(lpExistingFileName, lpNewFileName, (dwFlags & MOVEFILE_REPLACE_EXISTING) != 0,
                      (dwFlags & MOVEFILE_WRITE_THROUGH) != 0);
}

BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists) {
  FlushProfileFiles();
  ResolvedPath src;
  if (!ResolveExisting(lpExistingFileName, &src)) return FALSE;
  if (!lpNewFileName) return Fail(ERROR_INVALID_PARAMETER);
  ResolvedPath dst = ResolvePath(lpNewFileName);
  if (dst.error) return Fail(dst.error);
  if (dst.exists && bFailIfExists) return Fail(ERROR_FILE_EXISTS);
  if (dst.exists && dst.info.is_directory) return Fail(ERROR_ACCESS_DENIED);
  DWORD err = CurrentFileSystem().Copy(src.posix, dst.posix, bFailIfExists != FALSE);
  ForgetProfileFile(dst.posix);
  return err ? Fail(err) : Succeed();
}

BOOL CreateDirectoryW(LPCWSTR lpPathName, void* /*lpSecurityAttributes*/) {
  FlushProfileFiles();
  if (!lpPathName) return Fail(ERROR_INVALID_PARAMETER);
  ResolvedPath r = ResolvePath(lpPathName);
  if (r.error) return Fail(r.error);
  if (r.exists) return Fail(ERROR_ALREADY_EXISTS);
  DWORD err = CurrentFileSystem().CreateFolder(r.posix);
  return err ? Fail(err) : Succeed();
}

BOOL RemoveDirectoryW(LPCWSTR lpPathName) {
  FlushProfileFiles();
  ResolvedPath r;
  if (!ResolveExisting(lpPathName, &r)) return FALSE;
  if (!r.info.is_directory) return Fail(ERROR_DIRECTORY);
  DWORD err = CurrentFileSystem().RemoveFolder(r.posix);
  return err ? Fail(err) : Succeed();
}
