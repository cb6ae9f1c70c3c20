// Fuzz target: the text decoder and the INI parser with its write-back.
#include "platform/win/profile_file.h"
#include "platform/win/text_encoding.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_targets.h"

namespace fuzz {
namespace {

using platform::ProfileFile;
using platform::TextEncoding;

// What a reader of the file sees: every section with its keys and their values, in file order.
using Keys = std::vector<std::pair<std::wstring, std::wstring>>;
using Sections = std::vector<std::pair<std::wstring, Keys>>;

Sections SeenIn(const ProfileFile& file) {
  Sections seen;
  for (const std::wstring& section : file.SectionNames()) {
    std::vector<std::wstring> names;
    FUZZ_CHECK(file.KeyNames(section, &names), "a listed section has keys");
    Keys keys;
    for (const std::wstring& key : names) {
      const std::optional<std::wstring_view> value = file.Find(section, key);
      FUZZ_CHECK(value.has_value(), "a listed key is found");
      keys.emplace_back(key, std::wstring(*value));
    }
    seen.emplace_back(section, std::move(keys));
  }
  return seen;
}

// A value for a key that a Windows profile file can hold: one line, no blanks around it.
std::wstring ValueFrom(std::wstring_view text) {
  std::wstring value;
  for (wchar_t c : text.substr(0, 12)) {
    if (c >= 0x20 && c != 0x7F && c != 0x3000 && c != 0x85 && c != 0x2028 && c != 0x2029)
      value.push_back(c);
  }
  while (!value.empty() && value.back() == L' ') value.pop_back();
  while (!value.empty() && value.front() == L' ') value.erase(0, 1);
  return value.empty() ? L"値" : value;
}

void CheckDecoder(std::string_view bytes) {
  TextEncoding encoding;
  const std::wstring text = platform::DecodeText(bytes, &encoding);
  // Decoded text written in a Unicode encoding and decoded again is the same text.
  for (TextEncoding unicode : {TextEncoding::kUtf16Le, TextEncoding::kUtf8Bom}) {
    TextEncoding again;
    FUZZ_CHECK(platform::DecodeText(platform::EncodeText(text, unicode), &again) == text,
               "decoded text survives encoding in UTF-16LE and UTF-8 with BOM");
    FUZZ_CHECK(again == unicode, "an encoded text's encoding is recognised");
  }
  // Every single decoder and encoder takes any bytes and any text.
  const std::wstring from_utf8 = platform::Utf8ToWide(bytes);
  FUZZ_CHECK(platform::IsValidUtf8(bytes) == (platform::WideToUtf8(from_utf8) == bytes),
             "exactly valid UTF-8 survives decoding and encoding");
  platform::Utf16LeToWide(bytes);
  const std::wstring from_cp932 = platform::Cp932ToWide(bytes);
  bool lossy = false;
  platform::WideToCp932(text, &lossy);
  platform::WideToCp932BestFit(text, &lossy);
  platform::IsCp932Representable(text);
  FUZZ_CHECK(platform::Utf16Length(text) >= text.size(), "UTF-16 needs a unit per character");
  FUZZ_CHECK(platform::Utf8ToWide(platform::WideToUtf8(from_cp932)) == from_cp932,
             "text from code page 932 survives UTF-8");
}

void CheckProfile(std::string_view bytes) {
  ProfileFile file = ProfileFile::Parse(bytes);
  const Sections seen = SeenIn(file);
  FUZZ_CHECK(SeenIn(ProfileFile::Parse(file.Serialize())) == seen,
             "a file written back reads the same");

  // A key set in the file's first section (or a new one) is read back after writing, and the
  // other keys stay as they were.
  const std::wstring section = seen.empty() ? L"FUZZ" : seen.front().first;
  const std::wstring key =
      seen.empty() || seen.front().second.empty() ? L"KEY" : seen.front().second.front().first;
  std::wstring value = ValueFrom(platform::DecodeText(bytes.substr(bytes.size() / 2)));
  // A key read from a line "[..." without "]" is a key only while its value has no "]": written
  // back with one, its line is a section header, for Windows as for us. Such a value is no value
  // a profile file can hold for that key.
  if (!key.empty() && key.front() == L'[') {
    std::erase(value, L']');
    if (value.empty()) value = L"値";
  }
  file.Set(section, key, value);
  Sections expected = seen;
  if (expected.empty()) expected.push_back({section, {}});
  Keys& first = expected.front().second;
  if (first.empty())
    first.emplace_back(key, value);
  else
    first.front().second = value;
  FUZZ_CHECK(SeenIn(file) == expected, "a set key changes that key only");
  FUZZ_CHECK(SeenIn(ProfileFile::Parse(file.Serialize())) == expected,
             "a set key is read back from the written file");
}

}  // namespace

void TextAndProfile(std::string_view bytes) {
  CheckDecoder(bytes);
  CheckProfile(bytes);
}

}  // namespace fuzz
