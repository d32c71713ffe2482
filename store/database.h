#pragma once

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "store/statement_cache.h"
#include "store/value.h"

struct sqlite3;

namespace zeziza::store {

class ConnectionPool;
class Writer;

// Thrown for every refused statement; carries the SQL text and the engine's message.
class DatabaseError : public std::runtime_error {
 public:
  DatabaseError(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// An open SQLite connection with the settings every connection of the program uses:
// WAL, a busy timeout, and synchronous FULL so that a committed score survives a crash.
// A connection attached to the database's writer hands it every write made outside a
// transaction, and its transactions keep the writer waiting, so writers never contend.
class Database {
 public:
  enum class Mode { ReadWrite, ReadOnly };
  // ReadOnly opens an existing file as it is (no journal change), for checking copies.
  explicit Database(const std::filesystem::path& file, Mode mode = Mode::ReadWrite);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs one statement with bound parameters; returns the number of rows it changed. A change
  // outside a transaction goes to the attached writer.
  int exec(std::string_view sql, std::span<const Value> params = {});
  int exec(std::string_view sql, std::initializer_list<Value> params) {
    return exec(sql, std::span<const Value>(params.begin(), params.size()));
  }
  // Runs several statements without parameters (schema scripts).
  void execScript(const std::string& sql);
  std::int64_t lastInsertId() const;

  // Copies the whole content of `source` into this database with the online backup API,
  // so connections that hold this file open stay valid.
  void restoreFrom(const std::filesystem::path& source);
  // Writes a consistent copy of this database to `target` (online backup).
  void backupTo(const std::filesystem::path& target);

  const std::filesystem::path& file() const { return file_; }
  sqlite3* handle() const { return db_; }
  bool inTransaction() const;

  // Set by the pool that lends this connection.
  void attach(Writer* writer, ConnectionPool* pool) {
    writer_ = writer;
    pool_ = pool;
  }
  // The writer this connection's changes go to; nullptr when it writes itself.
  Writer* writer() const { return writer_; }
  ConnectionPool* pool() const { return pool_; }
  StatementCache& statements() { return statements_; }

 private:
  int execHere(std::string_view sql, std::span<const Value> params);

  std::filesystem::path file_;
  sqlite3* db_ = nullptr;
  Writer* writer_ = nullptr;
  ConnectionPool* pool_ = nullptr;
  StatementCache statements_;
};

// Throws DatabaseError naming the statement when `rc` is not one of the accepted codes.
[[noreturn]] void throwDatabaseError(sqlite3* db, int rc, std::string_view sql);

}  // namespace zeziza::store
