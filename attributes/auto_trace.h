// The trace of automatic assignment: from a panel or load through the route network to the
// terminal segment, writing the row on its way back.
#pragma once

#include <afx.h>
#include <dbid.h>
#include <gepnt3d.h>

// The connection points of route element `id` (VuRida_GetConnectPoint on RQCONECT_LAYER), in
// `points`; false when they cannot be read.
bool ConnectPoints(AcDbObjectId id, AcGePoint3dArray& points);

// Follows the network from `from` through `point` towards `terminal`, every connectivity
// question asked within `elements` (RootComn_GetConnectBlock7; the list must not change during
// the run, as its connection index is kept between questions). Result true when some path
// reaches the terminal segment.
// On each path the row is written (WriteRowAuto) on the way back to the elements between the
// start and the terminal, the terminal itself and the state 1 or 2 elements at its far end
// (WriteBeyondTerminal), as long as no part block (state other than 3) and no hatched panel was
// passed: `passedPart` and `panelMode` say so for the path so far, and an element sets them for
// itself, its later siblings and everything beyond it. The starting element is not written. A
// hatched panel with three connection points adds the row's panel/load name to its
// "RQPX_BANLINK" ("," between names; a panel met after another one gets the second list appended
// to `names`, the first panel's list, with no separator) when a path through it reaches the
// terminal. An element already on the current path is passed over, so cycles end; a tree is
// walked in full.
bool TraceAuto(const AcDbObjectIdArray& elements, AcDbObjectId terminal, const AcGePoint3d& point,
               AcDbObjectId from, int row, bool passedPart, bool panelMode, const wchar_t* names);

// Writes `row` to the elements of `elements` with "ETAT" 1 or 2 that are connected to the
// terminal segment at its connection point farther from `point` (the first point unless the
// second is strictly farther). Nothing when the terminal has not exactly two connection points.
void WriteBeyondTerminal(const AcDbObjectIdArray& elements, AcDbObjectId terminal,
                         const AcGePoint3d& point, int row);
