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
      palette_(palette),
      edit_(edit),
      row_(row),
      wiringType_(wiringType) {}

BOOL CDetailDlg::Create() {
  return CAcUiDialog::Create(IDD_SIZE_DETAIL, palette_);
}

void CDetailDlg::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_DETAIL_EARTH, earthBox_);
  DDX_Control(pDX, IDC_DETAIL_SIZE, sizeBox_);
  DDX_Control(pDX, IDC_DETAIL_GROUP, groupBox_);
}

CString CDetailDlg::ListPath(LPCWSTR file) const {
  if (listFolder_.IsEmpty()) return CString();
  return listFolder_ + L"\\" + file;
}

BOOL CDetailDlg::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  const CString folder = DetailMasterListFolder(ConfigIniPath);
  if (!folder.IsEmpty()) {
    listFolder_ = folder + L"\\" + TypeFolderName(wiringType_ == 0 ? 0 : 1);
  }

  FillFirstFields(earthBox_, kEarthSizesFileName);
  FillFirstFields(groupBox_, kWireSizesFileName);

  if (edit_ != nullptr && edit_->GetSafeHwnd() != nullptr) {
    PlaceBelowEdit();
    edit_->GetWindowText(initialText_);
  }

  // Each step works on what the step before left over, so a text that matches no group keeps
  // every box on its first entry.
  CString rest;
  if (!initialText_.IsEmpty()) rest = SelectLongestPrefix(groupBox_, initialText_);
  FillSizes();
  if (!rest.IsEmpty()) rest = SelectLongestPrefix(sizeBox_, rest);
  if (!rest.IsEmpty()) SelectLongestPrefix(earthBox_, rest);
  return TRUE;
}

void CDetailDlg::PlaceBelowEdit() {
  CRect edit;
  edit_->GetClientRect(&edit);
  edit_->ClientToScreen(&edit);
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
  const int chosen = groupBox_.GetCurSel();
  if (chosen < 0) return;
  CString group;
  groupBox_.GetLBText(chosen, group);
  CPtrArray records;
  if (!ReadRecords(ListPath(kWireSizesFileName), records)) return;
  sizeBox_.ResetContent();
  sizeBox_.SetCurSel(-1);
  for (INT_PTR i = 0; i < records.GetSize(); ++i) {
    const CStringArray& record = RecordAt(records, i);
    if (record.GetSize() > 1 && record[0] == group) sizeBox_.AddString(record[1]);
  }
  VuRida_RemoveAllFree(records);
  sizeBox_.SetCurSel(0);
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
  groupBox_.GetWindowText(group);
  sizeBox_.GetWindowText(size);
  earthBox_.GetWindowText(earth);
  result_ = group + size;
  if (!earth.IsEmpty() && earth != kNoEarth) result_ += L" " + earth;
  // Posted, not sent: the palette destroys this window, which must not happen inside OnOK.
  palette_->PostMessage(kSizeDetailChosen, reinterpret_cast<WPARAM>(&result_),
                        static_cast<LPARAM>(row_));
  CAcUiDialog::OnOK();
}

void CDetailDlg::OnCancel() {
  palette_->PostMessage(kSizeDetailCancelled, 0, static_cast<LPARAM>(row_));
  CAcUiDialog::OnCancel();
}
