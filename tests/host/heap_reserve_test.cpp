// Heap reserved for a large drawing: the heap grows by the range at once, none of it is touched,
// what is allocated next lands in it, and it is left on ordinary pages.
#include "host/dxf/heap_reserve.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace host {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// Whether the mapping holding `address` is flagged for huge pages ("hg" among its VmFlags).
bool InHugePageRange(const void* address) {
  const uintptr_t a = reinterpret_cast<uintptr_t>(address);
  std::ifstream smaps("/proc/self/smaps");
  std::string line;
  bool inside = false;
  while (std::getline(smaps, line)) {
    uintptr_t from = 0, to = 0;
    char dash = 0;
    std::istringstream head(line);
    if (line.find(':') > line.find(' ') && (head >> std::hex >> from >> dash >> to) &&
        dash == '-') {
      inside = from <= a && a < to;
      continue;
    }
    if (inside && line.rfind("VmFlags:", 0) == 0) return line.find(" hg") != std::string::npos;
  }
  return false;
}

TEST(HeapReserveTest, TheHeapGrowsOnceUntouchedAndTheNextBlocksLandInIt) {
  const uintptr_t top_before = reinterpret_cast<uintptr_t>(sbrk(0));
  const long before = ResidentKiB();
  const bool reserved = ReserveHeap(size_t{64} << 20);
  if (kSanitized) {
    EXPECT_FALSE(reserved);
    return;
  }
  ASSERT_TRUE(reserved);
  const uintptr_t top = reinterpret_cast<uintptr_t>(sbrk(0));
  // The heap's top moved past the whole range and stays there once the block is freed.
  EXPECT_GE(top - top_before, uintptr_t{64} << 20);
  // Not a page of it is touched by reserving.
  EXPECT_LT(ResidentKiB() - before, 8 * 1024);
  // What the heap gives next (blocks that would otherwise get mappings of their own, and small
  // ones) comes from below the new top (the heap's free space before it, then the range), without
  // the heap growing again; on ordinary pages.
  void* blocks[48];
  for (void*& b : blocks) b = std::malloc(512 * 1024);
  void* small = std::malloc(64);
  for (void* b : {blocks[0], blocks[47], small}) {
    const uintptr_t a = reinterpret_cast<uintptr_t>(b);
    EXPECT_LT(a, top) << b;
    EXPECT_FALSE(InHugePageRange(b)) << b;
  }
  EXPECT_EQ(reinterpret_cast<uintptr_t>(sbrk(0)), top);
  for (void* b : blocks) std::free(b);
  std::free(small);
}

}  // namespace
}  // namespace host
