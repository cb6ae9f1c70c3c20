// The module images that come with the host, built from the exports of maker/ and app/.
#include "tools/standard_images.h"

#include <windows.h>

#include <rxregsvc.h>

#include "app/harnex_resources.h"
#include "app/module_exports.h"
#include <Veltra.h>

namespace tools {

std::vector<host::ModuleImage> StandardImages(const std::wstring& config_path) {
  std::vector<host::ModuleImage> images;
  veltra::SetIniFile(config_path);
  images.push_back({kHostModuleName, veltra::ExportTable(), ""});
  host::ModuleImage harnex;
  harnex.name = kAddinModuleName;
  harnex.exports = {
      {"acrxEntryPoint", reinterpret_cast<void*>(&acrxEntryPoint)},
      {"acrxGetApiVersion", reinterpret_cast<void*>(&acrxGetApiVersion)},
      {"RqAddIn_$$6525dim", reinterpret_cast<void*>(&RqAddIn_6525dim)},
      {"DllMain", reinterpret_cast<void*>(&DllMain)},
  };
  harnex.resource_script = kHarnexResourceScript;
  images.push_back(std::move(harnex));
  return images;
}

}  // namespace tools
