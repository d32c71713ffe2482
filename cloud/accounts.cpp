#include "cloud/accounts.h"

#include <sodium.h>

#include <stdexcept>

#include "base/whole_number.h"
#include "cloud/pg.h"
#include "cloud/school_name.h"

namespace zeziza::cloud {

namespace {

// About 20 ms a hash: checking an account is rare, guessing stays expensive.
constexpr unsigned long long kOpsLimit = 2;
constexpr std::size_t kMemLimit = 19u * 1024u * 1024u;

void requireSodium() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
}

std::string randomHex(std::size_t bytes) {
  requireSodium();
  std::string raw(bytes, '\0');
  randombytes_buf(raw.data(), raw.size());
  std::string hex(bytes * 2 + 1, '\0');
  sodium_bin2hex(hex.data(), hex.size(), reinterpret_cast<const unsigned char*>(raw.data()),
                 raw.size());
  hex.pop_back();
  return hex;
}

}  // namespace

std::optional<std::int64_t> parseRegistrationNumber(std::string_view text) {
  text = base::trimmedView(text);
  // Digits only: no sign.
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  const auto number = base::exactInteger<std::int64_t>(text);
  if (!number || *number <= 0) return std::nullopt;
  return number;
}

std::string hashPassword(std::string_view password) {
  requireSodium();
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(hash, password.data(), password.size(), kOpsLimit, kMemLimit) != 0) {
    throw std::runtime_error("密码散列失败：内存不足");
  }
  return hash;
}

std::optional<NewAccount> registerAccount(pg::Connection& connection, const std::string& password,
                                          const std::string& passwordHash,
                                          const std::string& schoolName) {
  pg::Transaction transaction(connection);
  const std::string tidy = tidySchoolName(schoolName);
  const pg::Param name = tidy.empty() ? pg::Param() : pg::Param(tidy);
  const pg::Param key = tidy.empty() ? pg::Param() : pg::Param(schoolNameKey(tidy));
  // Either unique name index turns a name registered already away.
  const auto inserted = connection.exec(
      "INSERT INTO yhm (密码, 单位名称, 名称键) VALUES ($1, $2, $3) "
      "ON CONFLICT DO NOTHING RETURNING id",
      {passwordHash, name, key});
  if (inserted.rows() == 0) return std::nullopt;
  NewAccount account{inserted.integer(0, 0), {}};
  // Roles belong to the whole server, where other databases (or schemas) may number their
  // accounts alike: a random part keeps the name the account's own.
  account.role = "zeziza_" + std::to_string(account.number) + "_" + randomHex(4);
  connection.exec("UPDATE yhm SET db_role = $2 WHERE id = $1",
                  {std::to_string(account.number), account.role});
  // A few connections, and statements, lock waits and idle transactions cut short: one
  // school can neither take the server's connections nor hold the others up.
  connection.execScript("CREATE ROLE " + account.role + " LOGIN CONNECTION LIMIT " +
                        std::to_string(kSchoolConnections) + " PASSWORD " +
                        connection.literal(connection.passwordVerifier(password, account.role)) +
                        " IN ROLE zeziza_schools;\n"
                        "ALTER ROLE " +
                        account.role +
                        " SET statement_timeout = '120s';\n"
                        "ALTER ROLE " +
                        account.role +
                        " SET lock_timeout = '10s';\n"
                        "ALTER ROLE " +
                        account.role + " SET idle_in_transaction_session_timeout = '60s'");
  transaction.commit();
  return account;
}

std::int64_t createAccount(pg::Connection& connection, std::string_view password) {
  const std::string text(password);
  return registerAccount(connection, text, hashPassword(text)).value().number;
}

std::int64_t insertAccount(pg::Connection& connection, const std::string& passwordHash,
                           const std::string& schoolName) {
  const pg::Param name = schoolName.empty() ? pg::Param() : pg::Param(schoolName);
  const pg::Param key = schoolName.empty() ? pg::Param() : pg::Param(schoolNameKey(schoolName));
  const auto result =
      connection.exec("INSERT INTO yhm (密码, 单位名称, 名称键) VALUES ($1, $2, $3) RETURNING id",
                      {passwordHash, name, key});
  return result.integer(0, 0);
}

bool checkAccount(pg::Connection& connection, std::int64_t number, std::string_view password) {
  requireSodium();
  const auto result =
      connection.exec("SELECT 密码 FROM yhm WHERE id = $1", {std::to_string(number)});
  if (result.rows() == 0) return false;
  const std::string hash = result.text(0, 0);
  return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

}  // namespace zeziza::cloud
