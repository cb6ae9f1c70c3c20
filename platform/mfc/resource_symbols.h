// The Windows names a resource script may use without defining them: window, control and
// dialog styles, control class and language identifiers, with their values.
#pragma once

#include <map>
#include <string>

namespace platform::mfc {

const std::map<std::string, long>& KnownResourceSymbols();

}  // namespace platform::mfc
