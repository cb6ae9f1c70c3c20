// Filling the palette's drop-down lists from the master lists: construction items, conduit sizes,
// system numbers and panel and load names. The operations work on the combo boxes they are given,
// so that they do not depend on the palette that owns them.
//
// A box that is refilled keeps the text it showed: when the new list lacks it, it is added at the
// end and selected. A list file that cannot be read leaves every box as it was, without a message.
#pragma once

#include <windows.h>

#include <afx.h>
#include <afxcoll.h>
#include <afxwin.h>

#include <span>

#include "project/master_lists.h"

// The boxes of one column of the palette's row area, top row first. Null entries are passed over.
using ComboBoxes = std::span<CComboBox* const>;

// Refills the construction-item boxes for a pattern type with items.NamesShownFor(type): each box
// gets an empty item, then the names in order, then its former text when that is not empty and
// not in the list (CB_FINDSTRINGEXACT); the item equal to its former text is selected (the empty
// item when the text was empty). When the list is empty, the boxes are left as they are.
void FillConstructionItemBoxes(const ConstructionItems& items, int type, ComboBoxes boxes);

// Reads the conduit sizes of a type's "管路材サイズ.dat" below `folder` and refills the
// conduit-size boxes: an empty item, then the display strings in file order; a box's former text,
// when not empty, is selected, added first when the list lacks it; else the empty item. False,
// and no box touched, when the file cannot be read.
bool LoadConduitSizeBoxes(const CString& folder, int type, ComboBoxes boxes);

// Appends the non-empty lines of "系統番号.dat" to every system-number box, in file order, with
// no empty item and no duplicate check. False, and no box touched, when the file cannot be read.
bool LoadSystemNumberBoxes(const CString& folder, ComboBoxes boxes);

// Appends to every panel and load name box first `partNumbers` (the part numbers of the drawing,
// in the order found), then each non-empty line of "盤・負荷名称.dat" that the box does not hold
// yet (CB_FINDSTRINGEXACT). When the file cannot be read nothing is added at all, not even the
// part numbers, and the result is false. The caller collects the part numbers before the file is
// read (the palette with CollectPartNumbers, which shows its own progress meter).
bool LoadPanelNameBoxes(const CString& folder, const CStringArray& partNumbers, ComboBoxes boxes);
