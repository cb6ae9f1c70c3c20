// The geometry of a wiring note: the mark on the route, the tick, the leader, and the ruled box
// of text lines, as entities of the drag jig, and the block they become.
//
// Lengths: s is CDrawNote::scale; with the settings held in the CDrawNote
//   text height h = textHeight·s   width factor wf = textWidth / textHeight
//   pitch p = (textHeight + lineGap)·s   text offset o = textOffset·s
//   mark sizes A = ellipseMajor·s, B = ellipseMinor·s   snap step a = correctionAngle (degrees)
//
// The jig holds a note's entities in this order (tags in quotes):
//   line note:   mark, tick, leader, [n+1 rules "1", n texts "1", far border "2", near border "0"]
//   origin note:             leader, [the same]
// The part in brackets exists once the leader end is picked (LayOutNoteBox). The side flip
// moves every entity from the first rule up to the last one but one by its tag × W × side.
#pragma once

#include <afx.h>
#include <gepnt3d.h>

class CDrag;
class CDrawNote;

// Reads the note section of the settings file `path` (empty: the defaults) into `note`, with
// buffers of 512 characters: text height, width, line gap, offset, the correction flag ("あり"
// exactly), its angle and the two mark sizes; the width factor is width / height (1 when the
// height is not positive, so that no text gets an unusable factor).
void ReadNoteSettings(const CString& path, CDrawNote& note);

// The leader end for the cursor `m` when the leader starts at `q` and turns in steps of `step`
// degrees: the angle δ from q to m (0 <= δ < 360, in the XY plane) becomes k·step, k = δ / step
// truncated, plus one when the rest exceeds half a step (exactly half rounds down; a rest within
// 1e-9 degrees of the half counts as the half, so that a cursor placed at the half by
// coordinates is not pushed up by rounding). δ = 0 or step <= 0 keep the angle. The result lies
// at the plan distance |qm| from q, with the z of m.
AcGePoint3d SnapLeader(const AcGePoint3d& q, const AcGePoint3d& m, double step);

// Fills the empty jig `drag` with the first entities of the note of note.element, picked at
// note.pickPoint: reads the settings file at `settingsPath`, makes sure the layers RQ_ANNO and
// RQ_TABLE exist, and sets note.foot, note.atOrigin, noteState 0 and side +1.
//   origin note (ETAT 1 or 2): F = the block's origin, the leader a line F-F.
//   line note: F = the foot of the perpendicular from the pick point onto the line through the
//   element's two connection points (the host's "RQAddin_perpendicular"); the half-ellipse mark
//   at F across the route, the tick of length 2s through F across the route, and the leader from
//   the tick end with the greater y (T1 when equal) to the pick point.
// False, with nothing in the jig, when no note can be made: not exactly two connection points,
// the perpendicular fails, or the host function is missing, which alone prints
// "\nERROR:座標計算関数が実行できません.\n".
bool PrepareNote(CDrawNote& note, CDrag& drag, const CString& settingsPath);

// PrepareNote, then the drag with the prompt "注記記入" until the note is committed or the drag
// is cancelled; the jig, and with it every entity not committed, goes when the drag ends.
// Result: the jig's result (RTNORM committed or ended, RTCAN cancelled), RTERROR when no note
// could be prepared.
int StartNote(CDrawNote& note);

// Moves the free leader for the cursor `cursor`: a line note's leader starts at the tick end
// nearer to the cursor (T0 when both are as near), an origin note's stays at F; the end is the
// cursor, snapped with SnapLeader from the start when the correction is on. False when the
// leader (the last entity) or the tick (the one before it) is missing or no line.
bool UpdateLeader(CDrawNote& note, CDrag& drag, const AcGePoint3d& cursor);

// Appends the box for the leader end `leaderEnd` (E): keeps E, sets noteState 1 and side +1,
// measures W (the widest line followed by "W" in the current text style at h and wf, plus o),
// then appends n+1 rules, the n texts (first line on top, at E.x + o and one unit·s above their
// rule) and the far and near borders, all at E.z. False when the leader is missing.
bool LayOutNoteBox(CDrawNote& note, CDrag& drag, const AcGePoint3d& leaderEnd);

// The box follows the cursor's side of E: side +1 when cursor.x >= E.x, else -1. On a change
// every entity from the first rule to the last but one is moved along x by its tag × W × side.
// False when an entity of the box is missing.
bool FlipNoteSide(CDrawNote& note, CDrag& drag, const AcGePoint3d& cursor);

// Makes the note a block: a new "PXNT" block whose base point is F holds every entity of the
// jig (texts on RQ_ANNO, the rest on RQ_TABLE, colour, linetype and line weight ByLayer), and
// its reference at F on RQ_TABLE goes into the current space. The jig is emptied. False, with
// nothing of the note left in the drawing, when the block cannot be made or written or its
// reference cannot be added: a definition already made is erased, with the jig's entities when
// they were already in it (the jig then no longer holds them).
bool CommitNote(CDrawNote& note, CDrag& drag);

// The width of `text` in the drawing's current text style at height `height` and width factor
// `widthFactor` (the text entity's extents when the style cannot be read).
double MeasureNoteText(const CString& text, double height, double widthFactor);
