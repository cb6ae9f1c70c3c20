// The seed inputs of the fuzz targets: files of the source tree that users' files look like
// (the bundled examples, the tests' fixtures) and drawings made by the drawing builder.
//
// `make fuzz` writes them into each target's corpus folder before fuzzing (fuzz_seeds); the test
// suite replays them through the targets, so that a change that breaks a check on an ordinary
// file fails at once, without fuzzing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

struct Seed {
  std::string name;  // a file name, unique among the target's seeds
  std::string bytes;
};

// The seeds of the target named `target` (see Targets()), read below `source_dir` (the source
// tree's root) and made in memory. Empty for an unknown target.
std::vector<Seed> SeedsOf(std::string_view target, const std::string& source_dir);

}  // namespace fuzz
