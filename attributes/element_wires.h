// The wires of a route element as its record list holds them: the one reading of the "S" and
// "PX" records that the note tool (ReadWiringLines), the SVG wiring marks and the reports share.
//
// The first wire is the values of "S004" (system number), "S002" (size text), "S3B9"
// (panel/load name) and "S501" (construction item code); every further wire is a "PX" record
// whose value is SYSTEM!SIZE!PANEL!CODE!. Nothing here needs the palette: turning a code into
// its name is left to the caller, which knows where its master lists come from.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <dbid.h>

#include <vector>

// One wire of an element.
struct ElementWire {
  CString system;  // trunk (system) number
  CString size;    // size text: wire size, or wire size, one blank and conduit size
  CString panel;   // panel/load name(s)
  CString code;    // construction item code
  // False only for a first wire whose list has no "S501" record at all: such a wire has no
  // construction item, which is not the same as an unknown code.
  bool hasCode = true;
};

// The wires of record list `list`, into `wires` (emptied first):
//   - always the first wire from the "S" values, in that order of meaning; a missing record
//     reads as empty text (and a missing "S501" clears hasCode);
//   - then, in list order, every record that begins with "PX" (exact case) and has its first
//     "|" at position 1 or later: its value split at every "!" into parts, each trimmed of
//     blanks (a value ending in "!" gives an empty last part). Records of fewer than four parts
//     are skipped. The code is part 3 cut before its first "," unless that comma is its first
//     character.
void ListElementWires(const CStringArray& list, std::vector<ElementWire>& wires);

// True when the first wire holds anything that makes it a wire: a system number, a panel/load
// name or a size text (a construction item code alone does not).
bool FirstWireIsSet(const ElementWire& wire);

// The wires of element `id`. False (with `wires` empty) when the element has no "RQ_ATTR" list
// or cannot be opened.
bool ReadElementWires(AcDbObjectId id, std::vector<ElementWire>& wires);
