// Conversions between wide strings and the byte encodings of text files: UTF-8, code page 932
// (Shift_JIS as Windows extends it) and UTF-16LE, and the rule that tells a file's encoding.
//
// Wide strings hold one code point per wchar_t (wchar_t is 32 bits here); Windows counts UTF-16
// code units, so the helpers that size things the Windows way say so.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// UTF-8 bytes to code points; an invalid sequence becomes U+FFFD (one per bad byte).
std::wstring Utf8ToWide(std::string_view utf8);
// Code points to UTF-8; a lone surrogate or a value above U+10FFFF becomes U+FFFD.
std::string WideToUtf8(std::wstring_view wide);
// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// Code page 932 bytes to code points; a byte sequence without a character becomes U+30FB
// ("・"), as Windows does.
std::wstring Cp932ToWide(std::string_view cp932);
// Code points to code page 932. A character that the code page cannot hold becomes "?", and
// *lossy (when given) is set; characters that the code page holds only as a look-alike (U+301C
// WAVE DASH, U+2212 MINUS SIGN, U+00A5 YEN SIGN, ...) count as not held.
std::string WideToCp932(std::wstring_view wide, bool* lossy = nullptr);
// As WideToCp932, but a character the code page holds only as a look-alike is written as that
// look-alike (Windows' "best fit"); only characters without one become "?" and set *lossy.
std::string WideToCp932BestFit(std::wstring_view wide, bool* lossy = nullptr);
// True when converting the text to code page 932 and back gives it unchanged.
bool IsCp932Representable(std::wstring_view wide);

// UTF-16LE bytes (no BOM handling) to code points; surrogate pairs are joined, a lone surrogate
// becomes U+FFFD, an odd last byte is dropped.
std::wstring Utf16LeToWide(std::string_view bytes);
// Code points to UTF-16LE bytes (no BOM); characters above U+FFFF become surrogate pairs.
std::string WideToUtf16Le(std::wstring_view wide);
// The number of UTF-16 code units the text takes on Windows.
size_t Utf16Length(std::wstring_view wide);

enum class TextEncoding {
  kUtf16Le,  // with BOM
  kUtf8Bom,  // UTF-8 with BOM
  kUtf8,     // valid UTF-8 without BOM (pure ASCII counts as this)
  kCp932,    // anything else
};

// Decodes the bytes of a text file: UTF-16LE with BOM, UTF-8 with BOM, valid UTF-8, else code
// page 932. The BOM is not part of the result; line ends are left as they are.
std::wstring DecodeText(std::string_view bytes, TextEncoding* encoding = nullptr);
// Encodes text in that encoding, with the BOM that it calls for.
std::string EncodeText(std::wstring_view text, TextEncoding encoding);

}  // namespace platform
