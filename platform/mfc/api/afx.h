// MFC's base header: the same as afxwin.h in this subset.
#pragma once

#include <afxwin.h>
