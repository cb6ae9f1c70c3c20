// AutoCAD's UI classes (AcUi): the dialog class that add-in dialogs derive from, and the host's
// main, document and command-line windows.
#pragma once

#include "adui.h"

class CAcUiDialog : public CAdUiDialog {
 public:
  explicit CAcUiDialog(UINT idd, CWnd* pParent = nullptr, HINSTANCE hDialogResource = nullptr)
      : CAdUiDialog(idd, pParent, hDialogResource) {}
};

// Initialises the AcUi library; harmless to call more than once.
void InitAcUiDLL();
// The host's main frame window and the window of the active drawing, made on first use; they
// live until the process ends.
HWND adsw_acadMainWnd();
HWND adsw_acadDocWnd();
CMDIFrameWnd* acedGetAcadFrame();
// The command line's text window: a WM_CHAR of Esc (27) sent or posted to it cancels the active
// command's prompt (platform::RequestCancel).
CWnd* acedGetAcadTextCmdLine();
