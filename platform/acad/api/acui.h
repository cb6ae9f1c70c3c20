// AutoCAD's UI classes (AcUi): the dialog class that add-in dialogs derive from, and the host's
// main, document and command-line windows.
#pragma once

#include <adui.h>

class CAcUiDialog : public CAdUiDialog {
 public:
  explicit CAcUiDialog(UINT idd, CWnd* pParent = nullptr, HINSTANCE hDialogResource = nullptr)
      : CAdUiDialog(idd, pParent, hDialogResource) {}
};

// The colour drop-down of AcUi, reduced to its conversions between AutoCAD colour indexes and
// RGB colours (nothing here draws the drop-down itself).
class CAcUiColorComboBox : public CComboBox {
 public:
  // The RGB colour of AutoCAD colour index `colorIndex` (1..255): 1 red, 2 yellow, 3 green,
  // 4 cyan, 5 blue, 6 magenta, 7 white, 8 and 9 greys, 10..249 24 hues at five brightnesses in
  // full and half saturation, 250..255 greys. Out of range (ByBlock 0, ByLayer 256, others):
  // white, as the palette shows them.
  static COLORREF GetColorFromIndex(int colorIndex);
  // The colour index whose RGB colour is `color`, else the nearest one (least squared
  // distance; the lower index on a tie). Always 1..255.
  static int GetColorIndex(COLORREF color);
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
