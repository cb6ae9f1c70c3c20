// The current resource module and the lookup of dialog templates and strings in the scripts of
// the resource modules.
#pragma once

#include <string>

#include "platform/mfc/resource_script.h"
#include <windef.h>

namespace platform::mfc {

// The template with this id from the current resource module, else from the extension modules
// (newest first), else from the program's module. Null when none has it; a script that does not
// parse is reported once on standard error with its line and then treated as empty.
const DialogTemplate* FindDialogTemplate(int id);

// The last parse error of a module's script, empty when it parsed (or was not read yet).
std::string ResourceScriptError(HMODULE module);

}  // namespace platform::mfc
