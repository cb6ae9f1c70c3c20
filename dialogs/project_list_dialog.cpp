// CProjList: the project files of the project folder, listed, sorted, copied, deleted and chosen.
#include "dialogs/project_list_dialog.h"

#include <adui.h>

#include <algorithm>
#include <vector>

#include "app/harnex_module.h"
#include "dialogs/harnex_resource_scope.h"
#include "project/project_file.h"
#include "resources/resource.h"

namespace {

constexpr wchar_t kProjectSection[] = L"PROJECT";
constexpr wchar_t kCreateDateKey[] = L"CREATEDATE";
constexpr wchar_t kUpdateDateKey[] = L"UPDATEDATE";

// Where the list lies in the dialog's client area, in pixels, and its columns.
const RECT kListRect = {10, 30, 446, 382};
struct Column {
  LPCWSTR heading;
  int width;
};
constexpr Column kColumns[] = {{L"プロジェクト名", 190}, {L"作成日付", 118}, {L"更新日付", 118}};

// The comparison of a sort receives only two rows' item data and the direction, so the list and
// the column travel beside it. Set just before each sort and read only during it.
HWND SortedList = nullptr;
int SortedColumn = 0;

// A row's text in the sorted column, as a 256-character buffer would hold it.
CString SortText(const CListCtrl& list, LPARAM row) {
  return list.GetItemText(static_cast<int>(row), SortedColumn).Left(255);
}

int CALLBACK CompareRows(LPARAM row1, LPARAM row2, LPARAM descending) {
  auto* list = static_cast<CListCtrl*>(CWnd::FromHandle(SortedList));
  if (list == nullptr) return 0;
  const int order = SortText(*list, row1).Compare(SortText(*list, row2));
  return descending ? -order : order;
}

// The project's name: its file name before the last ".".
CString ProjectNameOf(const CString& fileName) {
  const int dot = fileName.ReverseFind(L'.');
  return dot < 0 ? fileName : fileName.Left(dot);
}

CString ReadDate(const CString& file, LPCWSTR key) {
  wchar_t value[128] = {};
  GetPrivateProfileStringW(kProjectSection, key, L"", value, 128, file);
  return value;
}

bool FileExists(const CString& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(path, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

void ShowCopyFailure(DWORD error) {
  CString text;
  text.Format(L"プロジェクトのコピーに失敗しました(コード = %d)", static_cast<int>(error));
  AfxMessageBox(text, MB_ICONSTOP | MB_OK);
}

}  // namespace

BEGIN_MESSAGE_MAP(CProjList, CAcUiDialog)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CProjList::OnAcadKeepFocus)
ON_MESSAGE(kProjectListChooseMessage, &CProjList::OnChooseMessage)
ON_NOTIFY(LVN_COLUMNCLICK, IDC_LIST_PROJECTS, &CProjList::OnColumnClick)
ON_BN_CLICKED(IDC_LIST_DELETE, &CProjList::OnDelete)
ON_BN_CLICKED(IDC_LIST_COPY, &CProjList::OnCopy)
END_MESSAGE_MAP()

CProjList::CProjList(const CString& currentProject, CWnd* parent)
    : CAcUiDialog(IDD_PROJECT_LIST, parent), currentProject_(currentProject) {}

void CProjList::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
}

BOOL CProjList::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  CreateList();
  MoveToOwner();
  projectFolder_ = ProjectFolderFromConfig(ConfigIniPath);
  if (!FillList()) AfxMessageBox(L"プロジェクトは存在しません。", MB_OK);
  return TRUE;
}

void CProjList::CreateList() {
  list_.CreateEx(WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE,
                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, kListRect,
                 this, IDC_LIST_PROJECTS);
  list_.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    list_.InsertColumn(i, kColumns[i].heading, LVCFMT_CENTER, kColumns[i].width, -1);
  }
}

