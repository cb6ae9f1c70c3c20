// The Win32 subset that Harnex and the maker's libraries call.
#pragma once

#include <mscrt.h>
#include <winbase.h>
#include <windef.h>
#include <winerror.h>
#include <winnls.h>
#include <winuser.h>
