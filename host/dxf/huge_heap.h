// Heap memory for a large drawing, backed by huge pages where the system gives them on request.
#pragma once

#include <cstddef>

namespace host {

// Grows the heap once by about `bytes` and asks that the range be backed by huge pages (2 MiB),
// so that the objects read into it cost a page fault per 2 MiB instead of one per 4 KiB (a
// 100,000-element floor fills 170 MiB: its 4 KiB faults were a sixth of its load). Later heap
// allocations take that range first. None of it is touched: the resident size does not grow
// until it is used. The heap then keeps up to twice `bytes` of freed memory instead of giving it
// back at once (glibc's trim threshold), so that the range is not given back before it is used.
// Returns whether the range was asked for: false under the sanitizers (they
// keep their own heap), off glibc, or when the heap cannot grow by that much.
bool ReserveHugeHeap(size_t bytes);

}  // namespace host
