// Filling the palette's drop-down lists from the master lists.
#include "project/list_fill.h"

namespace {

CString TextOf(const CComboBox& box) {
  CString text;
  box.GetWindowText(text);
  return text;
}

// Empties the box's list and gives it an empty item followed by `entries`; then selects the text
// the box showed before, adding it at the end when the list lacks it. Windows compares the text
// as CB_FINDSTRINGEXACT does (whole text, letter case ignored), as the user's lists always were.
void Refill(CComboBox& box, const CStringArray& entries) {
  const CString shown = TextOf(box);
  box.ResetContent();
  box.AddString(L"");
  for (INT_PTR i = 0; i < entries.GetSize(); ++i) box.AddString(entries[i]);
  if (shown.IsEmpty()) {
    box.SetCurSel(0);
    return;
  }
  int at = box.FindStringExact(-1, shown);
  if (at == CB_ERR) at = box.AddString(shown);
  box.SetCurSel(at);
}

}  // namespace

void FillConstructionItemBoxes(const ConstructionItems& items, int type, ComboBoxes boxes) {
  const CStringArray& names = items.NamesShownFor(type);
  if (names.GetSize() == 0) return;
  for (CComboBox* box : boxes) {
    if (box) Refill(*box, names);
  }
}

bool LoadConduitSizeBoxes(const CString& folder, int type, ComboBoxes boxes) {
  CStringArray sizes;
  if (!ReadConduitSizes(folder, type, sizes)) return false;
  for (CComboBox* box : boxes) {
    if (box) Refill(*box, sizes);
  }
  return true;
}

bool LoadSystemNumberBoxes(const CString& folder, ComboBoxes boxes) {
  CStringArray numbers;
  if (!ReadSystemNumbers(folder, numbers)) return false;
  for (CComboBox* box : boxes) {
    if (!box) continue;
    for (INT_PTR i = 0; i < numbers.GetSize(); ++i) box->AddString(numbers[i]);
  }
  return true;
}

bool LoadPanelNameBoxes(const CString& folder, const CStringArray& partNumbers, ComboBoxes boxes) {
  CStringArray names;
  if (!ReadPanelNames(folder, names)) return false;
  for (CComboBox* box : boxes) {
    if (!box) continue;
    // The drawing's part numbers come first and as found: they are what the user is placing.
    for (INT_PTR i = 0; i < partNumbers.GetSize(); ++i) box->AddString(partNumbers[i]);
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
      if (box->FindStringExact(-1, names[i]) == CB_ERR) box->AddString(names[i]);
    }
  }
  return true;
}
