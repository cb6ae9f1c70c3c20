// The palette command: makes the palette and its palette set on first use and shows them again
// later. CmdShowPalette (app/command_handlers.h) is its handler.
#pragma once

// The palette set's caption, window style and palette-set style.
inline constexpr wchar_t kPaletteSetTitle[] = L"複数配線";
inline constexpr unsigned long kPaletteSetWindowStyle = 0x10400000;  // WS_VISIBLE | WS_DLGFRAME
inline constexpr unsigned long kPaletteSetStyle = 14;
