// Heap asked to be backed by huge pages: the range is flagged, untouched, and taken next.
#include "host/dxf/huge_heap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
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

TEST(HugeHeapTest, TheRangeIsAskedForUntouchedAndTakenNext) {
  EXPECT_FALSE(ReserveHugeHeap(1u << 20));  // less than one huge page
  const long before = ResidentKiB();
  const bool asked = ReserveHugeHeap(size_t{64} << 20);
  if (kSanitized) {
    EXPECT_FALSE(asked);
    return;
  }
  // A kernel built without transparent huge pages refuses the advice: nothing is asked.
  if (!std::filesystem::exists("/sys/kernel/mm/transparent_hugepage/enabled")) {
    EXPECT_FALSE(asked);
    return;
  }
  ASSERT_TRUE(asked);
  // Not a page of it is touched by asking.
  EXPECT_LT(ResidentKiB() - before, 8 * 1024);
  // What the heap gives next comes from the range, past the part before its first huge page
  // boundary (less than 2 MiB).
  void* blocks[48];
  for (void*& b : blocks) b = std::malloc(64 * 1024);
  EXPECT_TRUE(InHugePageRange(blocks[47]));
  for (void* b : blocks) std::free(b);
}

}  // namespace
}  // namespace host
