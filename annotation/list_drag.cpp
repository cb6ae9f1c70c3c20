// The list table's placement. The table itself and its command are not built yet: nothing
// creates a list-mode CDrawNote, and a list drag that reached here would end at its first
// message rather than drag a table that does not exist.
#include "annotation/list_drag.h"

LRESULT ListDragSample(CDrawNote&, dragdata&) {
  return 0;
}

LRESULT ListDragInput(CDrawNote&, dragdata&) {
  return 0;
}
