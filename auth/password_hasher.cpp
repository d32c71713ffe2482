#include "auth/password_hasher.h"

#include <sodium.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace zeziza::auth {

namespace {

void initSodium() {
  static const bool ready = sodium_init() >= 0;
  if (!ready) throw std::runtime_error("libsodium could not be initialised");
}

unsigned slotsFor(unsigned requested) {
  if (requested > 0) return requested;
  return std::max(1u, std::thread::hardware_concurrency());
}

// Holds one of the hasher's slots for its lifetime.
class Slot {
 public:
  explicit Slot(std::counting_semaphore<>& semaphore) : semaphore_(semaphore) {
    semaphore_.acquire();
  }
  ~Slot() { semaphore_.release(); }
  Slot(const Slot&) = delete;
  Slot& operator=(const Slot&) = delete;

 private:
  std::counting_semaphore<>& semaphore_;
};

}  // namespace

PasswordHasher::PasswordHasher(unsigned slots)
    : slots_(slotsFor(slots)), running_(static_cast<std::ptrdiff_t>(slots_)) {
  initSodium();
}

std::string PasswordHasher::hash(std::string_view password) {
  char out[crypto_pwhash_STRBYTES];
  int rc = 0;
  {
    const Slot slot(running_);
    rc = crypto_pwhash_str_alg(out, password.data(), password.size(), kOpsLimit, kMemLimit,
                               crypto_pwhash_ALG_ARGON2ID13);
  }
  if (rc != 0) throw std::runtime_error("密码加密失败：服务器内存不足，请稍后再试。");
  return std::string(out);
}

bool PasswordHasher::verify(std::string_view stored, std::string_view password) {
  // The string form must be NUL-terminated and fit the library's buffer.
  if (stored.empty() || stored.size() >= crypto_pwhash_STRBYTES) return false;
  const std::string text(stored);
  const Slot slot(running_);
  return crypto_pwhash_str_verify(text.c_str(), password.data(), password.size()) == 0;
}

void PasswordHasher::verifyNobody(std::string_view password) {
  std::call_once(dummyOnce_, [this] { dummy_ = hash("no such user"); });
  verify(dummy_, password);
}

}  // namespace zeziza::auth
