// CInsDataDlg: rows of a pattern of any project, chosen for the palette to insert.
#include "dialogs/pattern_import_dialog.h"

#include <windows.h>

#include <iterator>

#include "app/harnex_module.h"
#include "project/pattern_rows.h"
#include "project/project_file.h"
#include "resources/resource.h"

namespace {

constexpr wchar_t kProjectSection[] = L"PROJECT";
// Values are read with a buffer of this many characters (the last one holds the terminator).
constexpr DWORD kValueBuffer = 260;

// Where the list lies in the dialog's client area, in pixels, and its columns.
const RECT kListRect = {10, 10, 740, 186};
struct Column {
  LPCWSTR heading;
  int format;
  int width;
};
constexpr Column kColumns[] = {{L"工事項目", LVCFMT_LEFT, 138},    {L"系統番号", LVCFMT_LEFT, 70},
                               {L"盤/負荷名称", LVCFMT_LEFT, 120}, {L"配線ｻｲｽﾞ", LVCFMT_LEFT, 100},
                               {L"屋内", LVCFMT_LEFT, 60},         {L"屋外", LVCFMT_LEFT, 60},
                               {L"ﾗｯｸ上", LVCFMT_CENTER, 44},      {L"備考", LVCFMT_LEFT, 116}};
constexpr int kRemarksColumn = 7;

// The keys of a row's eight columns, in the order of the list's columns and of ImportedColumn:
// KOUJI construction item, KEITOU system number, BAN panel or load name, HSIZE1 wire size, HSIZE2
// and HSIZE3 conduit sizes indoors and outdoors, ONRACK on a cable rack, MEMO remarks.
constexpr LPCWSTR kRowKeys[kImportedColumns] = {L"KOUJI-%03d",  L"KEITOU-%03d", L"BAN-%03d",
                                                L"HSIZE1-%03d", L"HSIZE2-%03d", L"HSIZE3-%03d",
                                                L"ONRACK-%03d", L"MEMO-%03d"};
static_assert(std::size(kColumns) == kImportedColumns);

CString ReadValue(const CString& file, LPCWSTR section, LPCWSTR key) {
  wchar_t value[kValueBuffer] = {};
  GetPrivateProfileStringW(section, key, L"", value, kValueBuffer, file);
  return value;
}

// "PATTERN-%03d" of number n: the key in section PROJECT and the section of that pattern.
CString PatternKey(int n) {
  CString key;
  key.Format(L"PATTERN-%03d", n);
  return key;
}

// The project's name: its file name before the last ".".
CString ProjectNameOf(const CString& fileName) {
  const int dot = fileName.ReverseFind(L'.');
  return dot < 0 ? fileName : fileName.Left(dot);
}

}  // namespace

BEGIN_MESSAGE_MAP(CInsDataDlg, CAcUiDialog)
ON_CBN_SELCHANGE(IDC_IMPORT_PROJECT, &CInsDataDlg::OnProjectChanged)
ON_CBN_SELCHANGE(IDC_IMPORT_PATTERN, &CInsDataDlg::OnPatternChanged)
END_MESSAGE_MAP()

CInsDataDlg::CInsDataDlg(CWnd* palette)
    : CAcUiDialog(IDD_IMPORT_ROWS, palette), palette_(palette) {}

const CStringArray* CInsDataDlg::GetRow(INT_PTR index) const {
  if (index < 0 || index >= rows_.GetSize()) return nullptr;
  return static_cast<const CStringArray*>(rows_[index]);
}

void CInsDataDlg::ClearRows() {
  for (INT_PTR i = 0; i < rows_.GetSize(); ++i) delete static_cast<CStringArray*>(rows_[i]);
  rows_.RemoveAll();
}

void CInsDataDlg::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_IMPORT_PROJECT, projectBox_);
  DDX_Control(pDX, IDC_IMPORT_PATTERN, patternBox_);
}

BOOL CInsDataDlg::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  CreateList();
  projectFolder_ = ProjectFolderFromConfig(ConfigIniPath);
  FillProjects();
  if (projectBox_.GetCount() > 0) {
    projectBox_.SetCurSel(0);
    OnProjectChanged();
  }
  CenterOnPalette();
  return TRUE;
}

