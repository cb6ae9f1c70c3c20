// Heap memory backed by huge pages (see huge_heap.h).
#include "host/dxf/huge_heap.h"

#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define HARNEX_HEAP_OF_ITS_OWN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HARNEX_HEAP_OF_ITS_OWN 1
#endif
#endif

namespace host {

bool ReserveHugeHeap(size_t bytes) {
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE) && !defined(HARNEX_HEAP_OF_ITS_OWN)
  constexpr uintptr_t kHuge = uintptr_t{2} << 20;
  if (bytes < kHuge) return false;
  // The block must come from the heap's top, not from a mapping of its own (which large blocks
  // get), and stay there when freed, for the allocations that follow to land in it.
  mallopt(M_MMAP_MAX, 0);
  const size_t keep = 2 * bytes < (size_t{1} << 30) ? 2 * bytes : (size_t{1} << 30);
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(keep));
  void* block = std::malloc(bytes);
  mallopt(M_MMAP_MAX, 65536);  // glibc's default
  if (block == nullptr) return false;
  const uintptr_t begin = reinterpret_cast<uintptr_t>(block);
  const uintptr_t first = (begin + kHuge - 1) / kHuge * kHuge;
  const uintptr_t last = (begin + bytes) / kHuge * kHuge;
  const bool asked =
      first < last && ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE) == 0;
  std::free(block);
  return asked;
#else
  (void)bytes;
  return false;
#endif
}

}  // namespace host
