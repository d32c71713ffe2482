#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "store/users.h"

namespace zeziza::pages {

// What a sign-in attempt found: the user when the password is exactly theirs; otherwise,
// while repeated failures for this name from this client address must wait, how long (the
// password was then not checked at all).
struct CredentialCheck {
  std::optional<store::StoredUser> user;
  std::chrono::seconds lockedFor{0};
};
// Uses the current session's connection and address.
CredentialCheck verifyCredentials(const std::string& name, const std::string& password);
// "登录失败次数过多，请N秒后再试。"
std::string lockedMessage(std::chrono::seconds lockedFor);

// The fewest characters a new password may have; older, shorter ones still sign in.
inline constexpr std::size_t kMinPasswordLength = 6;
inline constexpr const char* kPasswordTooShort = "密码至少需要6个字符！";
// True when `password` has fewer than kMinPasswordLength characters (not bytes).
bool passwordTooShort(std::string_view password);

// Writes a sign-in or a failed one to the event log, with the name typed and the session's
// client address; nothing of the password.
void recordSignIn(const std::string& name, bool succeeded);

// A hash of `password` to store in `yh.pass`.
std::string hashPassword(std::string_view password);

}  // namespace zeziza::pages
