// Module-level state of Harnex.arx and the document lock that every drawing command takes.
//
// One value per loaded module, not per document. The instance pointers are set and cleared by
// the pieces that own those windows (the palette, the note placement object, the settings check
// dialog); this file only holds them so that commands and dialogs can find each other.
#pragma once

#include <windows.h>

#include <afxwin.h>

class CMainDlg;
class CPaletteDialog;
class CDrawNote;
class CCheckDlg;

// Instance handle of Harnex.arx, remembered at process attach; its resources hold the dialogs.
extern HINSTANCE ModuleInstance;

// Handle of the host add-in module Veltra.arx in the process, found at load. The note drawing
// looks up the host's export "RQAddin_perpendicular" through it.
extern HMODULE HostModule;

// Path of the host's configuration file as its export "RQAddinGetIniFile" reported it at load.
// Dialogs pass it to ApiComn_GetEnv (section "環境設定", key "ｼｽﾃﾑ") to find the system folder.
extern CString ConfigIniPath;

// The one open palette, or null.
extern CMainDlg* PaletteInstance;
// The palette set that hosts the palette, or null.
extern CPaletteDialog* PaletteSetInstance;
// The one note or list placement object, or null.
extern CDrawNote* NoteDragInstance;
// The one settings check dialog, or null.
extern CCheckDlg* CheckDlgInstance;

// Takes (lock true) or releases (lock false) the write lock of the current document. On failure
// prints the reason on the command line and returns false:
//   no current document       "\nERROR:ｶﾚﾝﾄﾄﾞｷｭﾒﾝﾄを取得出来ません。" (the lock is not tried)
//   the lock is refused       "\nERROR:ﾄﾞｷｭﾒﾝﾄをﾛｯｸ出来ません。(%d)" with the status number
//   the unlock is refused     "\nERROR:ﾄﾞｷｭﾒﾝﾄﾛｯｸを解除出来ません。(%d)" with the status number
bool LockCurrentDocument(bool lock);
