#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeziza::cloud {

class Progress;

// A first password: characters that cannot be mistaken for one another on a printed slip.
inline constexpr std::size_t kFirstPasswordLength = 8;
std::string randomFirstPassword();

// Each password hashed with a salt of its own (argon2id, as the results site checks it), one
// thread a core; logs how far it got. Equal passwords get different hashes.
std::vector<std::string> hashEach(const std::vector<std::string>& passwords, Progress& progress);

}  // namespace zeziza::cloud
