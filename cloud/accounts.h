#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zeziza::cloud {

namespace pg {
class Connection;
}

// A registration number as typed: a positive decimal integer, blanks around it allowed.
std::optional<std::int64_t> parseRegistrationNumber(std::string_view text);

// A password hash for the service's tables (argon2id with a random salt).
std::string hashPassword(std::string_view password);

// Creates an account with the password and returns its registration number.
std::int64_t createAccount(pg::Connection& connection, std::string_view password);
// Creates an account from a password hash made by the caller; returns its registration number.
std::int64_t insertAccount(pg::Connection& connection, const std::string& passwordHash,
                           const std::string& schoolName = {});

// True when the number exists and the password is its own.
bool checkAccount(pg::Connection& connection, std::int64_t number, std::string_view password);

}  // namespace zeziza::cloud
