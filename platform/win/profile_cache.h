// The profile cache's hooks for the other file functions of the stand-in (internal), and its
// clock for tests.
#pragma once

#include <cstdint>
#include <string>

#include <winbase.h>

namespace platform {

// A profile file larger than this is not read: reads give the default and writes fail, both
// with ERROR_NOT_ENOUGH_MEMORY (as Windows fails on a file it cannot map), and the file stays
// as it is on the disk. Profile files hold settings and projects: a large project is a few
// hundred kilobytes. A parsed file takes many times its size in memory (each character
// widened, each line indexed), so 64 MiB keeps even a hostile file within what a machine holds
// and refuses it before anything of it is read.
inline constexpr uint64_t kMaxProfileFileBytes = 64ull << 20;

// Drops the cached copy of a file (by its resolved path) after it was moved, copied over or
// deleted. Unwritten changes must have been flushed before.
void ForgetProfileFile(const std::string& posix_path);
// Drops every cached file, written or not.
void ForgetAllProfileFiles();
// A write-through move synced this folder (POSIX path): names that a flush made in it are on the
// disk.
void NoteFolderSynced(const std::string& folder);

// How long a cached file counts as checked against the disk (size, last-write time, identity)
// while no file operation of this process happened: a change made by another program within
// this time after a check may go unseen until it has passed. Changes made through the
// file-system seam are seen at once (FileChangeGeneration).
inline constexpr int64_t kProfileRecheckNs = 1'000'000;

// Replaces the monotonic clock (nanoseconds) that times those checks; null restores the
// system's. For tests that change files behind the stand-in's back.
void SetProfileClockForTesting(int64_t (*now_ns)());

}  // namespace platform
