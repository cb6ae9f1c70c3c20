// The current resource module and the lookup of its dialog templates and strings.
#include "afxstr.h"

namespace platform::mfc {

bool LookupResourceString(UINT id, std::wstring* out) {
  return false;
}

}  // namespace platform::mfc
