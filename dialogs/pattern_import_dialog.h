// CInsDataDlg: the pattern import dialog (template 204, "パターンデータの取込み"). The user picks a
// project of the project folder and one of its patterns, sees the pattern's rows, selects some
// of them (or none, for all) and hands them to the palette with "取込".
//
// What it shows:
//   project box  the "*.tpr" files of the project folder, named without the extension, in the
//                order the file system gives them; the first is chosen at opening
//   pattern box  the chosen project's PATTERN-001, PATTERN-002 ... up to the first empty one, in
//                that order; the first is chosen whenever the project changes
//   list         the chosen pattern's rows, read from the section of the first PATTERN-nnn key
//                that holds its name exactly (a name stored twice shows the lower-numbered
//                pattern), row 1, 2 ... up to the first row whose eight keys below are all empty,
//                with no other limit. Columns: 工事項目 KOUJI, 系統番号 KEITOU, 盤/負荷名称 BAN,
//                配線ｻｲｽﾞ HSIZE1, 屋内 HSIZE2, 屋外 HSIZE3, ﾗｯｸ上 "○" when ONRACK reads as the
//                integer 1 (else empty), 備考 MEMO. The underground size HSIZE4, TYPE and PIPESEL
//                are neither shown nor handed over.
// A project without patterns empties the list as well as the pattern box, so that "取込" never
// hands over rows of a pattern that is no longer chosen. A file that cannot be read lists
// nothing; the dialog shows no message box.
//
// "取込" (IDOK) takes the selected rows in the list's selection order, or every row when none is
// selected, and ends with IDOK. The default button is "ｷｬﾝｾﾙ": Enter cancels unless another push
// button has the focus. The dialog centres itself on the palette given at construction.
//
// Open it with Harnex's resources current (HarnexResourceScope).
#pragma once

#include <ListCtrlEx.h>
#include <acui.h>
#include <afxcoll.h>

class CInsDataDlg : public CAcUiDialog {
 public:
  // `palette` (not owned, may be null) is the parent and the window the dialog centres on.
  explicit CInsDataDlg(CWnd* palette);

  // The rows handed over by "取込": after IDOK one CStringArray* per row, in order, each of
  // exactly eight strings in the order of ImportedColumn (project/pattern_rows.h): construction
  // item, system number, panel or load name, wire size, conduit size indoors, outdoors, the
  // on-rack mark "○" or empty, remarks. Empty after IDCANCEL. The arrays belong to the dialog
  // until ClearRows; the destructor does not free them, so a caller that got IDOK calls
  // ClearRows when it has inserted them.
  const CPtrArray& GetRows() const { return rows_; }
  INT_PTR GetRowCount() const { return rows_.GetSize(); }
  const CStringArray* GetRow(INT_PTR index) const;

  // Deletes every handed-over row and empties the array.
  void ClearRows();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  afx_msg void OnProjectChanged();
  afx_msg void OnPatternChanged();
  DECLARE_MESSAGE_MAP()

 private:
  void CreateList();
  void FillProjects();
  void CenterOnPalette();
  // "<folder>\<name>.tpr".
  CString ProjectPath(const CString& name) const;
  // The selected text of a box; false without a selection.
  static bool SelectedText(const CComboBox& box, CString& text);
  // Adds the rows of `section` of `file` to the list.
  void ListRows(const CString& file, const CString& section);

  CListCtrlEx list_;
  CPtrArray rows_;
  CComboBox projectBox_;
  CComboBox patternBox_;
  CString projectFolder_;
  CWnd* palette_;
};
