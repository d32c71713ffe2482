#include "pages/password_hash.h"

#include <sodium.h>

#include <stdexcept>
#include <string>

namespace zeziza::pages {

namespace {

constexpr unsigned long long kOpsLimit = 2;
constexpr std::size_t kMemLimit = 19 * 1024 * 1024;

void requireSodium() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
}

}  // namespace

std::string hashPassword(std::string_view password) {
  requireSodium();
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str_alg(out, password.data(), password.size(), kOpsLimit, kMemLimit,
                            crypto_pwhash_ALG_ARGON2ID13) != 0) {
    throw std::runtime_error("password hash failed: out of memory");
  }
  return out;
}

bool verifyPassword(std::string_view stored, std::string_view password) {
  requireSodium();
  if (stored.size() >= crypto_pwhash_STRBYTES) return false;
  char hash[crypto_pwhash_STRBYTES] = {};  // the C interface reads a terminated buffer
  stored.copy(hash, stored.size());
  return crypto_pwhash_str_verify(hash, password.data(), password.size()) == 0;
}

}  // namespace zeziza::pages
