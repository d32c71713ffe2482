#pragma once

#include <chrono>
#include <string>

namespace zeziza::pages {

enum class PasswordChange {
  Changed,
  Blank,
  TooShort,
  NotRepeated,
  WrongOldPassword,
  Locked,
  NotStored
};

struct PasswordChangeResult {
  PasswordChange outcome;
  std::chrono::seconds lockedFor{0};  // for Locked
};

// The one rule for a signed-in user changing their own password, wherever the form is: the
// new password is not blank, has at least six characters besides blanks around it, is typed
// the same twice, and the old password verifies (under the sign-in throttle). The new one is
// stored as a hash.
PasswordChangeResult changeOwnPassword(const std::string& old, const std::string& fresh,
                                       const std::string& repeat);

// What the form says of `outcome` (nothing when the account went while the form was open);
// the password page and the entry page word a mismatched repeat differently.
std::string passwordChangeMessage(const PasswordChangeResult& result,
                                  const std::string& notRepeated);

}  // namespace zeziza::pages
