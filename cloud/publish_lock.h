#pragma once

#include <cstdint>
#include <optional>

namespace zeziza::cloud {

// The scratch table `tem` is one table for the whole program, so one session publishes at a
// time: a step of preparation or upload holds the lease while it runs. Each preparation also
// gets a number, so an upload can tell whether the table still holds its own preparation.
class PublishLease {
 public:
  // The lease, or nullopt while another step holds it.
  static std::optional<PublishLease> tryAcquire();
  PublishLease(PublishLease&& other) noexcept;
  PublishLease& operator=(PublishLease&&) = delete;
  PublishLease(const PublishLease&) = delete;
  ~PublishLease();

  // Records that the scratch table is being refilled: no upload may use what it held.
  void discardPreparation();
  // Records that this step has filled and ranked the scratch table; returns the preparation's
  // number.
  std::uint64_t markPrepared();

  // The number of the preparation the scratch table holds now (0: none since start).
  static std::uint64_t currentPreparation();

 private:
  PublishLease() = default;
  bool held_ = false;
};

}  // namespace zeziza::cloud
