#include "store/statement.h"

#include <sqlite3.h>

#include "store/database.h"

namespace zeziza::store {

Statement::Statement(Database& db, std::string_view sql)
    : owner_(&db), stmt_(db.statements().take(sql)), sql_(sql) {
  if (stmt_) return;
  const int rc = sqlite3_prepare_v3(owner_->handle(), sql_.data(), static_cast<int>(sql_.size()),
                                    SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
  if (rc != SQLITE_OK) throwDatabaseError(owner_->handle(), rc, sql_);
  if (!stmt_) throw DatabaseError("empty statement [" + sql_ + "]", SQLITE_MISUSE);
}

Statement::~Statement() {
  try {
    owner_->statements().give(std::move(sql_), stmt_);
  } catch (...) {
    sqlite3_finalize(stmt_);  // out of memory for the cache: just not kept
  }
}

void Statement::bindAll(std::span<const Value> params) {
  const int expected = sqlite3_bind_parameter_count(stmt_);
  if (expected != static_cast<int>(params.size())) {
    throw DatabaseError("statement expects " + std::to_string(expected) + " parameters, got " +
                            std::to_string(params.size()) + " [" + sql_ + "]",
                        SQLITE_RANGE);
  }
  for (int i = 0; i < expected; ++i) {
    const Value& v = params[static_cast<std::size_t>(i)];
    int rc = SQLITE_OK;
    if (v.isNull()) {
      rc = sqlite3_bind_null(stmt_, i + 1);
    } else if (v.isInteger()) {
      rc = sqlite3_bind_int64(stmt_, i + 1, v.asInt());
    } else if (v.isReal()) {
      rc = sqlite3_bind_double(stmt_, i + 1, v.asDouble());
    } else {
      const std::string& text = std::get<std::string>(v.variant());
      rc = sqlite3_bind_text(stmt_, i + 1, text.data(), static_cast<int>(text.size()),
                             SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) throwDatabaseError(owner_->handle(), rc, sql_);
  }
}

bool Statement::step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  throwDatabaseError(owner_->handle(), rc, sql_);
}

void Statement::reset() {
  sqlite3_reset(stmt_);  // a failed step reported its error already
  sqlite3_clear_bindings(stmt_);
}

bool Statement::readOnly() const {
  return stmt_ == nullptr || sqlite3_stmt_readonly(stmt_) != 0;
}

int Statement::columnCount() const {
  return sqlite3_column_count(stmt_);
}

std::string Statement::columnName(int i) const {
  const char* name = sqlite3_column_name(stmt_, i);
  return name ? name : "";
}

std::string Statement::columnTable(int i) const {
  const char* table = sqlite3_column_table_name(stmt_, i);
  return table ? table : "";
}

Value Statement::column(int i) const {
  switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER:
      return Value(static_cast<std::int64_t>(sqlite3_column_int64(stmt_, i)));
    case SQLITE_FLOAT:
      return Value(sqlite3_column_double(stmt_, i));
    case SQLITE_NULL:
      return Value();
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
      return Value(std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, i))));
    }
  }
}

double Statement::columnDouble(int i) const {
  switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      return sqlite3_column_double(stmt_, i);
    case SQLITE_NULL:
      return 0;
    default:
      return column(i).asDouble();
  }
}

std::int64_t Statement::columnInt(int i) const {
  return sqlite3_column_type(stmt_, i) == SQLITE_INTEGER ? sqlite3_column_int64(stmt_, i)
                                                         : column(i).asInt();
}

std::string_view Statement::columnText(int i) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
  if (!text) return {};
  return {text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, i))};
}

}  // namespace zeziza::store
