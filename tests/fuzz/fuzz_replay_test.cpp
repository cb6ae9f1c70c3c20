// The fuzz targets' seeds and every input that once made a target fail, replayed through the
// targets' own functions: a check that no longer holds aborts this program, a fault that comes
// back is caught here (and by the sanitizers in `make asan`) without fuzzing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_targets.h"
#include "fuzz/seeds.h"

namespace {

namespace fs = std::filesystem;

std::string SourceDir() {
  const char* dir = std::getenv("HARNEX_SOURCE_DIR");
  return dir ? dir : ".";
}

TEST(FuzzReplay, EveryTargetHasSeedsAndTheyPassItsChecks) {
  ASSERT_EQ(fuzz::Targets().size(), 6u);
  for (const fuzz::Target& target : fuzz::Targets()) {
    const std::vector<fuzz::Seed> seeds = fuzz::SeedsOf(target.name, SourceDir());
    EXPECT_GE(seeds.size(), 2u) << target.name;
    for (const fuzz::Seed& seed : seeds) {
      SCOPED_TRACE(std::string(target.name) + "/" + seed.name);
      EXPECT_FALSE(seed.bytes.empty());
      target.run(seed.bytes);
    }
  }
}

// tests/fuzz/regressions/<target>/<input>: each input made the target fail before its fix.
TEST(FuzzReplay, InputsThatOnceFailedPassTheirTargetsChecks) {
  const fs::path root = fs::path(SourceDir()) / "tests/fuzz/regressions";
  ASSERT_TRUE(fs::is_directory(root)) << root;
  for (const fs::directory_entry& folder : fs::directory_iterator(root)) {
    if (!folder.is_directory()) continue;
    const std::string name = folder.path().filename().string();
    const auto target = std::find_if(fuzz::Targets().begin(), fuzz::Targets().end(),
                                     [&](const fuzz::Target& t) { return name == t.name; });
    ASSERT_NE(target, fuzz::Targets().end()) << "no target named " << name;
    std::vector<fs::path> inputs;
    for (const fs::directory_entry& file : fs::directory_iterator(folder.path()))
      inputs.push_back(file.path());
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& input : inputs) {
      SCOPED_TRACE(input.string());
      // A failed check aborts the program: this line names the input that made it fail.
      std::fprintf(stderr, "replaying %s\n", input.string().c_str());
      std::ifstream in(input, std::ios::binary);
      ASSERT_TRUE(in.good());
      target->run(std::string(std::istreambuf_iterator<char>(in), {}));
    }
  }
}

}  // namespace
