// The #include lines of source files.
#include "layers_support.h"

#include <fstream>
#include <regex>

namespace testing {

std::vector<IncludeLine> IncludeLines(const std::filesystem::path& file) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<IncludeLine> found;
  std::ifstream in(file);
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    std::smatch m;
    if (std::regex_search(line, m, kInclude)) found.push_back({n, m[1].str() == "\"", m[2].str()});
  }
  return found;
}

}  // namespace testing
