// PatternEditor: the palette's row area, one page of ten rows of the current pattern shown in the
// ten control rows of the palette window, and the row operations its buttons start.
//
// The palette owns one PatternEditor beside its ProjectModel and calls these operations from its
// button handlers; the editor itself handles no message. It works on the controls of a window
// made from dialog template 200 (resources/palette_ids.h names them), by their ids, so it does
// not care which control classes the palette attaches to them:
//
//   control row i (0 to 9)  IDC_ROW_MARK + i   radio button: the row row operations act at
//                           IDC_ROW_CHECK + i  check box: the row's check flag
//                           IDC_ROW_KOUJI + i ... IDC_ROW_MEMO + i: the row's nine values
//   IDC_PAGE_FRAME          the page label "Page:%d" (page + 1)
//   IDC_TYPE_TRUNK, IDC_CONDUIT_*  read by CollectPage into the pattern's type and conduit choice
//   IDC_SEARCH_TEXT, IDC_PATTERN_BOX  used by the system-number search
//
// The current pattern is always the project's current pattern; page p shows rows 10p to 10p + 9.
// Operations started by a button collect the page first, so that what the user typed is in the
// model before the model changes, and show it again after. Every operation does nothing without a
// current pattern. Notices go to the user as information boxes (AfxMessageBox, OK):
//   "これ以上挿入出来ません。"        insert or import while the last row is taken
//   "挿入する位置を指定して下さい。"  insert without a marked row
//   "削除するデータを選択して下さい。" delete without a marked row
//   "空白行は削除されました。"        blank rows were removed
//
// The modified flag says that the project has unsaved changes. The editor sets it for changes to
// the rows, the type and the conduit choice, never for check flags or for removing blank rows,
// and never while the current pattern is the search pattern "系統番号検索". The palette clears it
// when it opens, saves or closes a project.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <afxwin.h>

#include "project/pattern_data.h"
#include "project/project_model.h"

// The pages of a pattern and the control rows of a page.
constexpr int kPageRows = 10;
constexpr int kPatternPages = kPatternRows / kPageRows;

// Texts of the row area's notices.
inline constexpr wchar_t kNoRoomToInsertMessage[] = L"これ以上挿入出来ません。";
inline constexpr wchar_t kNoInsertPositionMessage[] = L"挿入する位置を指定して下さい。";
inline constexpr wchar_t kNoRowToDeleteMessage[] = L"削除するデータを選択して下さい。";
inline constexpr wchar_t kBlankRowsRemovedMessage[] = L"空白行は削除されました。";

class PatternEditor {
 public:
  // Neither the window nor the project is owned; both must outlive the editor's last call.
  PatternEditor(CWnd* window, ProjectModel* project) : window_(window), project_(project) {}
  PatternEditor(const PatternEditor&) = delete;
  PatternEditor& operator=(const PatternEditor&) = delete;

  // The pattern being edited (the project's current pattern), or null.
  PatternData* Current() const { return project_ ? project_->Current() : nullptr; }

  // The page shown, 0 to 9. SetPage only sets it (clamped into range); ShowPage shows it.
  int Page() const { return page_; }
  void SetPage(int page);

  bool IsModified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  // Sets the modified flag unless there is no current pattern or it is the search pattern.
  void MarkModified();

  // The control row (0 to 9) whose radio button is checked, or -1 when none is.
  int MarkedRow() const;
  // Checks the radio button of control row `row` and clears the others; -1 clears them all.
  void MarkRow(int row);

  // Model to controls for the current page: check boxes, values (a value missing from its drop-
  // down list is added to it) and the page label. The radio buttons are not touched.
  void ShowPage();
  // Controls to model for the current page: the pattern's type and conduit choice, the check
  // flags, then the values column by column; a value that differs from the stored one (exact
  // comparison) is stored and marks modified, as does a changed type or conduit choice.
  void CollectPage();

  // ">>" and "<<": collect and show the next or the previous page; nothing on page 9 or page 0.
  void NextPage();
  void PreviousPage();

  // "項目挿入": an empty row at the marked row, the rows from there on one place down.
  void InsertRow();
  // "項目削除": removes the marked row, without asking; the radio button stays where it was.
  void DeleteRow();
  // "↑" and "↓": swaps the marked row with its neighbour; the page follows the row when it
  // leaves the page, and so does the radio button. Nothing at row 0 or 99 or without a mark.
  void MoveUp();
  void MoveDown();
  // "全て選択": removes blank rows, then checks every row up to the first empty one.
  void SelectAll();
  // "選択解除": unchecks all 100 rows.
  void ClearSelection();

  // Compacts the current pattern's rows (pattern_rows.h, CompactRows) and tells the user when a
  // row moved. Does not show the page and does not mark modified. True when a row moved.
  bool RemoveBlankRows();

  // Inserts the import dialog's rows (each a CStringArray of eight strings, pattern_rows.h
  // ImportedColumn) in their order before the marked row, each as InsertRow does; stops with the
  // notice when the last row is taken, keeping the rows inserted so far. Then shows the page.
  // The rows stay the caller's. Nothing happens without a marked row.
  void InsertImportedRows(const CPtrArray& rows);

  // "系統番号": collects, removes blank rows and shows; then copies the leading rows whose system
  // number contains the search box's text (trimmed, letter case ignored) into a new search
  // pattern "系統番号検索", which replaces an earlier one in the project and the pattern box,
  // becomes current and is shown from page 0. Without a match nothing more happens. The searched
  // text joins the search box's list unless the list holds it already.
  void SearchSystemNumber();

  // Whether a drawing command has rows to work on: a row that is checked and not empty.
  bool AnyRowChecked() const;

 private:
  // The pattern's row index of a control row of the current page.
  int RowIndex(int controlRow) const { return page_ * kPageRows + controlRow; }
  HWND Control(int id) const;
  void ShowListValue(int id, const CString& value, bool dropDownList);
  // Moves the marked row by one (-1 up, +1 down) with the page and the mark following it.
  void MoveMarkedRow(int step);

  CWnd* window_;
  ProjectModel* project_;
  int page_ = 0;
  bool modified_ = false;
};
