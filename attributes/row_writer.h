// Writing the palette's rows into a route element's record list, and reading an element's wires
// back as note lines.
//
// A palette row (PaletteAccess::GetRowData) is nine strings: 0 construction item code, 1 system
// number, 2 panel/load name, 3 wire size, 4-6 conduit size indoors, outdoors, underground,
// 7 on-rack mark, 8 remarks. Fields 7 and 8 never reach an element.
//
// The first wire of an element goes into the values of "S501" (code), "S004" (system number),
// "S3B9" (panel/load name) and "S002" (size text); every further wire is one record
// "PX%02d|SYSTEM!SIZE!PANEL!CODE!|2|1|55|0|" numbered from 02 (attribute_record.h).
//
// All three operations need the palette (PaletteAccessInstance) and print their errors on the
// command line with acutPrintf. They open nothing that they leave open.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <dbid.h>

// The size text of a row for conduit choice `choice` (0 none, 1 indoors, 2 outdoors,
// 3 underground): the wire size (field 3) alone, or, when `choice` is 1 to 3 and field
// 3 + choice is not empty, the wire size, one blank and that conduit size. A row with fewer
// fields than needed counts its missing fields as empty.
CString RowSizeText(const CStringArray& row, int choice);

// Writes the palette rows `rows` (row indices, in order) to element `id`: earlier "PX" records
// are removed, the first row sets the four "S" values, the second becomes PX02, the third PX03
// and so on. The list is written back after each row, so a failure keeps the rows written
// before it. On success the element also gets back the colour that the settings check saved
// (RestoreElementColour). An empty `rows` writes nothing back (the "PX" records stay) and
// only gives the colour back.
// Failures, each printed, result false:
//   no "RQ_ATTR" list                  "\nERROR:複数配線属性が設定取得出来ません。"
//   the palette is gone                "\nERROR:設定画面が見つかりません。"
//   the palette cannot give a row      "\nERROR:設定ﾃﾞｰﾀが取得出来ません。"
//   the drawing refuses the list       "\nERROR:複数配線属性が設定出来ません。"
//                                      (the element's XData would pass 16 KiB, or it cannot be
//                                      opened for write)
bool WriteRows(AcDbObjectId id, const CUIntArray& rows);

// Writes one palette row to element `id` during an automatic run. The element's run marker
// "RQPX_AUTOFLAG" tells the first write of the run (marker absent or 0: the "PX" records are
// removed and the row sets the four "S" values) from a later one (the row is appended as the
// next "PX" record, NextWireIndex). Afterwards the marker is one more than the index written
// (1 after the "S" values, 3 after PX02) and the saved colour is given back.
// Failures as for WriteRows (the palette is checked first), result false; the marker is then
// left as it was.
bool WriteRowAuto(AcDbObjectId id, int row);

// Fills `lines` (emptied first) with one note line per wire of element `id`, each three parts
// each followed by "!": "S004!S002!NAME!" for the first wire, where NAME is the construction
// item name of the code in "S501" (PaletteAccess::ConstructionItemName, "不明" for an unknown code;
// empty when there is no "S501" record), then "SYSTEM!SIZE!NAME!" for every "PX" record in list
// order. A "PX" record whose value splits at "!" into fewer than four parts is skipped; the
// parts are trimmed of blanks, and the code is cut before its first "," unless that comma is
// its first character. Missing "S" records read as empty text.
// Result false (with `lines` empty) when the element has no "RQ_ATTR" list or there is no
// palette; prints nothing.
bool ReadWiringLines(AcDbObjectId id, CStringArray& lines);
