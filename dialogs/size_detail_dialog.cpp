// CDetailDlg: a wire size composed from group, size and earth size.
#include "dialogs/size_detail_dialog.h"

#include <windows.h>

#include <VuRida.h>
#include <adui.h>

#include "app/harnex_module.h"
#include "project/master_lists.h"
#include "resources/resource.h"

namespace {

// The earth entry that means "no earth conductor".
constexpr wchar_t kNoEarth[] = L"-";

// Reads the records of a size list; false when the file cannot be read (nothing to release).
bool ReadRecords(const CString& path, CPtrArray& records) {
  if (path.IsEmpty()) return false;
  return VuRida_ReadConfigFile(path, records, 0, nullptr, L"|", 0) == 0;
}

const CStringArray& RecordAt(const CPtrArray& records, INT_PTR i) {
  return *static_cast<const CStringArray*>(records[i]);
}

}  // namespace

BEGIN_MESSAGE_MAP(CDetailDlg, CAcUiDialog)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CDetailDlg::OnAcadKeepFocus)
ON_CBN_SELCHANGE(IDC_DETAIL_GROUP, &CDetailDlg::OnGroupChanged)
END_MESSAGE_MAP()

CDetailDlg::CDetailDlg(UINT wiringType, UINT row, CWnd* edit, CWnd* palette)
    : CAcUiDialog(IDD_SIZE_DETAIL, palette),
      m_palette(palette),
      m_edit(edit),
      m_row(row),
      m_wiringType(wiringType) {}

BOOL CDetailDlg::Create() {
  return CAcUiDialog::Create(IDD_SIZE_DETAIL, m_palette);
}

void CDetailDlg::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_DETAIL_EARTH, m_earthBox);
  DDX_Control(pDX, IDC_DETAIL_SIZE, m_sizeBox);
  DDX_Control(pDX, IDC_DETAIL_GROUP, m_groupBox);
}

CString CDetailDlg::ListPath(LPCWSTR file) const {
  if (m_listFolder.IsEmpty()) return CString();
  return m_listFolder + L"\\" + file;
}

BOOL CDetailDlg::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  const CString folder = DetailMasterListFolder(ConfigIniPath);
  if (!folder.IsEmpty()) {
    m_listFolder = folder + L"\\" + TypeFolderName(m_wiringType == 0 ? 0 : 1);
  }

  FillFirstFields(m_earthBox, kEarthSizesFileName);
  FillFirstFields(m_groupBox, kWireSizesFileName);

  if (m_edit != nullptr && m_edit->GetSafeHwnd() != nullptr) {
    PlaceBelowEdit();
    m_edit->GetWindowText(m_initialText);
  }

  // Each step works on what the step before left over, so a text that matches no group keeps
  // every box on its first entry.
  CString rest;
  if (!m_initialText.IsEmpty()) rest = SelectLongestPrefix(m_groupBox, m_initialText);
  FillSizes();
  if (!rest.IsEmpty()) rest = SelectLongestPrefix(m_sizeBox, rest);
  if (!rest.IsEmpty()) SelectLongestPrefix(m_earthBox, rest);
  return TRUE;
}

void CDetailDlg::PlaceBelowEdit() {
  CRect edit;
  m_edit->GetClientRect(&edit);
  m_edit->ClientToScreen(&edit);
  SetWindowPos(&wndTop, edit.left - 2, edit.bottom + 3, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void CDetailDlg::FillFirstFields(CComboBox& box, LPCWSTR file) {
  CPtrArray records;
  if (!ReadRecords(ListPath(file), records)) return;
  CString previous;
  for (INT_PTR i = 0; i < records.GetSize(); ++i) {
    const CStringArray& record = RecordAt(records, i);
    if (record.GetSize() == 0) continue;  // no field: nothing to show, the run goes on
    if (record[0] == previous) continue;
    previous = record[0];
    box.AddString(previous);
  }
  VuRida_RemoveAllFree(records);
  box.SetCurSel(0);
}

void CDetailDlg::FillSizes() {
  const int chosen = m_groupBox.GetCurSel();
  if (chosen < 0) return;
  CString group;
  m_groupBox.GetLBText(chosen, group);
  CPtrArray records;
  if (!ReadRecords(ListPath(kWireSizesFileName), records)) return;
  m_sizeBox.ResetContent();
  m_sizeBox.SetCurSel(-1);
  for (INT_PTR i = 0; i < records.GetSize(); ++i) {
    const CStringArray& record = RecordAt(records, i);
    if (record.GetSize() > 1 && record[0] == group) m_sizeBox.AddString(record[1]);
  }
  VuRida_RemoveAllFree(records);
  m_sizeBox.SetCurSel(0);
}

CString CDetailDlg::SelectLongestPrefix(CComboBox& box, const CString& text) {
  int best = -1;
  int bestLength = -1;
  for (int i = 0; i < box.GetCount(); ++i) {
    CString entry;
    box.GetLBText(i, entry);
    // Strictly longer only: of two entries of one length the first in the box wins.
    if (entry.GetLength() > bestLength && text.Left(entry.GetLength()) == entry) {
      best = i;
      bestLength = entry.GetLength();
    }
  }
  if (best < 0) return CString();
  box.SetCurSel(best);
  CString rest = text.Mid(bestLength);
  rest.TrimLeft();
  return rest;
}

void CDetailDlg::OnGroupChanged() {
  FillSizes();
}

LRESULT CDetailDlg::OnAcadKeepFocus(WPARAM, LPARAM) {
  return TRUE;
}

void CDetailDlg::OnOK() {
  CString group, size, earth;
  m_groupBox.GetWindowText(group);
  m_sizeBox.GetWindowText(size);
  m_earthBox.GetWindowText(earth);
  m_result = group + size;
  if (!earth.IsEmpty() && earth != kNoEarth) m_result += L" " + earth;
  // Posted, not sent: the palette destroys this window, which must not happen inside OnOK.
  m_palette->PostMessage(kSizeDetailChosen, reinterpret_cast<WPARAM>(&m_result),
                         static_cast<LPARAM>(m_row));
  CAcUiDialog::OnOK();
}

void CDetailDlg::OnCancel() {
  m_palette->PostMessage(kSizeDetailCancelled, 0, static_cast<LPARAM>(m_row));
  CAcUiDialog::OnCancel();
}