void CInsDataDlg::CreateList() {
  list_.CreateEx(WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE,
                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, kListRect,
                 this, IDC_IMPORT_LIST);
  list_.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    list_.InsertColumn(i, kColumns[i].heading, kColumns[i].format, kColumns[i].width, -1);
  }
  // The remarks column's width is set once more when every column stands.
  list_.SetColumnWidth(kRemarksColumn, kColumns[kRemarksColumn].width);
}

void CInsDataDlg::FillProjects() {
  projectBox_.ResetContent();
  // Without a system folder there is no project folder; "\*.tpr" would search elsewhere.
  if (projectFolder_.IsEmpty()) return;
  CString pattern;
  pattern.Format(L"%s\\*.tpr", projectFolder_.GetString());
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    projectBox_.AddString(ProjectNameOf(found.cFileName));
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// Half the difference of the sizes, each half truncated on its own, as the name dialog centres.
void CInsDataDlg::CenterOnPalette() {
  if (palette_ == nullptr || palette_->GetSafeHwnd() == nullptr) return;
  CRect palette, own;
  palette_->GetWindowRect(&palette);
  GetWindowRect(&own);
  const int left = palette.left + palette.Width() / 2 - own.Width() / 2;
  const int top = palette.top + palette.Height() / 2 - own.Height() / 2;
  SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

CString CInsDataDlg::ProjectPath(const CString& name) const {
  CString path;
  path.Format(L"%s\\%s.tpr", projectFolder_.GetString(), name.GetString());
  return path;
}

bool CInsDataDlg::SelectedText(const CComboBox& box, CString& text) {
  const int item = box.GetCurSel();
  if (item == CB_ERR) return false;
  box.GetLBText(item, text);
  return true;
}

void CInsDataDlg::OnProjectChanged() {
  CString project;
  if (!SelectedText(projectBox_, project) || project.IsEmpty()) return;
  patternBox_.ResetContent();
  const CString file = ProjectPath(project);
  for (int n = 1;; ++n) {
    const CString name = ReadValue(file, kProjectSection, PatternKey(n));
    if (name.IsEmpty()) break;
    patternBox_.AddString(name);
  }
  if (patternBox_.GetCount() == 0) {
    // The pattern shown before is no longer chosen: its rows must not be handed over.
    list_.DeleteAllItems();
    return;
  }
  patternBox_.SetCurSel(0);
  OnPatternChanged();
}

void CInsDataDlg::OnPatternChanged() {
  CString project, pattern;
  if (!SelectedText(projectBox_, project) || !SelectedText(patternBox_, pattern)) return;
  list_.DeleteAllItems();
  const CString file = ProjectPath(project);
  for (int n = 1;; ++n) {
    const CString key = PatternKey(n);
    const CString name = ReadValue(file, kProjectSection, key);
    if (name.IsEmpty()) return;
    if (name == pattern) {
      ListRows(file, key);
      return;
    }
  }
}

void CInsDataDlg::ListRows(const CString& file, const CString& section) {
  for (int r = 1;; ++r) {
    CString values[kImportedColumns];
    bool allEmpty = true;
    for (int column = 0; column < kImportedColumns; ++column) {
      CString key;
      key.Format(kRowKeys[column], r);
      values[column] = ReadValue(file, section, key);
      if (!values[column].IsEmpty()) allEmpty = false;
    }
    if (allEmpty) return;
    values[kImportedOnRack] = _wtoi(values[kImportedOnRack]) == 1 ? kOnRackMark : L"";
    const int row = list_.AddItem(r - 1, 0, values[0], 0, -1);
    for (int column = 1; column < kImportedColumns; ++column) {
      list_.AddItem(row, column, values[column], 0, -1);
    }
  }
}

void CInsDataDlg::OnOK() {
  CUIntArray taken;
  if (!list_.GetSelected(taken)) {
    for (int row = 0; row < list_.GetItemCount(); ++row) taken.Add(row);
  }
  for (INT_PTR i = 0; i < taken.GetSize(); ++i) {
    auto* values = new CStringArray;
    for (int column = 0; column < kImportedColumns; ++column) {
      values->Add(list_.GetItemText(static_cast<int>(taken[i]), column));
    }
    rows_.Add(values);
  }
  CAcUiDialog::OnOK();
}
