// The Win32 subset that Harnex and the maker's libraries call.
#pragma once

#include "windef.h"
#include "winbase.h"
#include "winuser.h"
