// Generic-text names of a Unicode build, as <tchar.h> maps them onto the wide functions.
#pragma once

#include <cwchar>

#include <mscrt.h>
#include <windef.h>

#define _tcslen wcslen
#define _tcscmp wcscmp
#define _tcsncmp wcsncmp
#define _tcsicmp _wcsicmp
#define _tcsnicmp _wcsnicmp
#define _tcscpy_s wcscpy_s
#define _tcsncpy_s wcsncpy_s
#define _tcscat_s wcscat_s
#define _tcschr wcschr
#define _tcsrchr wcsrchr
#define _tcsstr wcsstr
#define _tstoi _wtoi
#define _ttoi _wtoi
#define _ttol _wtol
#define _stprintf_s swprintf_s
#define _TCHAR wchar_t
