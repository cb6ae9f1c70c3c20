// PatternEditor: one page of the current pattern in the palette's ten control rows.
#include "project/pattern_editor.h"

#include <algorithm>
#include <memory>

#include "project/pattern_rows.h"
#include "resources/palette_ids.h"

namespace {

// The first-row id of the control that shows a column; row i uses that id + i.
int ColumnControl(PatternColumn column) {
  switch (column) {
    case kColumnKouji:
      return IDC_ROW_KOUJI;
    case kColumnKeitou:
      return IDC_ROW_KEITOU;
    case kColumnBan:
      return IDC_ROW_BAN;
    case kColumnHsize1:
      return IDC_ROW_HSIZE1;
    case kColumnHsize2:
      return IDC_ROW_HSIZE2;
    case kColumnHsize3:
      return IDC_ROW_HSIZE3;
    case kColumnHsize4:
      return IDC_ROW_HSIZE4;
    case kColumnOnRack:
      return IDC_ROW_ONRACK;
    case kColumnMemo:
    case kPatternColumns:
      break;
  }
  return IDC_ROW_MEMO;
}

void Inform(const wchar_t* text) {
  AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void PatternEditor::SetPage(int page) {
  page_ = std::clamp(page, 0, kPatternPages - 1);
}

void PatternEditor::MarkModified() {
  const PatternData* pattern = Current();
  // The search pattern is never saved, so editing it leaves nothing unsaved.
  if (pattern && !pattern->IsSearchPattern()) modified_ = true;
}

HWND PatternEditor::Control(int id) const {
  return window_ ? ::GetDlgItem(window_->GetSafeHwnd(), id) : nullptr;
}

int PatternEditor::MarkedRow() const {
  for (int row = 0; row < kPageRows; ++row) {
    if (::SendMessageW(Control(IDC_ROW_MARK + row), BM_GETCHECK, 0, 0) == BST_CHECKED) return row;
  }
  return -1;
}

void PatternEditor::MarkRow(int row) {
  for (int i = 0; i < kPageRows; ++i) {
    ::SendMessageW(Control(IDC_ROW_MARK + i), BM_SETCHECK, i == row ? BST_CHECKED : BST_UNCHECKED,
                   0);
  }
}

// A value into a combo box: found in the list without regard to case, else appended, and
// selected. A drop-down list starts from its first item, the empty one that the master lists put
// there, an editable box from no selection, which empties its edit part. Without master lists a
// drop-down list has no empty item, and its first item would show a value the row does not hold:
// then it shows nothing.
void PatternEditor::ShowListValue(int id, const CString& value, bool dropDownList) {
  HWND box = Control(id);
  const bool emptyFirst = ::SendMessageW(box, CB_GETLBTEXTLEN, 0, 0) == 0;
  ::SendMessageW(box, CB_SETCURSEL, dropDownList && emptyFirst ? 0 : static_cast<WPARAM>(-1), 0);
  if (value.IsEmpty()) return;
  const auto text = reinterpret_cast<LPARAM>(value.GetString());
  LRESULT at = ::SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text);
  if (at == CB_ERR) at = ::SendMessageW(box, CB_ADDSTRING, 0, text);
  ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

void PatternEditor::ShowPage() {
  const PatternData* pattern = Current();
  if (!pattern || !window_) return;
  for (int i = 0; i < kPageRows; ++i) {
    const int r = RowIndex(i);
    ::SendMessageW(Control(IDC_ROW_CHECK + i), BM_SETCHECK,
                   pattern->checked[r] ? BST_CHECKED : BST_UNCHECKED, 0);
    ShowListValue(IDC_ROW_KOUJI + i, pattern->kouji[r], true);
    for (PatternColumn column :
         {kColumnKeitou, kColumnBan, kColumnHsize2, kColumnHsize3, kColumnHsize4}) {
      ShowListValue(ColumnControl(column) + i, pattern->Text(column, r), false);
    }
    window_->SetDlgItemText(IDC_ROW_HSIZE1 + i, pattern->hsize1[r]);
    window_->SetDlgItemText(IDC_ROW_MEMO + i, pattern->memo[r]);
    ::SendMessageW(Control(IDC_ROW_ONRACK + i), BM_SETCHECK,
                   pattern->onRack[r] == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  CString label;
  label.Format(L"Page:%d", page_ + 1);
  window_->SetDlgItemText(IDC_PAGE_FRAME, label);
}

void PatternEditor::CollectPage() {
  PatternData* pattern = Current();
  if (!pattern || !window_) return;
  auto checked = [&](int id) { return window_->IsDlgButtonChecked(id) == BST_CHECKED; };

  const int type = checked(IDC_TYPE_TRUNK) ? kPatternTypeTrunk : kPatternTypeGeneral;
  const int conduit = checked(IDC_CONDUIT_INDOOR)    ? kConduitIndoor
                      : checked(IDC_CONDUIT_OUTDOOR) ? kConduitOutdoor
                      : checked(IDC_CONDUIT_BURIED)  ? kConduitUnderground
                                                     : kConduitNone;
  if (pattern->type != type) {
    pattern->type = type;
    MarkModified();
  }
  if (pattern->pipeSel != conduit) {
    pattern->pipeSel = conduit;
    MarkModified();
  }

  // Check flags are a choice for the drawing commands, not data: they never mark modified.
  for (int i = 0; i < kPageRows; ++i) pattern->checked[RowIndex(i)] = checked(IDC_ROW_CHECK + i);

  for (int c = 0; c < kPatternColumns; ++c) {
    const auto column = static_cast<PatternColumn>(c);
    for (int i = 0; i < kPageRows; ++i) {
      const int r = RowIndex(i);
      const int id = ColumnControl(column) + i;
      if (column == kColumnOnRack) {
        const int onRack = checked(id) ? 1 : 0;
        if (pattern->onRack[r] != onRack) {
          pattern->onRack[r] = onRack;
          MarkModified();
        }
        continue;
      }
      CString text;
      window_->GetDlgItemText(id, text);
      CString& stored = pattern->Text(column, r);
      if (stored != text) {
        stored = text;
        MarkModified();
      }
    }
  }
}

void PatternEditor::NextPage() {
  if (!Current()) return;
  CollectPage();
  if (page_ >= kPatternPages - 1) return;
  ++page_;
  ShowPage();
}

void PatternEditor::PreviousPage() {
  if (!Current() || page_ <= 0) return;
  CollectPage();
  --page_;
  ShowPage();
}

void PatternEditor::InsertRow() {
  PatternData* pattern = Current();
  if (!pattern) return;
  CollectPage();
  if (!pattern->IsRowEmpty(kPatternRows - 1)) {
    Inform(kNoRoomToInsertMessage);
    return;
  }
  const int mark = MarkedRow();
  if (mark < 0) {
    Inform(kNoInsertPositionMessage);
    return;
  }
  InsertBlankRow(*pattern, RowIndex(mark));
  MarkModified();
  ShowPage();
}

void PatternEditor::DeleteRow() {
  PatternData* pattern = Current();
  if (!pattern) return;
  const int mark = MarkedRow();
  if (mark < 0) {
    Inform(kNoRowToDeleteMessage);
    return;
  }
  CollectPage();
  ::DeleteRow(*pattern, RowIndex(mark));
  MarkModified();
  ShowPage();
}

void PatternEditor::MoveUp() {
  MoveMarkedRow(-1);
}

void PatternEditor::MoveDown() {
  MoveMarkedRow(+1);
}

void PatternEditor::MoveMarkedRow(int step) {
  PatternData* pattern = Current();
  const int mark = MarkedRow();
  if (!pattern || mark < 0) return;
  CollectPage();
  const int r = RowIndex(mark);
  const int target = r + step;
  if (target < 0 || target >= kPatternRows) return;
  SwapRows(*pattern, r, target);
  // The mark goes with the row; past the edge of the page, the page goes with it too.
  int newMark = mark + step;
  if (newMark < 0) {
    --page_;
    newMark = kPageRows - 1;
  } else if (newMark >= kPageRows) {
    ++page_;
    newMark = 0;
  }
  ShowPage();
  MarkRow(newMark);
  MarkModified();
}

void PatternEditor::SelectAll() {
  PatternData* pattern = Current();
  if (!pattern) return;
  CollectPage();
  RemoveBlankRows();
  ShowPage();
  const int rows = LeadingRows(*pattern);
  for (int r = 0; r < rows; ++r) pattern->checked[r] = true;
  ShowPage();
}

void PatternEditor::ClearSelection() {
  PatternData* pattern = Current();
  if (!pattern) return;
  CollectPage();
  std::fill(std::begin(pattern->checked), std::end(pattern->checked), false);
  ShowPage();
}

bool PatternEditor::RemoveBlankRows() {
  PatternData* pattern = Current();
  if (!pattern || CompactRows(*pattern) == 0) return false;
  Inform(kBlankRowsRemovedMessage);
  return true;
}

void PatternEditor::InsertImportedRows(const CPtrArray& rows) {
  PatternData* pattern = Current();
  const int mark = MarkedRow();
  if (!pattern || mark < 0) return;
  int r = RowIndex(mark);
  for (INT_PTR i = 0; i < rows.GetSize(); ++i) {
    const auto* values = static_cast<const CStringArray*>(rows[i]);
    if (!values) continue;
    if (!pattern->IsRowEmpty(kPatternRows - 1)) {
      Inform(kNoRoomToInsertMessage);
      break;
    }
    InsertBlankRow(*pattern, r);
    SetImportedRow(*pattern, r, *values);
    MarkModified();
    ++r;
  }
  ShowPage();
}

void PatternEditor::SearchSystemNumber() {
  PatternData* pattern = Current();
  if (!pattern || !window_) return;
  CollectPage();
  RemoveBlankRows();
  ShowPage();

  CString text;
  window_->GetDlgItemText(IDC_SEARCH_TEXT, text);
  text.Trim();
  CString key = text;
  key.MakeUpper();

  auto found = std::make_unique<PatternData>();
  if (CopyMatchingRows(*pattern, key, *found) > 0) {
    found->name = kSearchPatternName;
    found->type = pattern->type;
    found->pipeSel = pattern->pipeSel;
    // The pattern searched may be the old search pattern itself: everything needed from it has
    // been copied, so it can go now.
    HWND box = Control(IDC_PATTERN_BOX);
    const auto name = reinterpret_cast<LPARAM>(kSearchPatternName);
    const int old = project_->FindPattern(kSearchPatternName);
    if (old >= 0) {
      project_->RemovePattern(old);
      const LRESULT item = ::SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), name);
      if (item != CB_ERR) ::SendMessageW(box, CB_DELETESTRING, static_cast<WPARAM>(item), 0);
    }
    project_->AddPattern(std::move(found));
    project_->SetCurrent(project_->PatternCount() - 1);
    const LRESULT item = ::SendMessageW(box, CB_ADDSTRING, 0, name);
    ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    page_ = 0;
    ShowPage();
  }

  HWND searchBox = Control(IDC_SEARCH_TEXT);
  const auto searched = reinterpret_cast<LPARAM>(text.GetString());
  if (::SendMessageW(searchBox, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), searched) == CB_ERR) {
    ::SendMessageW(searchBox, CB_ADDSTRING, 0, searched);
  }
}

bool PatternEditor::AnyRowChecked() const {
  const PatternData* pattern = Current();
  return pattern && ::AnyRowChecked(*pattern);
}
