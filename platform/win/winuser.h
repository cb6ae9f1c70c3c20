// Window messages, styles and message boxes, as <winuser.h> gives them (the subset in use).
#pragma once

#include "windef.h"
