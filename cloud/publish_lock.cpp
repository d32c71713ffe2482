#include "cloud/publish_lock.h"

namespace zeziza::cloud {

std::optional<PublishLease> PublishLock::tryAcquire() {
  std::lock_guard lock(mutex_);
  if (busy_) return std::nullopt;
  busy_ = true;
  return PublishLease(*this);
}

std::uint64_t PublishLock::currentPreparation() const {
  std::lock_guard lock(mutex_);
  return preparation_;
}

PublishLease::PublishLease(PublishLease&& other) noexcept : lock_(other.lock_) {
  other.lock_ = nullptr;
}

PublishLease::~PublishLease() {
  if (!lock_) return;
  std::lock_guard lock(lock_->mutex_);
  lock_->busy_ = false;
}

void PublishLease::discardPreparation() {
  std::lock_guard lock(lock_->mutex_);
  lock_->preparation_ = 0;
}

std::uint64_t PublishLease::markPrepared() {
  std::lock_guard lock(lock_->mutex_);
  lock_->preparation_ = ++lock_->lastNumber_;
  return lock_->preparation_;
}

}  // namespace zeziza::cloud
