// CMainDlg, the palette dialog: projects, the type and conduit choice, the row area's buttons
// and closing.
#include "palette/main_dialog.h"

#include <windows.h>

#include <PaletteDialog.h>
#include <acdocman.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "app/harnex_module.h"
#include "attributes/check_dialog.h"
#include "attributes/part_numbers.h"
#include "dialogs/harnex_resource_scope.h"
#include "dialogs/project_list_dialog.h"
#include "dialogs/project_name_dialog.h"
#include "dialogs/size_detail_dialog.h"
#include "project/last_project.h"
#include "project/list_fill.h"
#include "project/project_file.h"
#include "resources/resource.h"

namespace {

constexpr wchar_t kModifiedQuestion[] = L"データが変更されています。保存しますか？";
constexpr wchar_t kSaveCurrentQuestion[] = L"現在のプロジェクトを保存しますか？";
constexpr wchar_t kLoadFailed[] = L"プロジェクトの読込みに失敗しました。";
constexpr wchar_t kSaved[] = L"データが保存されました。";
constexpr wchar_t kOverwriteQuestion[] = L"同名のプロジェクトが存在します。上書きしますか？";

// Controls that are enabled only while the project has patterns, outside the ten control rows.
constexpr int kEnabledWithPatterns[] = {
    IDC_PROJECT_NEW,     IDC_PATTERN_BOX,  IDC_PATTERN_DELETE, IDC_PATTERN_IMPORT,
    IDC_PATTERN_SAVE_AS, IDC_PROJECT_SAVE, IDC_PAGE_PREVIOUS,  IDC_PAGE_NEXT,
    IDC_TYPE_TRUNK,      IDC_TYPE_GENERAL, IDC_ROW_UP,         IDC_ROW_DOWN,
    IDC_ROW_INSERT,      IDC_ROW_DELETE,   IDC_ROW_CHECK_ALL,  IDC_ROW_UNCHECK,
    IDC_SEARCH,          IDC_SEARCH_TEXT,  IDC_CHECK_SETTINGS, IDC_MANUAL_SET,
    IDC_AUTO_SET,        IDC_DRAW_NOTE,    IDC_NOTE_TRUNK_NO,  IDC_NOTE_WIRE_SIZE,
    IDC_NOTE_WORK_KIND,  IDC_DRAW_LIST};

// The first ids of the columns of the ten control rows.
constexpr int kRowColumns[] = {IDC_ROW_MARK,   IDC_ROW_CHECK,  IDC_ROW_KOUJI,  IDC_ROW_KEITOU,
                               IDC_ROW_BAN,    IDC_ROW_HSIZE1, IDC_ROW_HSIZE2, IDC_ROW_HSIZE3,
                               IDC_ROW_HSIZE4, IDC_ROW_ONRACK, IDC_ROW_MEMO};

int Ask(LPCWSTR question, UINT buttons) {
  return AfxMessageBox(question, buttons | MB_ICONQUESTION);
}

}  // namespace

