// VuRida.dll: CListCtrlEx, row insertion by sub-item and the selected rows.
#include <ListCtrlEx.h>

int CListCtrlEx::AddItem(int row, int subItem, LPCTSTR text, DWORD_PTR data, int /*image*/) {
  if (subItem == 0) {
    const int index = InsertItem(row, text ? text : L"");
    if (index < 0) return -1;
    SetItemData(index, data);
    return index;
  }
  return SetItemText(row, subItem, text ? text : L"") ? row : -1;
}

BOOL CListCtrlEx::GetSelected(CUIntArray& rows) const {
  rows.RemoveAll();
  for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED)) {
    rows.Add(static_cast<UINT>(row));
  }
  return rows.GetSize() > 0;
}
