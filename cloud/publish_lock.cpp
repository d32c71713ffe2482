#include "cloud/publish_lock.h"

#include <mutex>

namespace zeziza::cloud {

namespace {

// The process-wide state the lease guards.
struct PublishState {
  std::mutex mutex;
  bool busy = false;
  std::uint64_t preparation = 0;
  std::uint64_t lastNumber = 0;
};

PublishState& state() {
  static PublishState s;
  return s;
}

}  // namespace

std::optional<PublishLease> PublishLease::tryAcquire() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  if (s.busy) return std::nullopt;
  s.busy = true;
  PublishLease lease;
  lease.held_ = true;
  return lease;
}

PublishLease::PublishLease(PublishLease&& other) noexcept : held_(other.held_) {
  other.held_ = false;
}

PublishLease::~PublishLease() {
  if (!held_) return;
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.busy = false;
}

void PublishLease::discardPreparation() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.preparation = 0;
}

std::uint64_t PublishLease::markPrepared() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.preparation = ++s.lastNumber;
  return s.preparation;
}

std::uint64_t PublishLease::currentPreparation() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  return s.preparation;
}

}  // namespace zeziza::cloud
