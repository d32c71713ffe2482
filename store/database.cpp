#include "store/database.h"

#include <sqlite3.h>

#include <chrono>
#include <optional>
#include <thread>

#include "base/platform/text.h"
#include "store/connection_pool.h"
#include "store/statement.h"
#include "store/writer.h"

namespace zeziza::store {

namespace {
constexpr int kBackupRetries = 50;
// Writers of `data` in this process queue for its writer instead of the file lock; this only
// covers a second process (a maintenance command) holding the lock for a moment.
constexpr int kBusyTimeoutMs = 10000;
// Enough for the statements of the busiest page with room to spare; a connection's cache is
// a few hundred KiB at most.
constexpr std::size_t kCachedStatements = 48;

// Process-wide engine settings, applied once before the first connection opens. Without them
// every allocation inside SQLite takes one global lock to count memory nobody reads, and with
// a dozen request threads that lock was the most contended in the program.
bool configureEngine() {
  // Refused (SQLITE_MISUSE) only when something initialised the engine first, as a test
  // harness may; the program then runs with the engine's defaults, correctly but slower.
  sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  return sqlite3_initialize() == SQLITE_OK;
}

}  // namespace

void throwDatabaseError(sqlite3* db, int rc, std::string_view sql) {
  std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  if (!sql.empty()) message += " [" + std::string(sql) + "]";
  throw DatabaseError(message, rc);
}

Database::Database(const std::filesystem::path& file, Mode mode)
    : file_(file), statements_(kCachedStatements) {
  [[maybe_unused]] static const bool configured = configureEngine();
  const int flags =
      (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
      SQLITE_OPEN_NOMUTEX;
  // SQLite takes UTF-8 file names on every system.
  const int rc = sqlite3_open_v2(platform::utf8Path(file).c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = "cannot open database " + platform::utf8Path(file) + ": " +
                                (db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
    sqlite3_close(db_);
    db_ = nullptr;
    throw DatabaseError(message, rc);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  if (mode == Mode::ReadOnly) return;
  try {
    execScript("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;");
  } catch (...) {
    sqlite3_close_v2(db_);  // not a database: the destructor will not run
    db_ = nullptr;
    throw;
  }
}

Database::~Database() {
  statements_.clear();
  sqlite3_close_v2(db_);
}

int Database::exec(std::string_view sql, std::span<const Value> params) {
  if (writer_ && !inTransaction() && !Statement(*this, sql).readOnly()) {
    std::optional<ConnectionPool::Aside> aside;  // others may read on it while this waits
    if (pool_) aside.emplace(*pool_, *this);
    return writer_->run([&](Database& db) { return db.execHere(sql, params); });
  }
  return execHere(sql, params);
}

bool Database::inTransaction() const {
  return sqlite3_get_autocommit(db_) == 0;
}

int Database::execHere(std::string_view sql, std::span<const Value> params) {
  Statement statement(*this, sql);
  statement.bindAll(params);
  while (statement.step()) {
  }
  return sqlite3_changes(db_);
}

void Database::execScript(const std::string& sql) {
  char* error = nullptr;
  const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    std::string message = error ? error : sqlite3_errstr(rc);
    sqlite3_free(error);
    throw DatabaseError(message + " [" + sql + "]", rc);
  }
}

std::int64_t Database::lastInsertId() const {
  return sqlite3_last_insert_rowid(db_);
}

namespace {

// Runs a complete backup from `from` into `to`, retrying while another connection writes.
void copyDatabase(sqlite3* from, sqlite3* to) {
  for (int attempt = 0;; ++attempt) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) throwDatabaseError(to, sqlite3_errcode(to), "backup");
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE) return;
    if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || attempt >= kBackupRetries) {
      throwDatabaseError(to, rc, "backup");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

}  // namespace

void Database::restoreFrom(const std::filesystem::path& source) {
  if (!std::filesystem::exists(source)) {
    throw DatabaseError("missing database " + platform::utf8Path(source), SQLITE_CANTOPEN);
  }
  Database from(source);
  copyDatabase(from.db_, db_);
}

void Database::backupTo(const std::filesystem::path& target) {
  Database to(target);
  copyDatabase(db_, to.db_);
}

}  // namespace zeziza::store
