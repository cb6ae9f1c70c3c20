// Windows-form paths mapped onto this system's files, with Windows' name rules.
#include "platform/win/win_path.h"

#include <vector>

#include "platform/win/file_system.h"
#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"
#include <winerror.h>

namespace platform {
namespace {

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool IsDeviceName(std::wstring_view name) {
  // "CON", "con.txt", "COM1 .log": the part before the first dot, blanks cut off.
  std::wstring_view base = name.substr(0, name.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
  std::wstring up = ToUpper(base);
  if (up == L"CON" || up == L"PRN" || up == L"AUX" || up == L"NUL") return true;
  if (up.size() == 4 && (up.compare(0, 3, L"COM") == 0 || up.compare(0, 3, L"LPT") == 0))
    return up[3] >= L'1' && up[3] <= L'9';
  return false;
}

std::vector<std::wstring_view> SplitComponents(std::wstring_view path) {
  std::vector<std::wstring_view> parts;
  size_t i = 0;
  while (i < path.size()) {
    while (i < path.size() && IsSeparator(path[i])) ++i;
    size_t j = i;
    while (j < path.size() && !IsSeparator(path[j])) ++j;
    if (j > i) parts.push_back(path.substr(i, j - i));
    i = j;
  }
  return parts;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// The entry of `folder` that matches `name` without regard to case ("" when none); only
// folders when want_folder.
std::string FindNoCase(const std::string& folder, std::wstring_view name, bool want_folder) {
  std::vector<std::string> entries;
  FileSystem& fs = CurrentFileSystem();
  if (fs.List(folder.empty() ? "." : folder, &entries) != ERROR_SUCCESS) return {};
  for (const std::string& entry : entries) {
    if (!EqualsNoCase(Utf8ToWide(entry), name)) continue;
    FileInfo info;
    if (want_folder && (fs.Stat(Join(folder, entry), &info) != ERROR_SUCCESS || !info.is_directory))
      continue;
    return entry;
  }
  return {};
}

bool IsFolder(const std::string& path) {
  FileInfo info;
  return CurrentFileSystem().Stat(path.empty() ? "." : path, &info) == ERROR_SUCCESS &&
         info.is_directory;
}

}  // namespace

DWORD CheckComponent(std::wstring_view name, bool allow_wildcards) {
  if (name == L"..") return ERROR_INVALID_NAME;
  for (wchar_t c : name) {
    if (c < 0x20 || c == L'\\' || c == L'/' || c == L':' || c == L'"' || c == L'<' || c == L'>' ||
        c == L'|')
      return ERROR_INVALID_NAME;
    if ((c == L'*' || c == L'?') && !allow_wildcards) return ERROR_INVALID_NAME;
  }
  return IsDeviceName(name) ? ERROR_INVALID_NAME : ERROR_SUCCESS;
}

ResolvedPath ResolvePath(std::wstring_view windows_path, bool allow_wildcards) {
  ResolvedPath result;
  std::vector<std::wstring_view> parts = SplitComponents(windows_path);
  std::erase(parts, std::wstring_view(L"."));
  const bool absolute = !windows_path.empty() && IsSeparator(windows_path[0]);
  if (parts.empty()) {
    result.error = absolute ? ERROR_SUCCESS : ERROR_PATH_NOT_FOUND;
    result.posix.assign(absolute ? 1 : 0, '/');  // (a literal here trips a false GCC 12 warning)
    result.exists = absolute;
    return result;
  }
  for (size_t i = 0; i < parts.size(); ++i) {
    if (DWORD err = CheckComponent(parts[i], allow_wildcards && i + 1 == parts.size())) {
      result.error = err;
      return result;
    }
  }
  const std::wstring_view leaf = parts.back();
  const bool pattern = leaf.find_first_of(L"*?") != std::wstring_view::npos;

  // The common case costs one look-up: the path exists exactly as written.
  std::string folder = absolute ? "/" : "";
  for (size_t i = 0; i + 1 < parts.size(); ++i) folder = Join(folder, WideToUtf8(parts[i]));
  const std::string exact = Join(folder, WideToUtf8(leaf));
  if (!pattern && CurrentFileSystem().Stat(exact, &result.info) == ERROR_SUCCESS) {
    result.posix = exact;
    result.exists = true;
    return result;
  }

  if (parts.size() > 1 && !IsFolder(folder)) {
    // Walk from the top, matching each folder without regard to case.
    folder.assign(absolute ? 1 : 0, '/');  // (a literal here trips a false GCC 12 warning)
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
      std::string next = Join(folder, WideToUtf8(parts[i]));
      if (!IsFolder(next)) {
        std::string found = FindNoCase(folder, parts[i], true);
        if (found.empty()) {
          result.error = ERROR_PATH_NOT_FOUND;
          return result;
        }
        next = Join(folder, found);
      }
      folder = std::move(next);
    }
  }
  if (pattern) {
    result.posix = Join(folder, WideToUtf8(leaf));
    return result;
  }
  std::string found = FindNoCase(folder, leaf, false);
  result.exists =
      !found.empty() && CurrentFileSystem().Stat(Join(folder, found), &result.info) == 0;
  result.posix = Join(folder, found.empty() ? WideToUtf8(leaf) : found);
  return result;
}

std::wstring_view PathFolder(std::wstring_view windows_path) {
  size_t cut = windows_path.find_last_of(L"\\/");
  if (cut == std::wstring_view::npos) return {};
  return windows_path.substr(0, cut == 0 ? 1 : cut);
}

std::wstring_view PathLeaf(std::wstring_view windows_path) {
  size_t cut = windows_path.find_last_of(L"\\/");
  return cut == std::wstring_view::npos ? windows_path : windows_path.substr(cut + 1);
}

}  // namespace platform
