// What the program asks the palette when the session ends: whether it is open, whether it would
// lose edits, and, when nobody is left to ask, that it keep them in a recovery project
// (palette/recovery_notice.h states the notice the palette answers).
#pragma once

#include <string>

namespace cli {

// Whether the palette's window exists (it may be hidden).
bool PaletteIsOpen();

// Whether the palette holds edits that are not saved (it answers WM_QUERYENDSESSION).
bool PaletteHasUnsavedEdits();

// Sends the palette the recovery notice. True with the recovery file's path (as this system
// names it) in *path when a file was written; false with *error when the palette is not open or
// has no unsaved edits (empty error) or the file could not be written.
bool WritePaletteRecovery(std::string* path, std::wstring* error);

}  // namespace cli
