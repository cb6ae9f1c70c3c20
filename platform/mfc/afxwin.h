// The core MFC header: strings, collections, geometry, windows, dialogs, controls and drawing.
#pragma once

#include <windows.h>

#include "afxcoll.h"
#include "afxstr.h"
#include "atltypes.h"
