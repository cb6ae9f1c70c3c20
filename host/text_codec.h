// Text conversions at the host's edges: script files in, the UTF-8 transcript out.
#pragma once

#include <string>
#include <string_view>

namespace host {

// Decodes a text file's bytes: UTF-16LE with BOM, UTF-8 with BOM, valid UTF-8, else code page
// 932 (as Windows reads it: a byte sequence without a character becomes U+30FB). The BOM is not
// part of the result; never fails.
std::wstring DecodeTextFile(std::string_view bytes);

// UTF-8 to wide text; invalid sequences become U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
// Wide text to UTF-8; a lone surrogate or an out-of-range value becomes U+FFFD.
std::string WideToUtf8(std::wstring_view wide);

}  // namespace host
