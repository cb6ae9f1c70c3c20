// A working copy of the bundled system folder with a host configuration file that names it: what
// the demo runs in and what tests of Harnex's features boot their sessions on.
//
//   auto folder = tools::SystemFolderCopy::Create("", &error);   // a new temporary folder
//   host::Session::Options options = tools::HarnexSessionOptions();
//   options.config_path = folder->config_path();
#pragma once

#include <memory>
#include <string>

namespace tools {

class SystemFolderCopy {
 public:
  // Copies the bundled examples/system into DIR/system (DIR created if missing; empty: a new
  // temporary folder, removed again when the copy is destroyed) and writes DIR/harnex.ini with
  // section "環境設定", key "ｼｽﾃﾑ" naming DIR/system, as Windows writes INI files. Null with a
  // message in *error when a step fails.
  static std::unique_ptr<SystemFolderCopy> Create(const std::string& dir, std::string* error);
  ~SystemFolderCopy();
  SystemFolderCopy(const SystemFolderCopy&) = delete;
  SystemFolderCopy& operator=(const SystemFolderCopy&) = delete;

  const std::string& root() const { return root_; }
  std::string system_folder() const { return root_ + "/system"; }
  // The host configuration file, wide for Session::Options::config_path.
  std::wstring config_path() const;

  // Writes the copy's LastProj.ini as a palette closed on `project` and `pattern` leaves it, so
  // that the next palette opens there; the file is on disk when this returns. False when it
  // cannot be written.
  bool RememberProject(const std::wstring& project, const std::wstring& pattern) const;

  // Keeps a temporary folder on disk after destruction (the demo shows where it is).
  void Keep() { remove_ = false; }

 private:
  SystemFolderCopy(std::string root, bool remove) : root_(std::move(root)), remove_(remove) {}
  std::string root_;
  bool remove_;
};

// The folder of the bundled examples: $HARNEX_SOURCE_DIR/examples when set (tests run from the
// build folder), else the source tree's examples folder known at build time.
std::string BundledExamplesDir();

}  // namespace tools
