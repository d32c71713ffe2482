#include "web/memory_return.h"

#include <malloc.h>

#include <cstdlib>

namespace zeziza::web {

namespace {

// Pools beyond the cores only hold freed memory: the workers are two a core and an allocation
// rarely waits for a pool's lock.
constexpr int kAllocatorPools = 2;

}  // namespace

void boundAllocatorPools() {
#ifdef __GLIBC__
  if (std::getenv("MALLOC_ARENA_MAX") != nullptr) return;  // the operator's own choice
  mallopt(M_ARENA_MAX, kAllocatorPools);
#endif
}

void returnFreedMemory() {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

}  // namespace zeziza::web
