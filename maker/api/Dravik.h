// Dravik.dll, the maker's utility library: everything it exports.
#pragma once

#include <ApiComn.h>
#include <Drag.h>
#include <PaletteDialog.h>
