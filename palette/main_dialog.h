// CMainDlg: the palette, a modeless dialog (template 200, "複数配線情報設定") inside the palette
// set "複数配線". In it the user opens, creates and saves projects, creates, chooses, copies and
// deletes patterns and edits the rows of the current pattern.
//
// There is at most one palette per process: the palette command (palette_command.h) makes it and
// keeps it in PaletteInstance. The drawing commands read it only as PaletteAccess
// (app/palette_access.h), which it implements. It owns the open project (ProjectModel) and the
// row area (PatternEditor) and never loses unsaved edits without asking:
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
//   210 "取込"      rows of a pattern of any project (CInsDataDlg), inserted before the marked
//                   row; without a marked row "挿入する位置を指定して下さい。" (import_rows.cpp)
//   207 "保存"      saves a modified project: "データが保存されました。"; an unnamed project asks
//                   for a name, and for "同名のプロジェクトが存在します。上書きしますか？"
//   208/209, 328 to 334: the row area (PatternEditor)
//   211/212         pattern type; 398 to 400: at most one conduit location checked
//   335, 336, 340, 344, 387, 389, 391, 402: the drawing commands (command_buttons.cpp)
//   0x3403 (0x3402)  from a wire-size edit: the size detail (CDetailDlg) for its row, one at a
//                   time; its OK (0x3404) puts the composed text into the edit, OK and Cancel
//                   (0x3405) take the edit's highlight away and destroy it (size_detail.cpp)
//
// Drawing commands are never called directly: a button posts WM_ACTIVATE (WA_ACTIVE) to the
// drawing window and queues the command's name on the command line (ApiComn_sendCommand), so
// that the command runs in the document after the handler has returned, as if typed:
//   387 "自動付与"      collects, removes blank rows, shows; RQ_HARNEX_AUTOSET when a checked row
//                       is not empty, else "設定するデータをチェックボックスで選択して下さい。"
//   336 "個別付与"      collects; RQ_HARNEX_MANUALSET on the same condition and notice
//   344 "リスト作成"    collects, removes blank rows, shows; RQ_HARNEX_LIST (checks do not matter)
//   340 "配線情報記入"  the note settings (CNoteSetting over the button); RQ_HARNEX_DRAWNOTE on OK
//   402 "詳"            the list details (CListDetailDlg); OK replaces the list settings
//   335 "設定確認"      the settings check window, made once (CheckDlgInstance), else brought up
//   391 "盤番号設定"    RQ_EQUIPNUM, without activating the drawing window
//   389 "打込配管"      RQ_SPLITDUCT
// 387, 336 and 344 do nothing without a current pattern. The note check boxes 341 to 343 start
// unchecked, checked, checked.
//
// Closing: Esc (IDCANCEL) asks, writes NAME and PATTERN to LastProj.ini, destroys the palette
// and its palette set and clears PaletteInstance. Any other destruction of the window (the host
// closing) asks Yes/No, writes NAME and PATTERN and the palette set's AUTOROLLUP and OPACITY.
#pragma once

#include <acui.h>
#include <afxcmn.h>
#include <afxwin.h>

#include <memory>

#include "annotation/annotation_settings.h"
#include "app/palette_access.h"
#include "controls/menu_edit.h"
#include "controls/xtip_combo_box.h"
#include "project/list_fill.h"
#include "project/master_lists.h"
#include "project/pattern_editor.h"
#include "project/project_model.h"

class CCheckDlg;
class CDetailDlg;

class CMainDlg : public CAcUiDialog, public PaletteAccess {
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
  using CAcUiDialog::Create;  // the dialog's own overloads stay visible beside this one

  // The open project, the row area and the list table's sizes.
  ProjectModel& Project() { return project_; }
  const ProjectModel& Project() const { return project_; }
  PatternEditor& Editor() { return editor_; }
  // The open wire size detail dialog, or null.
  CDetailDlg* SizeDetail() const { return detailDialog_.get(); }
  const ListSettings& GetListSettingsRecord() const { return listSettings_; }

  // ---- What the drawing commands read (PaletteAccess, app/palette_access.h) ----------------
  BOOL GetAllRowData(CPtrArray& rows) const override;
  bool GetRowData(int row, CStringArray& values) const override;
  bool FindCheckedRowByPanelName(const CString& text, int& row) const override;
  int GetCheckedRows(CUIntArray& rows) const override;
  void GetListSettings(double* textHeight, double* textWidth, double* rowHeight, double* leftMargin,
                       double* rightMargin) const override;
  void GetNoteFlags(bool flags[3]) const override;
  int GetConduitChoice() const override;
  CString ConstructionItemName(CString& name, const CString& code) const override;
  int GetPatternType() const override;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnCancel() override;
  // Enter in the palette (in an edit, or on a button without a command of its own) reaches the
  // hidden default button. A palette window does not close on Enter, as the CAD host's palettes
  // do not: what was typed stays in its edit and nothing else happens.
  void OnOK() override {}

  afx_msg void OnOpenProject();
  afx_msg void OnNewProject();
  afx_msg void OnPatternChosen();
  afx_msg void OnNewPattern();
  afx_msg void OnDeletePattern();
  afx_msg void OnSavePatternAs();
  afx_msg void OnImportRows();
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
  afx_msg void OnAutoSet();
  afx_msg void OnManualSet();
  afx_msg void OnDrawNote();
  afx_msg void OnDrawList();
  afx_msg void OnListSettings();
  afx_msg void OnCheckSettings();
  afx_msg void OnEquipmentNumbers();
  afx_msg void OnSplitDuct();
  afx_msg LRESULT OnAcadKeepFocus(WPARAM wParam, LPARAM lParam);
  // wParam: the control row (0 to 9; others are ignored).
  afx_msg LRESULT OnSizeDetailAsked(WPARAM wParam, LPARAM lParam);
  // wParam: the composed text (const CString*, owned by the detail dialog); lParam: the row.
  afx_msg LRESULT OnSizeDetailChosen(WPARAM wParam, LPARAM lParam);
  // lParam: the row.
  afx_msg LRESULT OnSizeDetailCancelled(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  // When the session ends (palette/recovery_notice.h): whether edits would be lost, and the
  // recovery project that keeps them.
  afx_msg LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
  bool HasUnsavedEdits();  // the page collected first
  LRESULT OnRecoveryNotice(WPARAM capacity, LPARAM buffer);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
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
  // Queues `command` on the drawing's command line, after activating the drawing window unless
  // `activate` is false.
  void SendCommand(LPCWSTR command, bool activate = true);
  // "自動付与" and "個別付与": the command when a checked row is not empty, else the notice.
  void SendWhenRowsChecked(LPCWSTR command);
  // The detail dialog's end: the edit of `row` (when 0 to 9) loses its highlight, then the
  // dialog's window is destroyed and the object released.
  void EndSizeDetail(UINT row);

  ComboBoxes KoujiBoxes() { return ComboBoxes(koujiPtrs_); }
  ComboBoxes ConduitBoxes() { return ComboBoxes(conduitPtrs_); }

  CWnd* parent_;
  ProjectModel project_;
  PatternEditor editor_;
  ConstructionItems items_;
  CString masterFolder_;
  ListSettings listSettings_;
  bool closing_ = false;
  // The settings check window made by "設定確認"; CheckDlgInstance says whether it is open.
  std::unique_ptr<CCheckDlg> checkDialog_;
  // The wire size detail dialog while it is open; released after its window is destroyed.
  std::unique_ptr<CDetailDlg> detailDialog_;

  // The row area's boxes, named by their columns (PatternColumn): kouji construction item,
  // keitou system number, ban panel or load name.
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
