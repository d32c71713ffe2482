#pragma once

#include <chrono>

namespace zeziza::web {

// How the allocator gives memory back. glibc keeps what a thread freed in that thread's pool
// (up to eight pools a core) and returns little of it to the system on its own, so a few big
// analyses would leave the server as large as their peak for good.

// Bounds the allocator's pools; called once at start, before any worker thread runs.
void boundAllocatorPools();

// Gives the memory freed since back to the system (every pool, not only the top of the heap).
void returnFreedMemory();

// A request that worked this long probably freed much: its memory is returned after it.
inline constexpr std::chrono::milliseconds kReturnMemoryAfter{200};

}  // namespace zeziza::web
