#include "auth/random_password.h"

#include <sodium.h>

#include <stdexcept>

namespace zeziza::auth {

std::string randomPassword(std::size_t length) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not be initialised");
  std::string password;
  password.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    // Uniform over the alphabet, without the bias of a plain modulo.
    password +=
        kPlainAlphabet[randombytes_uniform(static_cast<std::uint32_t>(kPlainAlphabet.size()))];
  }
  return password;
}

}  // namespace zeziza::auth
