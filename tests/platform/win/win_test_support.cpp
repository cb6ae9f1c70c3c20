// The temporary folder of the Win32 stand-in's tests.
#include "platform/win/win_test_support.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win/text_encoding.h"
#include <winbase.h>

namespace wintest {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "harnex-win-XXXXXX").string();
  root_ = mkdtemp(pattern.data()) ? pattern : "";
}

TempFolder::~TempFolder() {
  platform::FlushProfileFiles();
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

std::string TempFolder::Posix(const std::string& relative) const {
  return relative.empty() ? root_ : root_ + "/" + relative;
}

std::wstring TempFolder::Win(const std::wstring& relative) const {
  std::wstring path = platform::Utf8ToWide(root_);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return relative.empty() ? path : path + L"\\" + relative;
}

void TempFolder::WriteBytes(const std::string& relative, const std::string& bytes) const {
  std::ofstream out(Posix(relative), std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string TempFolder::ReadBytes(const std::string& relative) const {
  std::ifstream in(Posix(relative), std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool TempFolder::Exists(const std::string& relative) const {
  return std::filesystem::exists(Posix(relative));
}

void TempFolder::MakeFolder(const std::string& relative) const {
  std::filesystem::create_directories(Posix(relative));
}

std::string Utf16Le(const std::u16string& text) {
  std::string out;
  for (char16_t u : text) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

}  // namespace wintest
