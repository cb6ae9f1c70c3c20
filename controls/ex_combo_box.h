// CExComboBox: a combo box whose drop-down list opens as wide as its widest item, so that no
// item is cut off. The wire size detail dialog's three boxes are of this kind.
//
// On CBN_DROPDOWN (reflected, so the parent does not see it) the dropped width becomes the widest
// item's text extent in the box's own font plus a vertical scroll bar (SM_CXVSCROLL), plus the
// extent of "0" and 3 pixels. Windows never drops a list narrower than the box itself, so a box
// whose items are all narrower drops at its own width.
#pragma once

#include <afxwin.h>

// The widening above, for any combo box; CXTipComboBox uses it too.
void WidenDropDown(CComboBox& box);

class CExComboBox : public CComboBox {
 protected:
  afx_msg void OnDropDown();
  DECLARE_MESSAGE_MAP()
};
