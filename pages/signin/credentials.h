#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/users.h"

namespace zeziza::pages {

// The user when `password` is exactly theirs. Nullopt for an unknown name, a wrong password,
// or while repeated failures for this name from this client address must wait (then the
// password is not checked at all). Uses the current session's connection and address.
std::optional<store::StoredUser> verifyCredentials(const std::string& name,
                                                   const std::string& password);

// Writes a sign-in or a failed one to the event log, with the name typed and the session's
// client address; nothing of the password.
void recordSignIn(const std::string& name, bool succeeded);

// A hash of `password` to store in `yh.pass`.
std::string hashPassword(std::string_view password);

}  // namespace zeziza::pages
