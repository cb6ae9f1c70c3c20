// CMainDlg as PaletteAccess, what the drawing commands read from the palette: the rows of the
// current pattern, the checked rows, the note, conduit and type choices and the list table's
// sizes.
#include <VuRida.h>

#include <vector>

#include "app/harnex_module.h"
#include "attributes/run_marks.h"
#include "palette/main_dialog.h"
#include "project/pattern_rows.h"
#include "resources/resource.h"

namespace {

// Every pair is compared, so the order of the names does not matter.
bool SamePanels(const std::vector<CString>& wanted, const std::vector<CString>& row) {
  if (wanted.size() != row.size()) return false;
  size_t equal = 0;
  for (const CString& a : wanted) {
    for (const CString& b : row) {
      if (a.CompareNoCase(b) == 0) ++equal;
    }
  }
  return equal == wanted.size();
}

}  // namespace

const PaletteAccess* PaletteAccessInstance() {
  return PaletteInstance;
}

BOOL CMainDlg::GetAllRowData(CPtrArray& rows) const {
  VuRida_RemoveAllFree(rows);
  const PatternData* pattern = project_.Current();
  if (!pattern) return TRUE;
  for (int row = 0; row < kPatternRows && !pattern->IsRowEmpty(row); ++row) {
    auto* values = new CStringArray;
    AppendRowStrings(*pattern, row, pattern->kouji[row], *values);
    rows.Add(values);
  }
  return TRUE;
}

bool CMainDlg::GetRowData(int row, CStringArray& values) const {
  values.RemoveAll();
  const PatternData* pattern = project_.Current();
  if (static_cast<unsigned>(row) >= kPatternRows || !pattern) return false;
  AppendRowStrings(*pattern, row, items_.CodeOf(pattern->kouji[row], pattern->type), values);
  return true;
}

bool CMainDlg::FindCheckedRowByPanelName(const CString& text, int& row) const {
  const PatternData* pattern = project_.Current();
  if (!pattern) return false;
  const std::vector<CString> wanted = PanelListNames(text);
  for (int i = 0; i < kPatternRows && !pattern->IsRowEmpty(i); ++i) {
    if (!SamePanels(wanted, PanelListNames(pattern->ban[i]))) continue;
    if (!pattern->checked[i]) return false;
    row = i;
    return true;
  }
  return false;
}

int CMainDlg::GetCheckedRows(CUIntArray& rows) const {
  rows.RemoveAll();
  const PatternData* pattern = project_.Current();
  if (!pattern) return 0;
  for (int i = 0; i < kPatternRows; ++i) {
    if (pattern->checked[i] && !pattern->IsRowEmpty(i)) rows.Add(static_cast<UINT>(i));
  }
  return static_cast<int>(rows.GetSize());
}

void CMainDlg::GetListSettings(double* textHeight, double* textWidth, double* rowHeight,
                               double* leftMargin, double* rightMargin) const {
  *textHeight = listSettings_.textHeight;
  *textWidth = listSettings_.textWidth;
  *rowHeight = listSettings_.rowHeight;
  *leftMargin = listSettings_.leftMargin;
  *rightMargin = listSettings_.rightMargin;
}

void CMainDlg::GetNoteFlags(bool flags[3]) const {
  for (int i = 0; i < 3; ++i) flags[i] = IsDlgButtonChecked(IDC_NOTE_TRUNK_NO + i) == BST_CHECKED;
}

int CMainDlg::GetConduitChoice() const {
  if (IsDlgButtonChecked(IDC_CONDUIT_INDOOR) == BST_CHECKED) return kConduitIndoor;
  if (IsDlgButtonChecked(IDC_CONDUIT_OUTDOOR) == BST_CHECKED) return kConduitOutdoor;
  if (IsDlgButtonChecked(IDC_CONDUIT_BURIED) == BST_CHECKED) return kConduitUnderground;
  return kConduitNone;
}

CString CMainDlg::ConstructionItemName(CString& name, const CString& code) const {
  name = items_.NameOf(code);  // "不明" when neither list holds the code
  return name;
}

int CMainDlg::GetPatternType() const {
  return IsDlgButtonChecked(IDC_TYPE_TRUNK) == BST_CHECKED ? kPatternTypeTrunk
                                                           : kPatternTypeGeneral;
}
