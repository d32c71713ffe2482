#pragma once

#include <cstdint>
#include <mutex>
#include <optional>

namespace zeziza::cloud {

class PublishLock;

// The right to work on the scratch table, held by one publishing step while it runs.
class PublishLease {
 public:
  PublishLease(PublishLease&& other) noexcept;
  PublishLease& operator=(PublishLease&&) = delete;
  PublishLease(const PublishLease&) = delete;
  ~PublishLease();

  // Records that the scratch table is being refilled: no upload may use what it held.
  void discardPreparation();
  // Records that this step has filled and ranked the scratch table; returns the preparation's
  // number.
  std::uint64_t markPrepared();

 private:
  friend class PublishLock;
  explicit PublishLease(PublishLock& lock) : lock_(&lock) {}
  PublishLock* lock_;
};

// The scratch table `tem` is one table for the whole program, so one session publishes at a
// time: a step of preparation or upload holds the lease while it runs. Each preparation also
// gets a number, so an upload can tell whether the table still holds its own preparation.
// The host keeps one for the process.
class PublishLock {
 public:
  // The lease, or nullopt while another step holds it.
  std::optional<PublishLease> tryAcquire();
  // The number of the preparation the scratch table holds now (0: none since start).
  std::uint64_t currentPreparation() const;

 private:
  friend class PublishLease;
  mutable std::mutex mutex_;
  bool busy_ = false;
  std::uint64_t preparation_ = 0;
  std::uint64_t lastNumber_ = 0;
};

}  // namespace zeziza::cloud
