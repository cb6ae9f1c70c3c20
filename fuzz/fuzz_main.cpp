// A libFuzzer program for one fuzz target, named by HARNEX_FUZZ_TARGET when it is compiled.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz/fuzz_targets.h"

namespace {

void (*TargetFunction())(std::string_view) {
  for (const fuzz::Target& target : fuzz::Targets())
    if (std::strcmp(target.name, HARNEX_FUZZ_TARGET) == 0) return target.run;
  fuzz::CheckFailed("the program names a known target", __FILE__, __LINE__);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static void (*const run)(std::string_view) = TargetFunction();
  run(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
