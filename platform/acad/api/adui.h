// AutoCAD's UI base classes (AdUi): the dialog base and the palette set that hosts a dialog.
#pragma once

#include <afxwin.h>

// AutoCAD asks its modeless dialogs whether they keep the keyboard focus (TRUE: keep it).
#define WM_ACAD_KEEPFOCUS (WM_USER + 0x6D01)

class CAdUiBaseDialog : public CDialog {
 public:
  using CDialog::CDialog;
};

class CAdUiDialog : public CAdUiBaseDialog {
 public:
  explicit CAdUiDialog(UINT idd, CWnd* pParent = nullptr, HINSTANCE hDialogResource = nullptr)
      : CAdUiBaseDialog(idd, pParent) {}
};

// A palette set: a window beside the drawing that hosts a dialog. Roll-up and opacity are
// remembered as the user would set them; opacity is clamped to 0..100.
class CAdUiPaletteSet : public CControlBar {
 public:
  CAdUiPaletteSet() = default;
  // Creates the palette set window (hidden until shown); FALSE when it exists already.
  virtual BOOL Create(LPCTSTR strTitle, DWORD dwStyle, const RECT& rect, CWnd* pwndParent,
                      DWORD dwPaletteSetStyle = 0);
  // Puts the dialog inside the palette set (the dialog keeps its own window and is shown with
  // the set); FALSE for a dialog without a window.
  BOOL HostDialog(CWnd* dialog);
  CWnd* GetHostedDialog() const { return hosted_; }
  BOOL GetAutoRollup() const { return auto_rollup_; }
  void SetAutoRollup(BOOL bAutoRollup = TRUE) { auto_rollup_ = bAutoRollup ? TRUE : FALSE; }
  int GetOpacity() const { return opacity_; }
  // FALSE (and no change) for a value outside 0..100.
  BOOL SetOpacity(int nOpacity);
  CString GetName() const;

 private:
  CWnd* hosted_ = nullptr;
  BOOL auto_rollup_ = FALSE;
  int opacity_ = 100;
};
