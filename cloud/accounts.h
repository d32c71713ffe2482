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

// Connections one school's role may hold at once.
inline constexpr int kSchoolConnections = 4;

// A registered account: its number and the database role the school publishes with (its
// password is the account's password).
struct NewAccount {
  std::int64_t number = 0;
  std::string role;
};
// Registers an account with its own login role, fenced to the account's rows; both or neither.
// `passwordHash` is hashPassword(password). nullopt when the school name is registered already
// (compared after NFKC).
std::optional<NewAccount> registerAccount(pg::Connection& connection, const std::string& password,
                                          const std::string& passwordHash,
                                          const std::string& schoolName = {});
// Registers an account without a school name and returns its registration number.
std::int64_t createAccount(pg::Connection& connection, std::string_view password);
// Creates an account row alone (no role of its own, as accounts made before schools had them)
// from a password hash made by the caller; returns its registration number.
std::int64_t insertAccount(pg::Connection& connection, const std::string& passwordHash,
                           const std::string& schoolName = {});

// True when the number exists and the password is its own.
bool checkAccount(pg::Connection& connection, std::int64_t number, std::string_view password);

}  // namespace zeziza::cloud
