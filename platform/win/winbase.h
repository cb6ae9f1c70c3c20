// Files, modules, errors and time, as <winbase.h> and <fileapi.h> give them (the subset in use).
#pragma once

#include "windef.h"
