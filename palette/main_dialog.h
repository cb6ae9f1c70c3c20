// CMainDlg: the palette, a modeless dialog (template 200, "複数配線情報設定") inside the palette
// set "複数配線". In it the user opens, creates and saves projects, creates, chooses, copies and
// deletes patterns and edits the rows of the current pattern.
//
// There is at most one palette per process: the palette command (palette_command.h) makes it and
// keeps it in PaletteInstance. It owns the open project (ProjectModel) and the row area
// (PatternEditor) and never loses unsaved edits without asking:
//   new project, close            "データが変更されています。保存しますか？"  Yes / No / Cancel
//   open a project                 "現在のプロジェクトを保存しますか？"        Yes / No / Cancel
//   window destroyed otherwise     "データが変更されています。保存しますか？"  Yes / No
// Yes saves; when that save does not complete, the action that asked does not happen (except on
// destruction, which cannot be refused). Cancel stops the action.
//
// Buttons and their notices (AfxMessageBox):
//   201 "読込み"    the project list; "プロジェクトの読込みに失敗しました。" for a project
//                   without patterns
//   202 "新規"      empties the palette; the modified flag keeps its value
//   203             choosing a pattern; "パターンデータを表示出来ません。" when its name is gone
//   204 "新規"      a new pattern (name dialog); at most 50 ("これ以上登録できません。"); a taken
//                   name ("入力したパターン名は既に存在します。") is asked again
//   205 "削除"      "現在表示中のパターンを削除しますか？"; "最後のパターンは削除出来ません。"
//   206 "別名保存"  copies the rows to a new pattern and reads the old one again from the file
//   207 "保存"      saves a modified project: "データが保存されました。"; an unnamed project asks
//                   for a name, and for "同名のプロジェクトが存在します。上書きしますか？"
//   208/209, 328 to 334: the row area (PatternEditor)
//   211/212         pattern type; 398 to 400: at most one conduit location checked
//
// Closing: Esc (IDCANCEL) asks, writes NAME and PATTERN to LastProj.ini, destroys the palette
// and its palette set and clears PaletteInstance. Any other destruction of the window (the host
// closing) asks Yes/No, writes NAME and PATTERN and the palette set's AUTOROLLUP and OPACITY.
#pragma once

#include <acui.h>
#include <afxcmn.h>
#include <afxwin.h>
#include "controls/menu_edit.h"
#include "controls/xtip_combo_box.h"

#include "palette/list_settings.h"
#include "project/list_fill.h"
#include "project/master_lists.h"
#include "project/pattern_editor.h"
#include "project/project_model.h"

class CMainDlg : public CAcUiDialog {
 public:
  // `parent` (not owned) is the window the palette is created under.
  explicit CMainDlg(CWnd* parent);
  ~CMainDlg() override;
  CMainDlg(const CMainDlg&) = delete;
  CMainDlg& operator=(const CMainDlg&) = delete;

  // Creates the window modeless from template 200 under the parent given at construction; its
  // initialisation runs now. FALSE when the template cannot be found (Harnex's resources must be
  // current).
  BOOL Create();

  // The open project, the row area and the list table's sizes.
  ProjectModel& Project() { return project_; }
  const ProjectModel& Project() const { return project_; }
  PatternEditor& Editor() { return editor_; }
  const ListSettings& GetListSettingsRecord() const { return listSettings_; }

  // What the radio buttons show: 0 for "幹線" (211) checked, else 1.
  int GetPatternType() const;
  // What the conduit check boxes show: 1 "屋内", 2 "屋外", 3 "地中", 0 none.
  int GetConduitChoice() const;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnCancel() override;

  afx_msg void OnOpenProject();
  afx_msg void OnNewProject();
  afx_msg void OnPatternChosen();
  afx_msg void OnNewPattern();
  afx_msg void OnDeletePattern();
  afx_msg void OnSavePatternAs();
  afx_msg void OnSaveProject();
  afx_msg void OnPreviousPage();
  afx_msg void OnNextPage();
  afx_msg void OnTypeTrunk();
  afx_msg void OnTypeGeneral();
  afx_msg void OnConduitIndoor();
  afx_msg void OnConduitOutdoor();
  afx_msg void OnConduitBuried();
  afx_msg void OnRowUp();
  afx_msg void OnRowDown();
  afx_msg void OnRowInsert();
  afx_msg void OnRowDelete();
  afx_msg void OnCheckAll();
  afx_msg void OnUncheckAll();
  afx_msg void OnSearch();
  afx_msg LRESULT OnAcadKeepFocus(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  // Why a pattern becomes current: it changes what MakeCurrent refreshes.
  enum class Becomes { kLoaded, kChosen, kDeleted };

  // The pattern at `index` becomes current and is shown from page 0 (see the steps in the .cpp).
  void MakeCurrent(int index, Becomes why);
  // Asks `question` (MB_YESNOCANCEL) when the project is modified and saves on Yes. False when
  // the action that asked must not go on: Cancel, or a save that did not complete.
  bool SaveIfModified(LPCWSTR question);
  // Removes blank rows and saves the project, asking for a name when it has none. True when the
  // project file was written.
  bool Save();
  // Asks for a pattern name with the name dialog in `mode` until it is not taken. False on
  // Cancel.
  bool AskPatternName(UINT mode, CString& name);
  // The palette as after "新規" of a project: no patterns, no name, controls cleared and
  // disabled.
  void ClearProject();
  // Lists the project's pattern names in the pattern box, in list order.
  void ListPatterns();
  void EnableControls(bool enable);
  void ShowType(int type);
  void ShowConduitChoice(int choice);
  void KeepOneConduit(int checkedId);
  void TypeChosen(int type);
  void WriteLastProject();
  void CancelActiveCommand();

  ComboBoxes KoujiBoxes() { return ComboBoxes(koujiPtrs_); }
  ComboBoxes ConduitBoxes() { return ComboBoxes(conduitPtrs_); }

  CWnd* parent_;
  ProjectModel project_;
  PatternEditor editor_;
  ConstructionItems items_;
  CString masterFolder_;
  ListSettings listSettings_;
  bool closing_ = false;

  CComboBox patternBox_;
  CXTipComboBox koujiBoxes_[kPageRows];
  CComboBox keitouBoxes_[kPageRows];
  CXTipComboBox banBoxes_[kPageRows];
  CXTipComboBox conduitBoxes_[3 * kPageRows];  // indoor rows, outdoor rows, underground rows
  CMenuEdit wireSizeEdits_[kPageRows];
  CComboBox* koujiPtrs_[kPageRows] = {};
  CComboBox* keitouPtrs_[kPageRows] = {};
  CComboBox* banPtrs_[kPageRows] = {};
  CComboBox* conduitPtrs_[3 * kPageRows] = {};
};
