// The part numbers present in the drawing: the panel and load names that the palette offers
// beside those of its master list.
#pragma once

#include <afx.h>
#include <afxcoll.h>

// Fills `partNumbers` (emptied first) with the distinct, non-empty values of the record "S001"
// of the drawing's part blocks (route kind 0), in selection order; equal values are kept once
// (exact, case-sensitive comparison). Entities are those of the route element selection filter;
// an entity whose route kind cannot be read is no part block.
// The status bar shows the progress meter "部品番号取得中..." from 0 to the number of entities
// while the loop runs and is restored at the end. A user break (Esc) stops the loop early; what
// was found until then stays in the list.
// Result: the number of entries of `partNumbers`; -1 when the selection fails, which is also the
// answer for a drawing without any route element, as the drawing never gives an empty selection.
int CollectPartNumbers(CStringArray& partNumbers);
