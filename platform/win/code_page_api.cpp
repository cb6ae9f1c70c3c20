// MultiByteToWideChar and WideCharToMultiByte for code page 932 (the ANSI code page here) and
// UTF-8.
#include <cstring>
#include <cwchar>

#include "platform/win/text_encoding.h"
#include <winbase.h>
#include <winnls.h>

namespace {

bool KnownCodePage(UINT cp) {
  return cp == CP_ACP || cp == 932 || cp == CP_UTF8;
}

template <typename T>
int Deliver(const std::basic_string<T>& text, T* out, int out_size) {
  if (out_size == 0) return static_cast<int>(text.size());
  if (static_cast<size_t>(out_size) < text.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(out, text.data(), text.size() * sizeof(T));
  return static_cast<int>(text.size());
}

}  // namespace

UINT GetACP() {
  return 932;
}

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar) {
  if (!KnownCodePage(CodePage) || !lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 ||
      cchWideChar < 0 || (cchWideChar > 0 && !lpWideCharStr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // -1: the terminating zero is converted too.
  size_t len =
      cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
  std::string_view bytes(lpMultiByteStr, len);
  std::wstring text;
  if (CodePage == CP_UTF8) {
    if ((dwFlags & MB_ERR_INVALID_CHARS) && !platform::IsValidUtf8(bytes)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    }
    text = platform::Utf8ToWide(bytes);
  } else {
    text = platform::Cp932ToWide(bytes);
    if ((dwFlags & MB_ERR_INVALID_CHARS) && text.find(L'\x30FB') != std::wstring::npos &&
        platform::WideToCp932(text) != bytes) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    }
  }
  return Deliver(text, lpWideCharStr, cchWideChar);
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        BOOL* lpUsedDefaultChar) {
  if (!KnownCodePage(CodePage) || !lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 ||
      cbMultiByte < 0 || (cbMultiByte > 0 && !lpMultiByteStr) ||
      (CodePage == CP_UTF8 && (lpDefaultChar || lpUsedDefaultChar))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t len =
      cchWideChar == -1 ? std::wcslen(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
  std::wstring_view text(lpWideCharStr, len);
  std::string bytes;
  if (CodePage == CP_UTF8) {
    bytes = platform::WideToUtf8(text);
  } else {
    // Without WC_NO_BEST_FIT_CHARS Windows writes a look-alike where the code page has one
    // (U+301C as the bytes of U+FF5E); each character is tried on its own.
    const char fallback = lpDefaultChar ? lpDefaultChar[0] : '?';
    bool used_default = false;
    for (wchar_t c : text) {
      bool lossy = false;
      std::wstring_view one(&c, 1);
      std::string encoded = (dwFlags & WC_NO_BEST_FIT_CHARS)
                                ? platform::WideToCp932(one, &lossy)
                                : platform::WideToCp932BestFit(one, &lossy);
      if (lossy) {
        encoded = std::string(1, fallback);
        used_default = true;
      }
      bytes += encoded;
    }
    if (lpUsedDefaultChar) *lpUsedDefaultChar = used_default ? TRUE : FALSE;
  }
  return Deliver(bytes, lpMultiByteStr, cbMultiByte);
}
