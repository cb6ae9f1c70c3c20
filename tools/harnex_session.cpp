// Sessions of Harnex: the installed modules and the palette's view.
#include "tools/harnex_session.h"

#include <algorithm>

#include "tools/palette_view.h"
#include "tools/standard_images.h"

namespace tools {

host::Session::Options HarnexSessionOptions() {
  host::Session::Options options;
  options.installed_images = StandardImages;
  options.start_modules = {kHostModuleName, kAddinModuleName};
  options.palette_view = DescribePalette;
  return options;
}

void SkipAtStart(host::Session::Options* options, const wchar_t* name) {
  std::erase(options->start_modules, std::wstring(name));
}

}  // namespace tools
