#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "results/cookie_key.h"

namespace zeziza::results {

// The cookie that carries the sign-in.
inline constexpr std::string_view kSignInCookie = "zr_signin";

// Who a browser signed in as. The site keeps no state of its own: this travels in a cookie,
// signed so that no browser can make or change one.
struct SignIn {
  enum class Role { Student, School };
  Role role = Role::Student;
  std::int64_t school = 0;  // registration number
  std::string student;      // 考号; empty for the school
  // Marks the password the sign-in was made with; a changed password ends older sign-ins.
  std::string stamp;
  std::int64_t expires = 0;  // seconds since the Unix epoch
  // The student's (or school's) sign-in epoch when it was made; signing out moves it on.
  std::int64_t epoch = 0;

  bool operator==(const SignIn&) const = default;
};

// The stamp of a stored password hash.
std::string passwordStamp(std::string_view passwordHash);

// The cookie value: the fields and their MAC (HMAC-SHA-512-256), both in URL-safe base64.
std::string sealSignIn(const SignIn& signIn, const CookieKey& key);
// The sign-in a cookie value carries; nullopt when it is malformed, forged or expired as of
// `now`.
std::optional<SignIn> openSignIn(std::string_view value, const CookieKey& key,
                                 std::chrono::system_clock::time_point now);

}  // namespace zeziza::results
