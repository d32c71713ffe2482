#pragma once

#include <mutex>
#include <semaphore>
#include <string>
#include <string_view>

namespace zeziza::auth {

// Stores passwords as argon2id hashes (libsodium's string form, salt and parameters
// included). A hash takes tens of milliseconds and 19 MiB, so at most `slots` run at once;
// the rest wait their turn.
class PasswordHasher {
 public:
  // Parameters of new hashes: OWASP's minimum for argon2id (19 MiB, 2 passes).
  static constexpr unsigned long long kOpsLimit = 2;
  static constexpr std::size_t kMemLimit = 19 * 1024 * 1024;

  // `slots` 0 means one per hardware thread.
  explicit PasswordHasher(unsigned slots = 0);

  // A new hash of `password` with a fresh salt. Throws when the hash cannot be computed.
  std::string hash(std::string_view password);
  // True when `password` is exactly the one `stored` was made from; a stored text that is no
  // hash never matches.
  bool verify(std::string_view stored, std::string_view password);
  // Spends the time of one verification, so an unknown user name takes as long to refuse as
  // a wrong password.
  void verifyNobody(std::string_view password);

  unsigned slots() const { return slots_; }

 private:
  unsigned slots_;
  std::counting_semaphore<> running_;
  std::once_flag dummyOnce_;
  std::string dummy_;
};

}  // namespace zeziza::auth
