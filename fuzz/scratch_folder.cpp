// The fuzz targets' temporary folder.
#include "fuzz/scratch_folder.h"

#include <stdlib.h>
#include "platform/win/text_encoding.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fuzz/fuzz_targets.h"

namespace fuzz {

namespace fs = std::filesystem;

namespace {
std::string* folder = nullptr;

void RemoveFolder() {
  std::error_code ec;
  fs::remove_all(*folder, ec);
}
}  // namespace

const std::string& ScratchFolder() {
  if (folder == nullptr) {
    std::string pattern = (fs::temp_directory_path() / "harnex-fuzz-XXXXXX").string();
    FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr, "a temporary folder can be made");
    folder = new std::string(pattern);
    std::atexit(RemoveFolder);
  }
  return *folder;
}

std::wstring WindowsPath(const std::string& posix) {
  std::wstring path = platform::Utf8ToWide(posix);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

void OverwriteFile(const std::string& posix, std::string_view bytes) {
  std::ofstream out(posix, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  FUZZ_CHECK(out.good(), "the input file can be written");
}

}  // namespace fuzz
