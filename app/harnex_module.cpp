// Module-level state of Harnex.arx and the document lock.
#include "app/harnex_module.h"

#include <acdocman.h>
#include <acutads.h>

HINSTANCE ModuleInstance = nullptr;
HMODULE HostModule = nullptr;
CString ConfigIniPath;
CMainDlg* PaletteInstance = nullptr;
CPaletteDialog* PaletteSetInstance = nullptr;
CDrawNote* NoteDragInstance = nullptr;
CCheckDlg* CheckDlgInstance = nullptr;

bool LockCurrentDocument(bool lock) {
  AcApDocument* doc = acDocManager->curDocument();
  if (doc == nullptr) {
    acutPrintf(L"\nERROR:ｶﾚﾝﾄﾄﾞｷｭﾒﾝﾄを取得出来ません。");
    return false;
  }
  if (lock) {
    Acad::ErrorStatus es = acDocManager->lockDocument(doc, AcAp::kWrite, nullptr, nullptr, true);
    if (es != Acad::eOk) {
      acutPrintf(L"\nERROR:ﾄﾞｷｭﾒﾝﾄをﾛｯｸ出来ません。(%d)", static_cast<int>(es));
      return false;
    }
    return true;
  }
  Acad::ErrorStatus es = acDocManager->unlockDocument(doc);
  if (es != Acad::eOk) {
    acutPrintf(L"\nERROR:ﾄﾞｷｭﾒﾝﾄﾛｯｸを解除出来ません。(%d)", static_cast<int>(es));
    return false;
  }
  return true;
}
