// Text conversions at the host's edges, over the Win32 stand-in's code-page helpers.
#include "host/text_codec.h"

#include <text_encoding.h>

namespace host {

std::wstring DecodeTextFile(std::string_view bytes) {
  return platform::DecodeText(bytes);
}
std::wstring Utf8ToWide(std::string_view utf8) {
  return platform::Utf8ToWide(utf8);
}
std::string WideToUtf8(std::wstring_view wide) {
  return platform::WideToUtf8(wide);
}

}  // namespace host
