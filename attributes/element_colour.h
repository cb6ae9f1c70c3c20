// The colour marking of the settings check: recolouring a route element and keeping its former
// colour in the record "$P13" of its record list, and giving that colour back.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <dbid.h>

// Recolours block reference `id` with `colourIndex` (its attributes too) and saves the colour it
// had in "$P13": a missing "$P13" record is appended, an empty one is filled, a filled one is
// left alone, so that over repeated checks the colour saved first stays.
// Result false, with nothing changed, when the entity cannot be opened for write or is no block
// reference; true otherwise. An element without a record list is recoloured and nothing is
// saved. When the drawing refuses the longer list (the entity's XData would exceed 16 KiB) the
// element keeps its colour change and its old list unchanged; the result is still true.
bool MarkElement(AcDbObjectId id, int colourIndex);
// The same with the element's record list as the caller has just read it (`records`, changed
// as it is written; null: read here), so that it is not read again.
bool MarkElement(AcDbObjectId id, int colourIndex, CStringArray* records);

// Gives element `id` back the colour saved in "$P13" when that record has a value: the value is
// emptied (the record stays) and the entity takes that colour index (its attributes too).
// Nothing happens for an element without a record list, without "$P13" or with an empty one.
void RestoreElementColour(AcDbObjectId id);

// True when record list `list` holds a saved colour: its "$P13" record has a value, so that
// RestoreElementColour on an element with this list has something to give back.
bool HasSavedColour(const CStringArray& list);
