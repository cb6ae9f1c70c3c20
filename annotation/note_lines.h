// The text lines of a wiring note, one per wire of the element.
//
// The element's wires come as raw strings of three parts, each closed by "!": trunk number,
// wire size, construction item name. The palette's three note boxes choose the parts of a line,
// in this order:
//   box 0 "幹線番号を記入"   the trunk number followed by "　" (ideographic space)
//   box 1 "配線ｻｲｽﾞを記入"   the wire size as it is
//   box 2 "工事区分を記入"   the item name in full-width parentheses "（" "）"
// With no box checked every line is empty, and still a line.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <dbid.h>

class PaletteAccess;

// The note line of one raw string for the three box states. Parts missing from the raw string
// count as empty.
CString ComposeNoteLine(const CString& raw, const bool flags[3]);

// Replaces `lines` with the note lines of `raws`, one per raw string, in order.
void ComposeNoteLines(const CStringArray& raws, const bool flags[3], CStringArray& lines);

// The note lines of element `id`: its wires as ReadWiringLines gives them, composed with the
// palette's note boxes (GetNoteFlags). False, with `lines` empty, when the element has no wires
// to read.
bool BuildNoteLines(AcDbObjectId id, const PaletteAccess& palette, CStringArray& lines);
