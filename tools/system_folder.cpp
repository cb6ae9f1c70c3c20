// A working copy of the bundled system folder and its host configuration file.
#include "tools/system_folder.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>

#include "platform/win/text_encoding.h"

#ifndef HARNEX_EXAMPLES_DIR
#define HARNEX_EXAMPLES_DIR "examples"
#endif

namespace tools {
namespace fs = std::filesystem;

std::string BundledExamplesDir() {
  if (const char* source = std::getenv("HARNEX_SOURCE_DIR"); source && *source) {
    return std::string(source) + "/examples";
  }
  return HARNEX_EXAMPLES_DIR;
}

namespace {

// What sessions write into a system folder, never part of the example: the palette's memory of
// the last project, and the projects kept when a session ended with unsaved edits.
bool WrittenBySessions(const fs::path& file) {
  const std::string name = file.filename().string();
  const std::string recovered = ".recovered.tpr";
  return name == "LastProj.ini" ||
         (name.size() > recovered.size() &&
          name.compare(name.size() - recovered.size(), recovered.size(), recovered) == 0);
}

// Copies the example's folder `from` into `to`, leaving out what sessions wrote there (a user
// who ran the example in the checkout leaves LastProj.ini behind).
void CopyExampleFiles(const fs::path& from, const fs::path& to, std::error_code* ec) {
  for (fs::recursive_directory_iterator it(from, *ec), end; !*ec && it != end; it.increment(*ec)) {
    const fs::path target = to / fs::relative(it->path(), from, *ec);
    if (*ec) return;
    if (it->is_directory()) {
      fs::create_directories(target, *ec);
    } else if (!WrittenBySessions(it->path())) {
      fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, *ec);
    }
  }
}

}  // namespace

std::unique_ptr<SystemFolderCopy> SystemFolderCopy::Create(const std::string& dir,
                                                           std::string* error) {
  fs::path root = dir;
  const bool temporary = dir.empty();
  if (temporary) {
    std::string pattern = (fs::temp_directory_path() / "harnex-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      *error = "cannot make a temporary folder";
      return nullptr;
    }
    root = pattern;
  }
  std::error_code ec;
  root = fs::absolute(root, ec);
  std::unique_ptr<SystemFolderCopy> copy(new SystemFolderCopy(root.string(), temporary));
  const fs::path bundled = fs::path(BundledExamplesDir()) / "system";
  fs::create_directories(root / "system", ec);
  if (!ec && fs::exists(bundled)) CopyExampleFiles(bundled, root / "system", &ec);
  if (ec) {
    *error = "cannot copy " + bundled.string() + " into " + root.string() + ": " + ec.message();
    return nullptr;
  }
  // The profile functions cache what they write; the session's modules read the file from disk.
  const std::wstring config = copy->config_path();
  const std::wstring system = platform::Utf8ToWide(copy->system_folder());
  if (!WritePrivateProfileStringW(L"環境設定", L"ｼｽﾃﾑ", system.c_str(), config.c_str()) ||
      platform::FlushProfileFiles() != ERROR_SUCCESS) {
    *error = "cannot write " + platform::WideToUtf8(config);
    return nullptr;
  }
  return copy;
}

SystemFolderCopy::~SystemFolderCopy() {
  if (!remove_) return;
  std::error_code ec;
  fs::remove_all(root_, ec);
}

bool SystemFolderCopy::RememberProject(const std::wstring& project,
                                       const std::wstring& pattern) const {
  const std::wstring file = platform::Utf8ToWide(system_folder()) + L"\\プロジェクト\\LastProj.ini";
  return WritePrivateProfileStringW(L"KORMAN_CABLIX", L"NAME", project.c_str(), file.c_str()) &&
         WritePrivateProfileStringW(L"KORMAN_CABLIX", L"PATTERN", pattern.c_str(), file.c_str()) &&
         WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
}

std::wstring SystemFolderCopy::config_path() const {
  return platform::Utf8ToWide(root_ + "/harnex.ini");
}

}  // namespace tools
