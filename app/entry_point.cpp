// What the CAD host sees of Harnex.arx: the DLL entry function, the ObjectARX entry point and
// the add-in identification export.
#include <windows.h>

#include <ApiComn.h>
#include <acui.h>
#include <afxwin.h>
#include <rxregsvc.h>

#include "app/command_table.h"
#include "app/harnex_module.h"
#include "app/module_exports.h"

namespace {

AFX_EXTENSION_MODULE HarnexExtension = {};
bool extension_initialised = false;

// The host add-in module's export that names its configuration file.
using GetIniFileFunction = const wchar_t* (*)();

AcRx::AppRetCode OnLoad(void* app_id) {
  // The host module must already be in the process; Harnex never loads it itself.
  HostModule = GetModuleHandleW(L"Veltra.arx");
  if (HostModule == nullptr) return AcRx::kRetError;
  auto get_ini_file =
      reinterpret_cast<GetIniFileFunction>(ApiComn_GetProcAdrs(HostModule, "RQAddinGetIniFile"));
  if (get_ini_file == nullptr) return AcRx::kRetError;
  ConfigIniPath = get_ini_file();

  AcRxDynamicLinker* linker = AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER));
  if (linker != nullptr) {
    linker->unlockApplication(app_id);
    linker->registerAppMDIAware(app_id);
  }
  if (!RegisterHarnexCommands()) {
    // A refused load leaves nothing registered.
    UnregisterHarnexCommands();
    return AcRx::kRetError;
  }
  return AcRx::kRetOK;
}

}  // namespace

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* app_id) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      return OnLoad(app_id);
    case AcRx::kUnloadAppMsg:
      UnregisterHarnexCommands();
      return AcRx::kRetOK;
    default:
      return AcRx::kRetOK;
  }
}

// acrxGetApiVersion, the release this module is built for, comes with the ObjectARX library
// that every application links, as with the real SDK.

// "RqAddIn_$$6525dim" identifies the module as an add-in application to the host add-in module.
// "$" is no C++ identifier character, so the function has a valid C++ name and the assembler
// label (in module_exports.h) gives the exported symbol its real name.
extern "C" const wchar_t* RqAddIn_6525dim() {
  return L"RQ Add In Application";
}

// Process attach and detach: an MFC extension DLL that uses the AutoCAD UI classes.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    ModuleInstance = instance;
    if (!extension_initialised) {
      extension_initialised = AfxInitExtensionModule(HarnexExtension, instance) != FALSE;
      // The CDynLinkLibrary links the module into the resource chain; MFC owns it from here.
      if (extension_initialised) new CDynLinkLibrary(HarnexExtension);
    }
    InitAcUiDLL();
  } else if (reason == DLL_PROCESS_DETACH) {
    if (extension_initialised) {
      AfxTermExtensionModule(HarnexExtension);
      extension_initialised = false;
    }
  }
  return TRUE;
}
