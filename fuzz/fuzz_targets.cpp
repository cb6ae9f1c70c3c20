// The table of fuzz targets and the failure path of their checks.
#include "fuzz/fuzz_targets.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

const std::vector<Target>& Targets() {
  static const std::vector<Target> targets = {
      {"text_ini", TextAndProfile}, {"dat", MasterList},       {"tpr", ProjectFile}, {"dxf", Dxf},
      {"rc", ResourceScript},       {"script", SessionScript},
  };
  return targets;
}

void CheckFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, file, line);
  std::abort();
}

}  // namespace fuzz
