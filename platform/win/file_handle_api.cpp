// The Win32 file handles that read a file whole (CreateFileW for reading, GetFileSize, ReadFile,
// CloseHandle) and the environment variables.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/win/text_encoding.h"
#include <winbase.h>
#include <winerror.h>

namespace {

struct OpenFile {
  std::string bytes;
  size_t position = 0;
};

// The open files by handle. A handle is the address of its record, so it stays unique while the
// file is open and never equals INVALID_HANDLE_VALUE.
std::unordered_map<HANDLE, std::unique_ptr<OpenFile>>& OpenFiles() {
  static std::unordered_map<HANDLE, std::unique_ptr<OpenFile>> files;
  return files;
}

OpenFile* Find(HANDLE file) {
  auto it = OpenFiles().find(file);
  return it == OpenFiles().end() ? nullptr : it->second.get();
}

}  // namespace

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD /*dwShareMode*/,
                   void* /*lpSecurityAttributes*/, DWORD dwCreationDisposition,
                   DWORD /*dwFlagsAndAttributes*/, HANDLE /*hTemplateFile*/) {
  if (lpFileName == nullptr || dwDesiredAccess != static_cast<DWORD>(GENERIC_READ) ||
      dwCreationDisposition != OPEN_EXISTING) {
    SetLastError(lpFileName == nullptr ? ERROR_INVALID_PARAMETER : ERROR_NOT_SUPPORTED);
    return INVALID_HANDLE_VALUE;
  }
  auto file = std::make_unique<OpenFile>();
  const DWORD error = platform::ReadFileBytes(lpFileName, &file->bytes);
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle = file.get();
  OpenFiles().emplace(handle, std::move(file));
  SetLastError(ERROR_SUCCESS);
  return handle;
}

DWORD GetFileSize(HANDLE hFile, DWORD* lpFileSizeHigh) {
  const OpenFile* file = Find(hFile);
  if (file == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_FILE_SIZE;
  }
  const uint64_t size = file->bytes.size();
  if (lpFileSizeHigh != nullptr) *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size & 0xFFFFFFFFu);
}

BOOL ReadFile(HANDLE hFile, void* lpBuffer, DWORD nNumberOfBytesToRead, DWORD* lpNumberOfBytesRead,
              void* /*lpOverlapped*/) {
  if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = 0;
  OpenFile* file = Find(hFile);
  if (file == nullptr || (lpBuffer == nullptr && nNumberOfBytesToRead > 0)) {
    SetLastError(file == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const size_t count =
      std::min<size_t>(nNumberOfBytesToRead, file->bytes.size() - file->position);
  if (count > 0) std::memcpy(lpBuffer, file->bytes.data() + file->position, count);
  file->position += count;
  if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = static_cast<DWORD>(count);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL CloseHandle(HANDLE hObject) {
  if (OpenFiles().erase(hObject) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

DWORD GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize) {
  const char* value = lpName != nullptr ? std::getenv(platform::WideToUtf8(lpName).c_str()) : nullptr;
  if (value == nullptr) {
    SetLastError(lpName == nullptr ? ERROR_INVALID_PARAMETER : ERROR_ENVVAR_NOT_FOUND);
    return 0;
  }
  const std::wstring wide = platform::Utf8ToWide(value);
  SetLastError(ERROR_SUCCESS);
  if (lpBuffer == nullptr || nSize <= wide.size()) return static_cast<DWORD>(wide.size() + 1);
  std::copy(wide.begin(), wide.end(), lpBuffer);
  lpBuffer[wide.size()] = L'\0';
  return static_cast<DWORD>(wide.size());
}
