// Heap memory reserved for a large drawing before it is read.
#pragma once

#include <cstddef>

namespace host {

// Grows the heap once by about `bytes`, so that the objects read next are laid one after the
// other in that range rather than the heap growing a step at a time. None of it is touched: the
// resident size does not grow until it is used. The heap then keeps up to twice `bytes` of freed
// memory instead of giving it back at once (glibc's trim threshold), so that the range is not
// given back before it is used.
//
// The range is left on ordinary pages, not asked for huge ones: on the virtual machines the
// program runs on, memory freed a second before (by this program's last run or another's) goes
// back to the machine's host in huge-page pieces, and a huge page taken from it cost about 5 ms
// of system time to fault in (a 100,000-element floor: 0.4 s), where ordinary pages cost the same
// whenever they were freed (0.1 s).
//
// Returns whether the heap grew: false under the sanitizers (they keep their own heap), off
// glibc, or when the heap cannot grow by that much.
bool ReserveHeap(size_t bytes);

}  // namespace host
