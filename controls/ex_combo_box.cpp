// CExComboBox: the drop-down list widened to its widest item.
#include "controls/ex_combo_box.h"

#include <windows.h>

#include <algorithm>

void WidenDropDown(CComboBox& box) {
  CClientDC dc(&box);
  const int saved = dc.SaveDC();
  dc.SelectObject(box.GetFont());
  const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
  int widest = 0;
  for (int i = 0; i < box.GetCount(); ++i) {
    CString text;
    box.GetLBText(i, text);
    widest = std::max(widest, static_cast<int>(dc.GetTextExtent(text).cx) + scrollBar);
  }
  // One character more and a few pixels keep the longest text off the list's edge.
  box.SetDroppedWidth(widest + dc.GetTextExtent(L"0", 1).cx + 3);
  dc.RestoreDC(saved);
}

BEGIN_MESSAGE_MAP(CExComboBox, CComboBox)
ON_CONTROL_REFLECT(CBN_DROPDOWN, &CExComboBox::OnDropDown)
END_MESSAGE_MAP()

void CExComboBox::OnDropDown() {
  WidenDropDown(*this);
}
