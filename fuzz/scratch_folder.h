// The temporary folder of a fuzz target's process: the only place its readers may write to.
#pragma once

#include <string>

namespace fuzz {

// A new folder below the system's temporary folder, made on the first call and removed with
// everything in it when the process exits. POSIX form, without a trailing "/".
const std::string& ScratchFolder();

// The Windows form of a POSIX path ("/" becomes "\"), as Harnex builds paths.
std::wstring WindowsPath(const std::string& posix);

// Replaces the file's content in place (the same file, so hard links to it see the new bytes).
void OverwriteFile(const std::string& posix, std::string_view bytes);

}  // namespace fuzz
