// The thread's last error code and the Windows string functions of winbase.h.
#include "platform/win/wide_string.h"
#include <winbase.h>

#include <cwchar>

namespace {
thread_local DWORD g_last_error = ERROR_SUCCESS;
}

DWORD GetLastError() {
  return g_last_error;
}
void SetLastError(DWORD dwErrCode) {
  g_last_error = dwErrCode;
}

int lstrlenW(LPCWSTR lpString) {
  return lpString ? static_cast<int>(std::wcslen(lpString)) : 0;
}

int lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2) {
  return platform::CompareUtf16(lpString1 ? lpString1 : L"", lpString2 ? lpString2 : L"");
}

int lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2) {
  return platform::CompareNoCase(lpString1 ? lpString1 : L"", lpString2 ? lpString2 : L"");
}
