// ATL's string header: the same CString as MFC's.
#pragma once

#include <afxstr.h>
