// The module images that come with the host, built from the exports of maker/ and app/.
#include "host/standard_images.h"

#include <windows.h>

#if HARNEX_MAKER_PRESENT
#include "maker/Veltra.h"
#endif
#if HARNEX_ADDIN_PRESENT
#include <rxobject.h>

// Harnex.arx's exports, as its module defines them.
extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* app_id);
extern "C" int acrxGetApiVersion();
extern "C" const wchar_t* HarnexAddInName() __asm__("RqAddIn_$$6525dim");
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
// The resource script that the build embeds into the add-in.
extern const char kHarnexResourceScript[];
#endif

namespace host {

std::vector<ModuleImage> StandardImages(const std::wstring& config_path) {
  std::vector<ModuleImage> images;
#if HARNEX_MAKER_PRESENT
  veltra::SetIniFile(config_path);
  images.push_back({kHostModuleName, veltra::ExportTable(), ""});
#endif
#if HARNEX_ADDIN_PRESENT
  ModuleImage harnex;
  harnex.name = kAddinModuleName;
  harnex.exports = {
      {"acrxEntryPoint", reinterpret_cast<void*>(&acrxEntryPoint)},
      {"acrxGetApiVersion", reinterpret_cast<void*>(&acrxGetApiVersion)},
      {"RqAddIn_$$6525dim", reinterpret_cast<void*>(&HarnexAddInName)},
      {"DllMain", reinterpret_cast<void*>(&DllMain)},
  };
  harnex.resource_script = kHarnexResourceScript;
  images.push_back(std::move(harnex));
#endif
  return images;
}

}  // namespace host
