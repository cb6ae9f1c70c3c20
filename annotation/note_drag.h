// What the jig's messages do to a note (CDrawNote in mode 1).
//
//   sample, leader free    the leader follows the cursor (UpdateLeader)
//   sample, leader fixed   the box follows the cursor's side of E (FlipNoteSide)
//   input, leader free     the leader is moved to the picked point, its end becomes E, the box is
//                          laid out and put on the pick's side; the drag goes on (1)
//   input, leader fixed    the note becomes a block (CommitNote); the drag ends (0)
// After each, entity 0 is shown when the update found its entities and hidden when it did not.
// A null response (Enter) is taken as a pick at the jig's current point.
#pragma once

#include <Drag.h>
#include <afxwin.h>

class CDrawNote;

LRESULT NoteDragSample(CDrawNote& note, dragdata& data);
LRESULT NoteDragInput(CDrawNote& note, dragdata& data);
