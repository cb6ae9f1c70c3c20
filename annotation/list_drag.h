// The list table's placement in CDrawNote (modes 2 and 3): what the jig's messages do while a
// table is dragged.
//
// The jig holds two entities: 0 the rectangle outline (a closed run of five polyline vertices,
// all at the origin until rectangle placement starts) and 1 the table's block reference.
//   sample, point placement   the table follows the cursor
//   sample, rectangle         the outline spans the first corner and the cursor; the table is
//                             fitted into it, hidden when it does not fit
//   input, Enter              asks for the rectangle's first corner and switches to rectangle
//                             placement (-1: the drag goes on)
//   input, point              the table is added at the point (0: the drag ends)
//   input, rectangle          the table is fitted and added (0), or kept dragging when it does
//                             not fit (-1)
// Before each sample the table is built anew when the palette's list settings have changed.
#pragma once

#include <Drag.h>
#include <afxwin.h>
#include <gepnt3d.h>

class AcDbEntity;
class CDrawNote;

// Index of the outline and of the table in the jig.
constexpr int kListOutline = 0;
constexpr int kListTable = 1;

// LRESULT values of the list handlers beyond 0 (end) and 1 (go on).
constexpr LRESULT kListKeepDragging = -1;

// A cursor sample and an input of a list placement; the result goes back to the jig.
LRESULT ListDragSample(CDrawNote& note, dragdata& data);
LRESULT ListDragInput(CDrawNote& note, dragdata& data);

// Scales the table `entity` (a block reference) by the largest factor f with which its extents
// at scale 1 fit into the rectangle of corners `first` and `second`, and puts its base point at
// `first`; with `add` it is then added to the current space. Result 0, or -1 when the entity is
// no block reference, the rectangle or the table has no width or height, or f < 0.1.
int FitTableToRectangle(const AcGePoint3d& first, const AcGePoint3d& second, AcDbEntity* entity,
                        bool add);

// Sets up the list drag for `note` (rows, mode and scale filled): layers, the list settings from
// the palette, the outline and the table's block, then runs the drag. A table that is not
// placed leaves no block definition behind. False when there was nothing to drag (no rows, no
// block).
bool StartList(CDrawNote& note);