// The top-left corner goes to the owner's restored rectangle, so that the list opens over the
// palette's window even while that window is maximized.
void CProjList::MoveToOwner() {
  CWnd* owner = GetOwner();
  if (owner == nullptr || owner->GetSafeHwnd() == nullptr) return;
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  if (!owner->GetWindowPlacement(&placement)) return;
  SetWindowPos(nullptr, placement.rcNormalPosition.left, placement.rcNormalPosition.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
}

CString CProjList::ProjectPath(const CString& name) const {
  CString path;
  path.Format(L"%s\\%s.tpr", projectFolder_.GetString(), name.GetString());
  return path;
}

bool CProjList::FillList() {
  list_.DeleteAllItems();
  // Without a system folder there is no project folder; "\*.tpr" would search elsewhere.
  if (projectFolder_.IsEmpty()) return false;
  CString pattern;
  pattern.Format(L"%s\\*.tpr", projectFolder_.GetString());
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  int row = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    CString file;
    file.Format(L"%s\\%s", projectFolder_.GetString(), found.cFileName);
    list_.AddItem(row, 0, ProjectNameOf(found.cFileName), 0, -1);
    list_.AddItem(row, 1, ReadDate(file, kCreateDateKey), 0, -1);
    list_.AddItem(row, 2, ReadDate(file, kUpdateDateKey), 0, -1);
    ++row;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return row > 0;
}

LRESULT CProjList::OnAcadKeepFocus(WPARAM, LPARAM) {
  return TRUE;
}

LRESULT CProjList::OnChooseMessage(WPARAM, LPARAM) {
  OnOK();
  return 0;
}

void CProjList::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult) {
  const auto* click = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
  descending_ = !descending_;
  // The comparison finds a row's texts by its index before the sort.
  for (int row = 0; row < list_.GetItemCount(); ++row) list_.SetItemData(row, row);
  SortedList = list_.GetSafeHwnd();
  SortedColumn = click->iSubItem;
  list_.SortItems(&CompareRows, descending_);
  *pResult = 0;
}

void CProjList::OnOK() {
  CUIntArray selected;
  if (!list_.GetSelected(selected) || selected.GetSize() != 1) return;
  const int row = static_cast<int>(selected[0]);
  if (row >= list_.GetItemCount()) return;
  selectedProject_ = list_.GetItemText(row, 0);
  CAcUiDialog::OnOK();
}

void CProjList::OnCopy() {
  CUIntArray selected;
  if (!list_.GetSelected(selected) || selected.GetSize() != 1) return;
  const CString source = list_.GetItemText(static_cast<int>(selected[0]), 0);
  if (source.IsEmpty()) return;
  HarnexResourceScope resources;
  CNewProjDlg dialog(CNewProjDlg::kCopyProject, this);
  CString name;
  if (!AskCopyName(dialog, name)) return;
  if (!CopyFileW(ProjectPath(source), ProjectPath(name), TRUE)) {
    ShowCopyFailure(GetLastError());
    return;
  }
  // A copy has not been saved yet: only its creation date is its source's.
  WritePrivateProfileStringW(kProjectSection, kUpdateDateKey, L"", ProjectPath(name));
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, ProjectPath(name));
  FillList();
}

// A name that is not a single file name of the project folder ("..\x", "a\b", "*") would make
// the copy land elsewhere, or make the existence check match other projects: it fails as the
// copy would, with ERROR_INVALID_NAME, and ends the copy before any file is touched.
bool CProjList::AskCopyName(CNewProjDlg& dialog, CString& name) const {
  for (;;) {
    if (dialog.DoModal() != IDOK) return false;
    name = dialog.GetName();
    if (DWORD error = CheckProjectName(name)) {
      ShowCopyFailure(error);
      return false;
    }
    if (!FileExists(ProjectPath(name))) return true;
    AfxMessageBox(L"同名のプロジェクトが既に存在します。", MB_ICONSTOP | MB_OK);
  }
}

// Removing a row moves the rows below it up by one. The selection is processed from the top
// down, and each row's index is lowered by the number of rows already removed above it, so that
// every selected project, and only those, is the one whose file and row go.
void CProjList::OnDelete() {
  CUIntArray selected;
  if (!list_.GetSelected(selected)) return;
  if (AfxMessageBox(L"選択されたプロジェクトを削除してよろしいですか？",
                    MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return;
  }
  std::vector<int> rows;
  for (INT_PTR i = 0; i < selected.GetSize(); ++i) rows.push_back(static_cast<int>(selected[i]));
  std::sort(rows.begin(), rows.end());
  int removed = 0;
  for (int row : rows) {
    switch (DeleteRow(row - removed)) {
      case DeleteResult::kDeleted:
        ++removed;
        break;
      case DeleteResult::kKept:
        break;
      case DeleteResult::kStop:
        return;
    }
  }
}

CProjList::DeleteResult CProjList::DeleteRow(int row) {
  const CString name = list_.GetItemText(row, 0);
  if (name == currentProject_) {
    CString question;
    question.Format(L"[%s]は現在表示中のプロジェクトです。\n本当に削除しますか？",
                    name.GetString());
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return DeleteResult::kKept;
  }
  if (DeleteFileW(ProjectPath(name))) {
    list_.DeleteItem(row);
    return DeleteResult::kDeleted;
  }
  CString question;
  question.Format(L"ファイルの削除に失敗しました(%d)。処理を続けますか？",
                  static_cast<int>(GetLastError()));
  return AfxMessageBox(question, MB_YESNO | MB_ICONSTOP) == IDYES ? DeleteResult::kKept
                                                                  : DeleteResult::kStop;
}
