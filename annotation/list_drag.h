// The list table's placement in CDrawNote (modes 2 and 3): what the jig's messages do while a
// table is dragged.
#pragma once

#include <Drag.h>
#include <afxwin.h>

class CDrawNote;

// A cursor sample and an input of a list placement; the result goes back to the jig (0 ends
// the drag, 1 and -1 keep it running).
LRESULT ListDragSample(CDrawNote& note, dragdata& data);
LRESULT ListDragInput(CDrawNote& note, dragdata& data);