BEGIN_MESSAGE_MAP(CMainDlg, CAcUiDialog)
ON_MESSAGE(WM_QUERYENDSESSION, &CMainDlg::OnQueryEndSession)
ON_BN_CLICKED(IDC_PROJECT_OPEN, &CMainDlg::OnOpenProject)
ON_BN_CLICKED(IDC_PROJECT_NEW, &CMainDlg::OnNewProject)
ON_CBN_SELCHANGE(IDC_PATTERN_BOX, &CMainDlg::OnPatternChosen)
ON_BN_CLICKED(IDC_PATTERN_NEW, &CMainDlg::OnNewPattern)
ON_BN_CLICKED(IDC_PATTERN_DELETE, &CMainDlg::OnDeletePattern)
ON_BN_CLICKED(IDC_PATTERN_SAVE_AS, &CMainDlg::OnSavePatternAs)
ON_BN_CLICKED(IDC_PATTERN_IMPORT, &CMainDlg::OnImportRows)
ON_BN_CLICKED(IDC_PROJECT_SAVE, &CMainDlg::OnSaveProject)
ON_BN_CLICKED(IDC_PAGE_PREVIOUS, &CMainDlg::OnPreviousPage)
ON_BN_CLICKED(IDC_PAGE_NEXT, &CMainDlg::OnNextPage)
ON_BN_CLICKED(IDC_TYPE_TRUNK, &CMainDlg::OnTypeTrunk)
ON_BN_CLICKED(IDC_TYPE_GENERAL, &CMainDlg::OnTypeGeneral)
ON_BN_CLICKED(IDC_CONDUIT_INDOOR, &CMainDlg::OnConduitIndoor)
ON_BN_CLICKED(IDC_CONDUIT_OUTDOOR, &CMainDlg::OnConduitOutdoor)
ON_BN_CLICKED(IDC_CONDUIT_BURIED, &CMainDlg::OnConduitBuried)
ON_BN_CLICKED(IDC_ROW_UP, &CMainDlg::OnRowUp)
ON_BN_CLICKED(IDC_ROW_DOWN, &CMainDlg::OnRowDown)
ON_BN_CLICKED(IDC_ROW_INSERT, &CMainDlg::OnRowInsert)
ON_BN_CLICKED(IDC_ROW_DELETE, &CMainDlg::OnRowDelete)
ON_BN_CLICKED(IDC_ROW_CHECK_ALL, &CMainDlg::OnCheckAll)
ON_BN_CLICKED(IDC_ROW_UNCHECK, &CMainDlg::OnUncheckAll)
ON_BN_CLICKED(IDC_SEARCH, &CMainDlg::OnSearch)
ON_BN_CLICKED(IDC_AUTO_SET, &CMainDlg::OnAutoSet)
ON_BN_CLICKED(IDC_MANUAL_SET, &CMainDlg::OnManualSet)
ON_BN_CLICKED(IDC_DRAW_NOTE, &CMainDlg::OnDrawNote)
ON_BN_CLICKED(IDC_DRAW_LIST, &CMainDlg::OnDrawList)
ON_BN_CLICKED(IDC_LIST_SETTINGS, &CMainDlg::OnListSettings)
ON_BN_CLICKED(IDC_CHECK_SETTINGS, &CMainDlg::OnCheckSettings)
ON_BN_CLICKED(IDC_EQUIPMENT_NO, &CMainDlg::OnEquipmentNumbers)
ON_BN_CLICKED(IDC_SPLIT_DUCT, &CMainDlg::OnSplitDuct)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CMainDlg::OnAcadKeepFocus)
ON_MESSAGE(kSizeDetailMessage, &CMainDlg::OnSizeDetailAsked)
ON_MESSAGE(kSizeDetailMessage - 1, &CMainDlg::OnSizeDetailAsked)
ON_MESSAGE(kSizeDetailChosen, &CMainDlg::OnSizeDetailChosen)
ON_MESSAGE(kSizeDetailCancelled, &CMainDlg::OnSizeDetailCancelled)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CMainDlg::CMainDlg(CWnd* parent)
    : CAcUiDialog(IDD_PALETTE, parent), parent_(parent), editor_(this, &project_) {
  for (int i = 0; i < kPageRows; ++i) {
    koujiPtrs_[i] = &koujiBoxes_[i];
    keitouPtrs_[i] = &keitouBoxes_[i];
    banPtrs_[i] = &banBoxes_[i];
  }
  for (int i = 0; i < 3 * kPageRows; ++i) conduitPtrs_[i] = &conduitBoxes_[i];
}

CMainDlg::~CMainDlg() = default;

BOOL CMainDlg::Create() {
  return CAcUiDialog::Create(IDD_PALETTE, parent_);
}

BOOL CMainDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  return CAcUiDialog::OnCommand(wParam, lParam);
}

void CMainDlg::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PATTERN_BOX, patternBox_);
  for (int i = 0; i < kPageRows; ++i) {
    DDX_Control(pDX, IDC_ROW_KOUJI + i, koujiBoxes_[i]);
    DDX_Control(pDX, IDC_ROW_KEITOU + i, keitouBoxes_[i]);
    DDX_Control(pDX, IDC_ROW_BAN + i, banBoxes_[i]);
    DDX_Control(pDX, IDC_ROW_HSIZE2 + i, conduitBoxes_[i]);
    DDX_Control(pDX, IDC_ROW_HSIZE3 + i, conduitBoxes_[kPageRows + i]);
    DDX_Control(pDX, IDC_ROW_HSIZE4 + i, conduitBoxes_[2 * kPageRows + i]);
    DDX_Control(pDX, IDC_ROW_HSIZE1 + i, wireSizeEdits_[i]);
  }
}

