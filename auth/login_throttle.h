#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zeziza::auth {

// How failures slow down further attempts.
struct ThrottlePolicy {
  int freeFailures = 3;  // failures before the first delay
  std::chrono::milliseconds firstDelay{1000};
  std::chrono::milliseconds maxDelay{30000};
  std::chrono::milliseconds forgetAfter{15 * 60 * 1000};
  std::size_t maxEntries = 10000;
};

// Slows down password guessing: after a few failed sign-ins for one user name from one
// client address, further attempts are refused unchecked for a delay that doubles with
// every failure. Refusing instead of sleeping keeps worker threads free. Memory is bounded:
// entries are forgotten some time after their last failure, and the oldest go first when
// the table is full.
class LoginThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  using Now = std::function<Clock::time_point()>;

  using Policy = ThrottlePolicy;

  explicit LoginThrottle(Policy policy = {}, Now now = Clock::now);

  // False while `user` from `address` must wait; such an attempt is not checked at all.
  bool allowed(std::string_view user, std::string_view address);
  void failed(std::string_view user, std::string_view address);
  void succeeded(std::string_view user, std::string_view address);

  // How long `user` from `address` must still wait (zero when allowed).
  std::chrono::milliseconds waitFor(std::string_view user, std::string_view address);
  std::size_t size() const;
  // Replaces the clock (tests move time without sleeping).
  void setClock(Now now);

 private:
  struct Entry {
    int failures = 0;
    Clock::time_point lastFailure;
    Clock::time_point blockedUntil;
  };

  std::chrono::milliseconds delayAfter(int failures) const;
  void makeRoom(Clock::time_point now);

  Policy policy_;
  Now now_;
  mutable std::mutex mutex_;
  std::unordered_map<std::string, Entry> entries_;
};

}  // namespace zeziza::auth
