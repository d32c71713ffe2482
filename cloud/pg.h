#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

struct pg_conn;
struct pg_result;

namespace zeziza::cloud::pg {

// A refused connection or statement, with the server's message.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A bound parameter in text form; nullopt is SQL NULL.
using Param = std::optional<std::string>;

// The rows of one statement, in text form.
class Result {
 public:
  explicit Result(pg_result* result);
  int rows() const;
  int columns() const;
  bool isNull(int row, int column) const;
  std::string text(int row, int column) const;
  std::int64_t integer(int row, int column) const;
  // Rows an INSERT, UPDATE or DELETE touched.
  std::int64_t affected() const;

 private:
  struct Clear {
    void operator()(pg_result* r) const;
  };
  std::unique_ptr<pg_result, Clear> result_;
};

// One connection to the cloud service, closed when destroyed. Statements are sent with their
// parameters apart from the text, so no value is ever part of the SQL.
class Connection {
 public:
  // `conninfo` is a libpq connection string (key=value or a postgresql:// address).
  explicit Connection(const std::string& conninfo);
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  Result exec(std::string_view sql, std::span<const Param> params = {});
  Result exec(std::string_view sql, std::initializer_list<Param> params) {
    return exec(sql, std::span<const Param>(params.begin(), params.size()));
  }
  // Runs `sql` as the statement `name`, prepared on this connection the first time it is run
  // here: a statement run on every request is parsed and planned once per connection.
  Result execPrepared(const std::string& name, std::string_view sql, std::span<const Param> params);
  // Runs a script of several statements without parameters (the schema).
  void execScript(const std::string& sql);
  // False once the connection to the server is lost.
  bool healthy() const;
  // `password` as the server stores it for `role` (SCRAM-SHA-256, computed here, so the
  // password itself never reaches the server or its logs).
  std::string passwordVerifier(const std::string& password, const std::string& role);
  // `value` as an SQL string literal, for statements that take no parameters (CREATE ROLE).
  std::string literal(std::string_view value);
  // Runs `COPY … FROM STDIN` with `rows` as its data, in COPY's text format (see copyField);
  // returns the rows copied.
  std::int64_t copyIn(const std::string& copySql, std::string_view rows);
  // Runs `COPY … TO STDOUT` and appends its data to `rows`; returns the rows copied.
  std::int64_t copyOut(const std::string& copySql, std::string& rows);

 private:
  // Throws unless the statement succeeded.
  Result checked(pg_result* raw, std::string_view sql);

  struct Finish {
    void operator()(pg_conn* c) const;
  };
  std::unique_ptr<pg_conn, Finish> conn_;
  std::set<std::string, std::less<>> prepared_;
};

// BEGIN now; ROLLBACK when destroyed unless committed.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Connection& connection_;
  bool done_ = false;
};

// Appends one field in COPY's text format: NULL as \N, the separators escaped.
void copyField(std::string& out, const Param& value);

// PostgreSQL takes at most this many parameters in one statement.
inline constexpr std::size_t kMaxParameters = 65535;

}  // namespace zeziza::cloud::pg
