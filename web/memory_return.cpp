#include "web/memory_return.h"

#include "base/platform/process.h"

namespace zeziza::web {

void boundAllocatorPools() {
  platform::boundAllocatorPools();
}

void returnFreedMemory() {
  platform::returnFreedMemory();
}

}  // namespace zeziza::web
