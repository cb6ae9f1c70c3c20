// CDetailDlg: the wire size detail dialog (template 206, "配線サイズ詳細"). It composes the text
// of a wire-size edit of the palette from three drop-down lists: a wire size group, a size of
// that group and an earth size, and hands the result back to the palette by posted messages.
//
// Where the lists come from: "<system>\複数配線\幹線" for a trunk pattern (wiring type 0), else
// "<system>\複数配線\一般", the system folder as ApiComn_GetEnv gives it (DetailMasterListFolder):
//   配線サイズ.dat    GROUP|SIZE   the group box lists the groups, the size box the sizes of the
//                                  chosen group (in file order, repeats kept)
//   アースサイズ.dat  EARTH        the earth box
// In the group and earth boxes a value is added only when it differs from the record before, so
// runs of one value show once while a value that comes back later shows again. A list that cannot
// be read leaves its box empty; the dialog never shows a message.
//
// At opening it stands 2 pixels left of the edit and 3 pixels below it and pre-selects what the
// edit's text begins with: the longest group, then in the rest (leading blanks dropped) the
// longest size of that group, then in what remains the longest earth size. Where nothing matches
// the box keeps its first entry, and so do the boxes after it.
//
// OK posts kSizeDetailChosen (wParam: the address of the result, lParam: the row) to the palette;
// the result is group and size written together, then " " and the earth size unless that is empty
// or "-". Cancel posts kSizeDetailCancelled (wParam 0, lParam: the row). Either way the dialog
// only hides; the palette destroys the window when it handles the message and then releases the
// object, so the result stays valid until then.
#pragma once

#include <acui.h>

#include "controls/ex_combo_box.h"

// Posted to the palette by OK and Cancel (WM_USER + 0x3004, WM_USER + 0x3005).
constexpr UINT kSizeDetailChosen = 0x3404;
constexpr UINT kSizeDetailCancelled = 0x3405;

class CDetailDlg : public CAcUiDialog {
 public:
  // `wiringType`: 0 trunk, anything else general. `row` comes back unchanged in both messages.
  // `edit` (not owned, may be null) gives the place and the initial text; `palette` (not owned)
  // is the parent and receives the messages.
  CDetailDlg(UINT wiringType, UINT row, CWnd* edit, CWnd* palette);
  CDetailDlg(const CDetailDlg&) = delete;
  CDetailDlg& operator=(const CDetailDlg&) = delete;

  // Creates the modeless window from template 206 under the palette; initialisation runs now.
  // FALSE when the template cannot be found (Harnex's resources must be current).
  virtual BOOL Create();
  using CAcUiDialog::Create;  // the dialog's own overloads stay visible beside this one

  // The composed text of the last OK (empty before).
  const CString& Result() const { return result_; }
  UINT Row() const { return row_; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  afx_msg LRESULT OnAcadKeepFocus(WPARAM wParam, LPARAM lParam);
  afx_msg void OnGroupChanged();
  DECLARE_MESSAGE_MAP()

 private:
  // "<list folder>\<file>".
  CString ListPath(LPCWSTR file) const;
  // Fills `box` with the first fields of `file`, consecutive repeats collapsed, and selects the
  // first entry. A file that cannot be read leaves the box empty.
  void FillFirstFields(CComboBox& box, LPCWSTR file);
  // Refills the size box with the sizes of the selected group; see the header comment.
  void FillSizes();
  void PlaceBelowEdit();
  // Selects the longest entry of `box` that `text` begins with (the first of equal length) and
  // returns the text after it without leading white space; empty when nothing matches.
  static CString SelectLongestPrefix(CComboBox& box, const CString& text);

  CExComboBox earthBox_;
  CExComboBox sizeBox_;
  CExComboBox groupBox_;
  CString result_;
  CWnd* palette_;
  CWnd* edit_;
  UINT row_;
  UINT wiringType_;
  CString listFolder_;
  CString initialText_;
};