BOOL CMainDlg::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  project_.SetFolder(ProjectFolderFromConfig(ConfigIniPath));

  CheckRadioButton(IDC_TYPE_TRUNK, IDC_TYPE_GENERAL, IDC_TYPE_TRUNK);
  CheckDlgButton(IDC_NOTE_TRUNK_NO, BST_UNCHECKED);
  CheckDlgButton(IDC_NOTE_WIRE_SIZE, BST_CHECKED);
  CheckDlgButton(IDC_NOTE_WORK_KIND, BST_CHECKED);

  // The master lists, in the order the palette has always read them. The part numbers come from
  // the drawing before the name file is read (CollectPartNumbers shows its own progress).
  masterFolder_ = MasterListFolder(ConfigIniPath);
  items_.Load(masterFolder_);
  LoadSystemNumberBoxes(masterFolder_, ComboBoxes(keitouPtrs_));
  CStringArray partNumbers;
  CollectPartNumbers(partNumbers);
  LoadPanelNameBoxes(masterFolder_, partNumbers, ComboBoxes(banPtrs_));
  LoadConduitSizeBoxes(masterFolder_, GetPatternType(), ConduitBoxes());

  // Each wire-size edit asks the palette for the size detail of its control row.
  for (int i = 0; i < kPageRows; ++i) wireSizeEdits_[i].SetOwnerRow(this, i);

  // The palette opens over the top-left corner of the drawing window.
  RECT view{};
  ::GetWindowRect(adsw_acadDocWnd(), &view);
  RECT own{};
  GetWindowRect(&own);
  MoveWindow(view.left, view.top, own.right - own.left, own.bottom - own.top);

  if (RestoreLastProject(project_)) {
    SetDlgItemText(IDC_PROJECT_NAME, project_.Name());
    ListPatterns();
    MakeCurrent(project_.CurrentIndex(), Becomes::kLoaded);
    patternBox_.SetCurSel(project_.CurrentIndex());
  } else {
    FillConstructionItemBoxes(items_, kPatternTypeTrunk, KoujiBoxes());
    EnableControls(false);
  }
  editor_.MarkRow(0);

  listSettings_ = ReadListSettings(SettingsFilePath(ConfigIniPath));
  return TRUE;
}

// Make current:
//   1. the pattern becomes current;
//   2. after a load the construction-item boxes are filled for its type, otherwise only when its
//      type differs from the one shown; a different type also reloads the conduit sizes;
//   3. the radio buttons and conduit check boxes show its type and conduit choice;
//   4. chosen in the box or current after a deletion: its check flags are cleared;
//   5. page 0 is shown; chosen or after a deletion, control row 0 is marked.
void CMainDlg::MakeCurrent(int index, Becomes why) {
  if (!project_.SetCurrent(index)) return;
  PatternData* pattern = project_.Current();
  const int type = pattern->type == kPatternTypeTrunk ? kPatternTypeTrunk : kPatternTypeGeneral;
  const bool otherType = type != GetPatternType();
  if (why == Becomes::kLoaded || otherType) FillConstructionItemBoxes(items_, type, KoujiBoxes());
  if (otherType) LoadConduitSizeBoxes(masterFolder_, type, ConduitBoxes());
  ShowType(type);
  ShowConduitChoice(pattern->pipeSel);
  const bool anew = why != Becomes::kLoaded;
  if (anew) {
    std::fill(std::begin(pattern->checked), std::end(pattern->checked), false);
  }
  editor_.SetPage(0);
  editor_.ShowPage();
  if (anew) editor_.MarkRow(0);
}

void CMainDlg::ShowType(int type) {
  CheckRadioButton(IDC_TYPE_TRUNK, IDC_TYPE_GENERAL,
                   type == kPatternTypeTrunk ? IDC_TYPE_TRUNK : IDC_TYPE_GENERAL);
}

