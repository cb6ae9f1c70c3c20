// The module images that come with the host: the maker's host module and Harnex itself.
#pragma once

#include <string>
#include <vector>

#include "host/session/module_loader.h"

namespace tools {

inline constexpr const wchar_t* kHostModuleName = L"Veltra.arx";
inline constexpr const wchar_t* kAddinModuleName = L"Harnex.arx";

// The images of Veltra.arx (its exports; it reports `config_path` as the host configuration
// file) and Harnex.arx (acrxEntryPoint, acrxGetApiVersion, RqAddIn_$$6525dim, DllMain and its
// embedded resource script). An image whose code is not part of this build is left out.
std::vector<host::ModuleImage> StandardImages(const std::wstring& config_path);

}  // namespace tools
