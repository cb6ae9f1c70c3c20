// CListCtrlEx: the list view with the maker's row helpers.
//
// Columns are added with the list view's own InsertColumn (column, heading, format, width,
// sub-item -1).
#pragma once

#include <afxcmn.h>
#include <afxcoll.h>

class CListCtrlEx : public CListCtrl {
 public:
  CListCtrlEx() = default;

  // With `subItem` 0 inserts a new row at `row` (past the end: appended) with `text` in column
  // 0 and item data `data`, and returns its index; with another sub-item sets that column's text
  // of row `row` and returns `row`. -1 on failure (a bad row or column). `image` is accepted for
  // the maker's callers, which pass -1 (no image); the list has no image list.
  int AddItem(int row, int subItem, LPCTSTR text, DWORD_PTR data = 0, int image = -1);

  // Fills `rows` (emptied first) with the indices of the selected rows in ascending order.
  // Non-zero when at least one row is selected.
  BOOL GetSelected(CUIntArray& rows) const;
};
