// Selection sets (acedSSGet and friends in acedads.h) and the pick-first set of the editor.
#pragma once

#include <cstddef>
#include <vector>

#include <adsdef.h>
#include <dbid.h>

namespace platform::acad {

// The pick-first set that the user selected before the command (the scripted user's
// `preselect`); the host sets it before running a command and clears it afterwards.
// acedSSGet("I") and acedSSGetFirst read it; acedSSSetFirst replaces it.
void SetPickfirst(const std::vector<AcDbObjectId>& ids);
void ClearPickfirst();
const std::vector<AcDbObjectId>& Pickfirst();

// Selection sets not yet freed with acedSSFree (AutoCAD allows only 128 at a time, so a
// command that leaks them is a bug the host reports).
size_t OpenSelectionSetCount();
// Frees every selection set; for the host between sessions and for tests.
void FreeAllSelectionSets();

// How a rectangle dragged at the command prompt selects: a window (dragged left to right) the
// entities wholly inside it, a crossing (right to left) also those that cross or touch its edge.
enum class RectangleSelection { kWindow, kCrossing };

// The top-level entities of the working drawing's model space that the rectangle whose
// opposite corners are `a` and `b` (in either order; X and Y only) selects, in drawing order;
// empty without a working drawing. acedSSGet's "W" and "C" modes select with this.
// - Window: the entity's EntityBox (hit_test.h) lies inside the rectangle; a box that touches
//   an edge is inside.
// - Crossing: as window, or the entity meets the rectangle (EntityMeetsRectangle): lines,
//   polylines, circles and arcs by their geometry, a line passing by a corner is not taken;
//   any other entity by its box overlapping or touching the rectangle.
// A block reference is taken or left as a whole, by the box of what it shows. Erased entities
// are left out; entities on frozen or switched-off layers and invisible ones are not (filters
// choose among what this gives).
std::vector<AcDbObjectId> InRectangle(const ads_point a, const ads_point b,
                                      RectangleSelection mode);

// A new selection set of these entities (in this order, duplicates removed) named in `ss`.
void NewSelectionSet(const std::vector<AcDbObjectId>& ids, ads_name ss);
// The members of a set, or null when `ss` names no open set.
std::vector<AcDbObjectId>* FindSelectionSet(const ads_name ss);

}  // namespace platform::acad
