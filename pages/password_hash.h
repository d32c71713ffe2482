#pragma once

#include <string>
#include <string_view>

namespace zeziza::pages {

// Passwords are stored as argon2id hashes in libsodium's string form (salt and parameters
// included): 2 passes over 19 MiB.
std::string hashPassword(std::string_view password);
// True when `password` is exactly the one `stored` was made from; a stored text that is no
// hash never matches.
bool verifyPassword(std::string_view stored, std::string_view password);

}  // namespace zeziza::pages
