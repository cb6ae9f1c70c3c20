// Row operations on one pattern: inserting, deleting, swapping and compacting rows, checking the
// leading rows, and copying the rows that a system-number search finds.
//
// These are the model half of the palette's row area (pattern_editor.h holds the window half).
// Every operation moves a row whole: its nine values and its check flag travel together, so a
// row that holds nothing but an underground conduit size or a checked on-rack box moves like any
// other and is never taken for blank (PatternData::IsRowEmpty is the one test of emptiness).
// Row indices are 0 to kPatternRows - 1; an index out of range makes an operation do nothing and
// return false.
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include "project/pattern_data.h"

// Inserts an empty, unchecked row at `row`. The rows from `row` down to the last non-empty row at
// or after it move one place down, from the bottom up; rows after that one stay where they are.
// False, and nothing changed, when the last row (99) is not empty.
bool InsertBlankRow(PatternData& pattern, int row);

// Removes `row`: every row below it moves one place up, and the last row becomes empty and
// unchecked.
bool DeleteRow(PatternData& pattern, int row);

// Swaps two rows (values and check flags).
bool SwapRows(PatternData& pattern, int a, int b);

// Moves every non-empty row, in order, to the lowest row not yet filled, so that rows 0 to k - 1
// hold the k non-empty rows and rows k to 99 are empty and unchecked. Returns how many rows
// changed their place (0 when the non-empty rows already stood together at the top).
int CompactRows(PatternData& pattern);

// The number of rows before the first empty one: the rows that "select all", the search and the
// drawing commands walk.
int LeadingRows(const PatternData& pattern);

// True when at least one row is checked and not empty.
bool AnyRowChecked(const PatternData& pattern);

// Fills `found` from row 0 with copies (nine values, unchecked) of the leading rows of `pattern`
// whose system number, in upper case, contains `key`. `key` is compared as given, so the caller
// passes it in upper case; an empty key matches every leading row. Rows of `found` after the
// copies are left as they were. Returns the number of rows copied.
int CopyMatchingRows(const PatternData& pattern, const CString& key, PatternData& found);

// The eight strings of one imported row, in the order the import dialog hands them over; the
// romanised names are those of PatternColumn.
enum ImportedColumn {
  kImportedKouji,   // kouji: construction item
  kImportedKeitou,  // keitou: system number
  kImportedBan,     // ban: panel or load name
  kImportedHsize1,  // wire size
  kImportedHsize2,  // conduit size indoors
  kImportedHsize3,  // conduit size outdoors
  kImportedOnRack,  // "○" for a row on a cable rack
  kImportedMemo,
  kImportedColumns
};

// The on-rack text of imported rows and of the rows the palette hands to the drawing commands.
inline constexpr wchar_t kOnRackMark[] = L"○";

// Sets row `row` from an imported row: seven strings into their columns, the on-rack flag 1 when
// the on-rack string is exactly "○" (else 0), the underground conduit size empty and the row
// unchecked. Missing strings count as empty.
bool SetImportedRow(PatternData& pattern, int row, const CStringArray& values);

// Appends the nine strings of row `row` (0 to 99) to `values` in the palette's column order:
// `item` in place of the construction item (its name or its code, as the caller needs), system
// number, panel/load name, wire size, the three conduit sizes, the on-rack text ("○" when the
// row is on a rack, else empty) and the remarks. The palette hands rows to the drawing commands
// this way, and the pattern report writes them so.
void AppendRowStrings(const PatternData& pattern, int row, const CString& item,
                      CStringArray& values);