void CMainDlg::ShowConduitChoice(int choice) {
  CheckDlgButton(IDC_CONDUIT_INDOOR, choice == kConduitIndoor ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(IDC_CONDUIT_OUTDOOR, choice == kConduitOutdoor ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(IDC_CONDUIT_BURIED, choice == kConduitUnderground ? BST_CHECKED : BST_UNCHECKED);
}

void CMainDlg::ListPatterns() {
  patternBox_.ResetContent();
  for (int i = 0; i < project_.PatternCount(); ++i)
    patternBox_.AddString(project_.Pattern(i)->name);
}

void CMainDlg::EnableControls(bool enable) {
  auto set = [this, enable](int id) {
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(enable ? TRUE : FALSE);
  };
  for (int id : kEnabledWithPatterns) set(id);
  for (int first : kRowColumns) {
    for (int i = 0; i < kPageRows; ++i) set(first + i);
  }
}

void CMainDlg::ClearProject() {
  project_.ClearPatterns();
  SetDlgItemText(IDC_PROJECT_NAME, L"");
  patternBox_.ResetContent();
  for (int i = 0; i < kPageRows; ++i) {
    CheckDlgButton(IDC_ROW_CHECK + i, BST_UNCHECKED);
    CheckDlgButton(IDC_ROW_ONRACK + i, BST_UNCHECKED);
    koujiBoxes_[i].SetCurSel(0);
    keitouBoxes_[i].SetCurSel(-1);
    banBoxes_[i].SetCurSel(-1);
    for (int column = 0; column < 3; ++column) conduitBoxes_[column * kPageRows + i].SetCurSel(-1);
    SetDlgItemText(IDC_ROW_HSIZE1 + i, L"");
    SetDlgItemText(IDC_ROW_MEMO + i, L"");
  }
  CheckDlgButton(IDC_ROW_MARK, BST_UNCHECKED);
  EnableControls(false);
  project_.SetName(L"");
}

bool CMainDlg::SaveIfModified(LPCWSTR question) {
  if (!editor_.IsModified()) return true;
  switch (Ask(question, MB_YESNOCANCEL)) {
    case IDYES:
      return Save();
    case IDNO:
      return true;
    default:
      return false;
  }
}

bool CMainDlg::Save() {
  editor_.RemoveBlankRows();
  editor_.ShowPage();
  if (!project_.Name().IsEmpty()) return SaveProject(project_, project_.Name());

  CString name;
  {
    HarnexResourceScope resources;
    CNewProjDlg dialog(CNewProjDlg::kNewProject, this);
    for (;;) {
      if (dialog.DoModal() != IDOK) return false;
      name = dialog.GetName();
      if (::GetFileAttributesW(ProjectFilePath(project_.Folder(), name)) ==
          INVALID_FILE_ATTRIBUTES) {
        break;
      }
      if (Ask(kOverwriteQuestion, MB_YESNO) == IDYES) break;
    }
  }
  // A name that cannot be a file name fails the save with its message and does not become the
  // project's name, so that the next save asks again.
  if (CheckProjectName(name) != ERROR_SUCCESS) return SaveProject(project_, name);
  project_.SetName(name);
  SetDlgItemText(IDC_PROJECT_NAME, name);
  return SaveProject(project_, name);
}

void CMainDlg::OnOpenProject() {
  editor_.CollectPage();
  if (!SaveIfModified(kSaveCurrentQuestion)) return;

  CString chosen;
  {
    HarnexResourceScope resources;
    CProjList list(project_.Name(), this);
    if (list.DoModal() != IDOK) {
      editor_.SetModified(false);
      return;
    }
    chosen = list.SelectedProject();
  }

  project_.ClearPatterns();
  const int loaded = LoadProject(project_, chosen);
  editor_.SetModified(false);
  if (loaded < 0) {  // the file went away after it was listed
    ClearProject();
    return;
  }
  SetDlgItemText(IDC_PROJECT_NAME, project_.Name());
  ListPatterns();
  if (loaded == 0) {
    AfxMessageBox(kLoadFailed, MB_ICONHAND);
    ClearProject();
    return;
  }
  EnableControls(true);
  MakeCurrent(0, Becomes::kLoaded);
  patternBox_.SetCurSel(0);
}

void CMainDlg::OnNewProject() {
  editor_.CollectPage();
  if (!SaveIfModified(kModifiedQuestion)) return;
  ClearProject();
}

void CMainDlg::OnSaveProject() {
  if (!project_.Current()) return;
  editor_.CollectPage();
  if (!editor_.IsModified()) return;
  if (!Save()) return;
  editor_.SetModified(false);
  AfxMessageBox(kSaved, MB_ICONINFORMATION);
}

void CMainDlg::OnPreviousPage() {
  editor_.PreviousPage();
}
void CMainDlg::OnNextPage() {
  editor_.NextPage();
}
void CMainDlg::OnRowUp() {
  editor_.MoveUp();
}
void CMainDlg::OnRowDown() {
  editor_.MoveDown();
}
void CMainDlg::OnRowInsert() {
  editor_.InsertRow();
}
void CMainDlg::OnRowDelete() {
  editor_.DeleteRow();
}
void CMainDlg::OnCheckAll() {
  editor_.SelectAll();
}
void CMainDlg::OnUncheckAll() {
  editor_.ClearSelection();
}
void CMainDlg::OnSearch() {
  editor_.SearchSystemNumber();
}

void CMainDlg::TypeChosen(int type) {
  CWaitCursor wait;
  FillConstructionItemBoxes(items_, type, KoujiBoxes());
  LoadConduitSizeBoxes(masterFolder_, type, ConduitBoxes());
  if (project_.Current()) editor_.CollectPage();
}

void CMainDlg::OnTypeTrunk() {
  TypeChosen(kPatternTypeTrunk);
}
void CMainDlg::OnTypeGeneral() {
  TypeChosen(kPatternTypeGeneral);
}

void CMainDlg::KeepOneConduit(int checkedId) {
  if (IsDlgButtonChecked(checkedId) != BST_CHECKED) return;
  for (int id : {IDC_CONDUIT_INDOOR, IDC_CONDUIT_OUTDOOR, IDC_CONDUIT_BURIED}) {
    if (id != checkedId) CheckDlgButton(id, BST_UNCHECKED);
  }
}

void CMainDlg::OnConduitIndoor() {
  KeepOneConduit(IDC_CONDUIT_INDOOR);
}
void CMainDlg::OnConduitOutdoor() {
  KeepOneConduit(IDC_CONDUIT_OUTDOOR);
}
void CMainDlg::OnConduitBuried() {
  KeepOneConduit(IDC_CONDUIT_BURIED);
}

LRESULT CMainDlg::OnAcadKeepFocus(WPARAM, LPARAM) {
  return TRUE;
}

void CMainDlg::WriteLastProject() {
  if (const PatternData* pattern = project_.Current()) {
    ::WriteLastProject(project_.Folder(), project_.Name(), pattern->name);
  }
}

void CMainDlg::CancelActiveCommand() {
  AcApDocument* document = acDocManager->curDocument();
  if (document && !document->isQuiescent()) {
    if (CWnd* commandLine = acedGetAcadTextCmdLine()) commandLine->SendMessage(WM_CHAR, 27);
  }
}

// Esc in the palette.
void CMainDlg::OnCancel() {
  editor_.CollectPage();
  if (!SaveIfModified(kModifiedQuestion)) return;
  WriteLastProject();
  project_.ClearPatterns();
  editor_.SetModified(false);
  closing_ = true;
  CancelActiveCommand();

  CPaletteDialog* paletteSet = PaletteSetInstance;
  DestroyWindow();
  PaletteInstance = nullptr;
  EndDialog(IDCANCEL);
  if (paletteSet) paletteSet->DestroyWindow();
}

// The window goes away without Esc: the host closes, for instance. The question cannot stop it.
void CMainDlg::OnDestroy() {
  if (!closing_) {
    editor_.CollectPage();
    if (editor_.IsModified() && Ask(kModifiedQuestion, MB_YESNO) == IDYES) Save();
    WriteLastProject();
    project_.ClearPatterns();
    CancelActiveCommand();
    if (PaletteSetInstance) {
      WritePaletteSetSettings(project_.Folder(), PaletteSetInstance->GetAutoRollup() != FALSE,
                              PaletteSetInstance->GetOpacity());
    }
    PaletteInstance = nullptr;
  }
  CAcUiDialog::OnDestroy();
}
