// The fuzz targets: one function per reader of the files that users exchange and edit by hand.
//
// Each function takes any bytes as the content of one file, runs the reader over them and checks
// what must hold for every input (a file written back reads the same, an error names its line).
// A check that fails prints what failed to standard error and aborts, so libFuzzer keeps the
// input and the test suite fails. The readers must neither crash nor hang on any input, and
// must not write anywhere but the target's own temporary folder.
//
// libFuzzer drives each function from a program of its own (fuzz_main.cpp); the test suite
// replays the seed files and the inputs that once failed (tests/fuzz/) through the same
// functions.
#pragma once

#include <string_view>
#include <vector>

namespace fuzz {

// The text decoder (every encoding a text file may have) and the INI parser: parse, write,
// parse again gives the same sections, keys and values; a key set and written back reads back.
void TextAndProfile(std::string_view bytes);
// A master list (.dat) read by the maker's record reader and by each of the palette's readers.
void MasterList(std::string_view bytes);
// A project file (.tpr): loaded, saved under another name and loaded again, giving the same
// patterns and rows.
void ProjectFile(std::string_view bytes);
// A DXF drawing (ASCII or binary): when it is read, it is written and read again with the same
// entities, and it renders, hit-tests and measures its extents.
void Dxf(std::string_view bytes);
// A resource script (.rc text).
void ResourceScript(std::string_view bytes);
// A session script, as harnex-host reads it from a file.
void SessionScript(std::string_view bytes);

struct Target {
  const char* name;  // the folder of its seeds and regression inputs, and its program's suffix
  void (*run)(std::string_view bytes);
};
// Every target, in a fixed order.
const std::vector<Target>& Targets();

// Prints "fuzz check failed: <what>" and aborts.
[[noreturn]] void CheckFailed(const char* what, const char* file, int line);

}  // namespace fuzz

#define FUZZ_CHECK(condition, what) \
  ((condition) ? (void)0 : ::fuzz::CheckFailed(what, __FILE__, __LINE__))
