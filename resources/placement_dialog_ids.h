// CDrawNote: resource ids of the hidden placement dialog (template 207) that receives the drag
// jig's messages while a note or list table is placed.
#pragma once

#define IDD_DRAW_NOTE 207
