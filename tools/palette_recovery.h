// Unsaved palette edits when the session must end with nobody to ask (the host was told to stop
// by a signal): they go to a recovery project beside the project, never into the project file.
#pragma once

#include <string>

namespace tools {

// Whether the palette exists (its window may be hidden).
bool PaletteIsOpen();

// Whether the palette is open with edits that are not saved, its page collected first (the
// controls may hold a typed value the pattern does not have yet).
bool PaletteHasUnsavedEdits();

// Writes the palette's project, as it is in the palette, as the project "NAME.recovered" in the
// project folder ("無題.recovered" for a project without a name; "NAME.recovered-2" and on when
// that file exists), then clears the palette's modified flag so that closing it asks nothing.
// True with the file's path in *path when a file was written; false with *error when the palette
// has no unsaved edits (empty error) or the file could not be written.
bool WritePaletteRecovery(std::string* path, std::wstring* error);

}  // namespace tools
