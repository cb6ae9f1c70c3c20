// The profile cache's hooks for the other file functions of the stand-in (internal).
#pragma once

#include <string>

#include "winbase.h"

namespace platform {

// Drops the cached copy of a file (by its resolved path) after it was moved, copied over or
// deleted. Unwritten changes must have been flushed before.
void ForgetProfileFile(const std::string& posix_path);
// Drops every cached file, written or not.
void ForgetAllProfileFiles();

}  // namespace platform
