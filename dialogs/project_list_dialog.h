// CProjList: the project list (template 203, "プロジェクト一覧"). Lists the project files of the
// project folder with their creation and update dates, sorts them by any column, copies one
// project under a new name, deletes projects, and hands the chosen project back to its caller.
//
// The list shows one row per "*.tpr" file of the project folder, in the order the file system
// gives them: the project name (the file name before its last "."), then CREATEDATE and
// UPDATEDATE of section PROJECT as stored. An empty or missing folder shows
// "プロジェクトは存在しません。" and leaves the dialog open with an empty list.
//
// What the user can do:
//   header click  sorts by that column; one direction flag serves every column and flips on each
//                 click, so the first click sorts descending. Texts compare ordinally in UTF-16.
//   "コピー"      with exactly one row selected: asks for a name (CNewProjDlg, kCopyProject); a
//                 name whose project exists is refused with "同名のプロジェクトが既に存在します。"
//                 and asked for again. The copy gets an empty UPDATEDATE and keeps everything
//                 else of its source; the list is then read again. A failed copy shows
//                 "プロジェクトのコピーに失敗しました(コード = %d)" with the Windows error code.
//                 A name that cannot be a file name of the project folder fails the same way,
//                 with ERROR_INVALID_NAME, before any file is touched.
//   "削除"        deletes the selected projects after "選択されたプロジェクトを削除してよろしい
//                 ですか？"; the project the palette shows is asked about once more. A failed
//                 delete asks "ファイルの削除に失敗しました(%d)。処理を続けますか？": Yes goes on
//                 with the next project, No stops.
//   OK / 0x3400   with exactly one row selected: that project is chosen and the dialog ends with
//                 IDOK; otherwise nothing happens.
// Copies and deletions take effect at once; Cancel does not undo them.
//
// Open it with Harnex's resources current (HarnexResourceScope); it makes them current itself
// around the name dialog it opens.
#pragma once

#include <ListCtrlEx.h>
#include <acui.h>

#include "dialogs/project_name_dialog.h"

// Ends the project list as its OK button does (no part of Harnex sends it).
inline constexpr UINT kProjectListChooseMessage = WM_USER + 0x3000;

class CProjList : public CAcUiDialog {
 public:
  // `currentProject` is the project the palette shows (deleting it asks twice); `parent` is the
  // palette, not owned.
  CProjList(const CString& currentProject, CWnd* parent);

  // After IDOK: the name of the chosen project (empty before).
  const CString& SelectedProject() const { return selectedProject_; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  afx_msg LRESULT OnAcadKeepFocus(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnChooseMessage(WPARAM wParam, LPARAM lParam);
  afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnDelete();
  afx_msg void OnCopy();
  DECLARE_MESSAGE_MAP()

 private:
  void CreateList();
  void MoveToOwner();
  // Fills the list from the project folder; true when at least one project file was found.
  bool FillList();
  // "<folder>\<name>.tpr".
  CString ProjectPath(const CString& name) const;
  // Asks for the copy's name until it is free; false when the copy ends instead.
  bool AskCopyName(CNewProjDlg& dialog, CString& name) const;
  // Deletes the project of one row and the row, after the second question when it is the
  // current project. kStop when its file could not be deleted and the user chose to stop.
  enum class DeleteResult { kDeleted, kKept, kStop };
  DeleteResult DeleteRow(int row);

  CListCtrlEx list_;
  CString currentProject_;
  bool descending_ = false;
  CString projectFolder_;
  CString selectedProject_;
};
