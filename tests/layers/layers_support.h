// The #include lines of source files, as the layer tests read them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testing {

// One #include line: its line number, whether the name is quoted ("...") or bracketed (<...>),
// and the name as written.
struct IncludeLine {
  int line = 0;
  bool quoted = false;
  std::string name;
};

// The #include lines of a file, in order; none when it cannot be read.
std::vector<IncludeLine> IncludeLines(const std::filesystem::path& file);

}  // namespace testing
