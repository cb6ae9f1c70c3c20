// CMainDlg's pattern buttons: choosing, making, copying and deleting the patterns of the
// open project.
#include <windows.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "dialogs/harnex_resource_scope.h"
#include "dialogs/project_name_dialog.h"
#include "palette/main_dialog.h"
#include "project/project_file.h"
#include "resources/resource.h"

namespace {

// At most this many patterns can be made in the palette (a project file may hold more).
constexpr int kMaxPatterns = 50;

constexpr wchar_t kPatternNotFound[] = L"パターンデータを表示出来ません。";
constexpr wchar_t kTooManyPatterns[] = L"これ以上登録できません。";
constexpr wchar_t kPatternNameTaken[] = L"入力したパターン名は既に存在します。";
constexpr wchar_t kLastPattern[] = L"最後のパターンは削除出来ません。";
constexpr wchar_t kDeleteQuestion[] = L"現在表示中のパターンを削除しますか？";

}  // namespace

bool CMainDlg::AskPatternName(UINT mode, CString& name) {
  HarnexResourceScope resources;
  CNewProjDlg dialog(mode, this);
  for (;;) {
    if (dialog.DoModal() != IDOK) return false;
    name = dialog.GetName();
    if (patternBox_.FindStringExact(-1, name) == CB_ERR) return true;
    AfxMessageBox(kPatternNameTaken, MB_ICONHAND);
  }
}

void CMainDlg::OnPatternChosen() {
  editor_.CollectPage();
  CString name;
  const int item = patternBox_.GetCurSel();
  if (item != CB_ERR) patternBox_.GetLBText(item, name);
  const int index = project_.FindPattern(name);
  if (index < 0) {
    AfxMessageBox(kPatternNotFound, MB_ICONHAND);
    return;
  }
  MakeCurrent(index, Becomes::kChosen);
}

void CMainDlg::OnNewPattern() {
  editor_.CollectPage();
  if (patternBox_.GetCount() >= kMaxPatterns) {
    AfxMessageBox(kTooManyPatterns, MB_ICONHAND);
    return;
  }
  CString name;
  if (!AskPatternName(CNewProjDlg::kNewPattern, name)) return;

  const bool wasEmpty = project_.PatternCount() == 0;
  auto pattern = std::make_unique<PatternData>();
  pattern->name = name;
  project_.AddPattern(std::move(pattern));
  if (wasEmpty) EnableControls(true);
  project_.SetCurrent(project_.PatternCount() - 1);
  patternBox_.SetCurSel(patternBox_.AddString(name));
  editor_.SetPage(0);
  editor_.ShowPage();
  editor_.MarkRow(0);
}

void CMainDlg::OnSavePatternAs() {
  editor_.CollectPage();
  if (patternBox_.GetCurSel() == CB_ERR) return;
  if (patternBox_.GetCount() >= kMaxPatterns) {
    AfxMessageBox(kTooManyPatterns, MB_ICONHAND);
    return;
  }
  PatternData* old = project_.Current();
  if (!old) return;
  CString name;
  if (!AskPatternName(CNewProjDlg::kSavePatternAs, name)) return;

  // The rows only (a pattern is a value): no check flags, and a fresh pattern's type and conduit
  // choice, which the next collect takes from the palette.
  auto copy = std::make_unique<PatternData>(*old);
  copy->name = name;
  copy->type = kPatternTypeTrunk;
  copy->pipeSel = kConduitNone;
  std::fill(std::begin(copy->checked), std::end(copy->checked), false);
  project_.AddPattern(std::move(copy));
  project_.SetCurrent(project_.PatternCount() - 1);
  patternBox_.SetCurSel(patternBox_.AddString(name));
  editor_.SetPage(0);
  editor_.ShowPage();
  editor_.MarkRow(0);

  // The unsaved edits now live in the copy; the old pattern goes back to what the file holds.
  ReloadPattern(project_, *old);
  editor_.MarkModified();
}

void CMainDlg::OnDeletePattern() {
  if (patternBox_.GetCount() == 1) {
    AfxMessageBox(kLastPattern, MB_ICONHAND);
    return;
  }
  const int item = patternBox_.GetCurSel();
  if (item == CB_ERR) return;
  if (AfxMessageBox(kDeleteQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) return;

  CString name;
  patternBox_.GetLBText(item, name);
  const int index = project_.FindPattern(name);
  if (index < 0) return;
  project_.RemovePattern(index);
  patternBox_.DeleteString(item);

  const int next = index > 0 ? index - 1 : 0;
  patternBox_.SetCurSel(item > 0 ? item - 1 : 0);
  MakeCurrent(next, Becomes::kDeleted);
  editor_.MarkModified();
}
