// The note's side of the jig contract: samples move the leader or flip the box, picks fix the
// leader and then commit the note.
#include "annotation/note_drag.h"

#include <dbents.h>

#include "annotation/draw_note.h"
#include "annotation/note_geometry.h"

LRESULT NoteDragSample(CDrawNote& note, dragdata& data) {
  CDrag& drag = *data.drag;
  const AcGePoint3d cursor = drag.GetPoint();
  const bool found = note.noteState == kNoteLeaderFree ? UpdateLeader(note, drag, cursor)
                                                       : FlipNoteSide(note, drag, cursor);
  drag.SetEntEnable(0, found ? 1 : 0);
  return 1;
}

LRESULT NoteDragInput(CDrawNote& note, dragdata& data) {
  CDrag& drag = *data.drag;
  const AcGePoint3d picked = drag.GetPoint();
  if (note.noteState == kNoteLeaderFree) {
    bool found = UpdateLeader(note, drag, picked);
    if (found) {
      const AcGePoint3d end = AcDbLine::cast(drag.At(drag.Length() - 1))->endPoint();
      found = LayOutNoteBox(note, drag, end);
    }
    // The raw pick may lie left of the snapped end: the box then starts on the left.
    if (found) found = FlipNoteSide(note, drag, picked);
    drag.SetEntEnable(0, found ? 1 : 0);
    return 1;
  }
  const bool committed = CommitNote(note, drag);
  drag.SetEntEnable(0, committed ? 1 : 0);
  return 0;
}
