// Fuzz target: a resource script (.rc text) as the toolkit reads dialog templates from it.
#include "platform/mfc/resource_script.h"

#include <string>

#include "fuzz/fuzz_targets.h"

namespace fuzz {

void ResourceScript(std::string_view bytes) {
  platform::mfc::ResourceScript script;
  std::string error;
  if (platform::mfc::ParseResourceScript(std::string(bytes), &script, &error)) {
    FUZZ_CHECK(error.empty(), "a script that is read has no error");
    for (const auto& [id, dialog] : script.dialogs)
      FUZZ_CHECK(dialog.id == id, "a dialog is filed under its id");
  } else {
    FUZZ_CHECK(error.rfind("line ", 0) == 0, "an error names its line");
  }
}

}  // namespace fuzz
