// A temporary folder for the Win32 stand-in's tests, with paths in both forms.
#pragma once

#include <string>

namespace wintest {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // POSIX path (UTF-8) of a name below the folder ("" is the folder itself).
  std::string Posix(const std::string& relative = "") const;
  // The same path in the Windows form that callers build: components joined with "\".
  std::wstring Win(const std::wstring& relative = L"") const;

  void WriteBytes(const std::string& relative, const std::string& bytes) const;
  // The file's bytes; "<missing>" when it cannot be read.
  std::string ReadBytes(const std::string& relative) const;
  bool Exists(const std::string& relative) const;
  void MakeFolder(const std::string& relative) const;

 private:
  std::string root_;
};

// UTF-16LE bytes of a text, written out unit by unit (for expected file contents).
std::string Utf16Le(const std::u16string& text);

}  // namespace wintest
