// Heap memory reserved for a large drawing (see heap_reserve.h).
#include "host/dxf/heap_reserve.h"

#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define HARNEX_HEAP_OF_ITS_OWN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HARNEX_HEAP_OF_ITS_OWN 1
#endif
#endif

namespace host {

bool ReserveHeap(size_t bytes) {
#if defined(__GLIBC__) && !defined(HARNEX_HEAP_OF_ITS_OWN)
  // The block must come from the heap's top, not from a mapping of its own (which large blocks
  // get), and stay there when freed, for the allocations that follow to land in it.
  mallopt(M_MMAP_MAX, 0);
  const size_t keep = 2 * bytes < (size_t{1} << 30) ? 2 * bytes : (size_t{1} << 30);
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(keep));
  void* block = std::malloc(bytes);
  mallopt(M_MMAP_MAX, 65536);  // glibc's default
  if (block == nullptr) return false;
  std::free(block);
  return true;
#else
  (void)bytes;
  return false;
#endif
}

}  // namespace host
