// CListCtrlEx: the list view with the maker's row helpers.
#pragma once

#include <afxcmn.h>
#include <afxcoll.h>

class CListCtrlEx : public CListCtrl {
 public:
  CListCtrlEx() = default;

  // Adds column `column` (CListCtrl::InsertColumn). Result: its index, -1 on failure.
  int InsertColumn(int column, LPCTSTR heading, int format = LVCFMT_LEFT, int width = -1,
                   int subItem = -1);

  // With `subItem` 0 inserts a new row at `row` with `text` in column 0, item data `data` and
  // image `image` (-1: none) and returns its index; with another sub-item sets that column's
  // text of row `row` and returns `row`. -1 on failure.
  int AddItem(int row, int subItem, LPCTSTR text, DWORD_PTR data = 0, int image = -1);

  // Fills `rows` (emptied first) with the indices of the selected rows in ascending order.
  // Non-zero when at least one row is selected.
  BOOL GetSelected(CUIntArray& rows) const;
};
