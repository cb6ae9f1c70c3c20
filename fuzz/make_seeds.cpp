// fuzz_seeds SOURCE_DIR CORPUS_DIR: writes every target's seeds into CORPUS_DIR/<target>/.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fuzz/fuzz_targets.h"
#include "fuzz/seeds.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fuzz_seeds SOURCE_DIR CORPUS_DIR\n");
    return 1;
  }
  for (const fuzz::Target& target : fuzz::Targets()) {
    const std::filesystem::path folder = std::filesystem::path(argv[2]) / target.name;
    std::filesystem::create_directories(folder);
    for (const fuzz::Seed& seed : fuzz::SeedsOf(target.name, argv[1])) {
      std::ofstream out(folder / seed.name, std::ios::binary);
      out << seed.bytes;
      if (!out) {
        std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", (folder / seed.name).c_str());
        return 1;
      }
    }
  }
  return 0;
}
