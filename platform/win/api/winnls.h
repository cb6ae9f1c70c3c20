// Code-page conversion, as <winnls.h> and <stringapiset.h> give it: code pages 932 and UTF-8.
#pragma once

#include <windef.h>

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_NO_BEST_FIT_CHARS 0x00000400

// The system's ANSI code page: this installation is a Japanese Windows.
UINT GetACP();

// Converts cbMultiByte bytes of lpMultiByteStr (-1: up to and including its terminating zero) in
// CodePage (CP_ACP and 932: Shift_JIS as Windows extends it; CP_UTF8) to wide characters. With
// cchWideChar 0 only the needed size is returned. Sizes count wchar_t elements; each element holds
// one code point. Result: the number of elements written (or needed), 0 on failure with
// GetLastError ERROR_INVALID_PARAMETER (bad code page or arguments), ERROR_INSUFFICIENT_BUFFER,
// or ERROR_NO_UNICODE_TRANSLATION (invalid input with MB_ERR_INVALID_CHARS; without that flag
// invalid bytes become U+FFFD, or U+30FB for code page 932 as Windows does).
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar);

// The reverse conversion. A character the code page cannot hold becomes lpDefaultChar's first
// byte (or "?"), and *lpUsedDefaultChar is set to TRUE (both arguments must be null for CP_UTF8).
// A character that code page 932 maps only to a look-alike (U+301C, U+2212, U+00A5 ...) counts
// as not held. Result as MultiByteToWideChar, in bytes.
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        BOOL* lpUsedDefaultChar);
