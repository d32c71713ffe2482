#include "cloud/pg.h"

#include <libpq-fe.h>
#include <poll.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

#include "base/text.h"

namespace zeziza::cloud::pg {

namespace {

// The server's message without its trailing line break.
std::string messageOf(const char* message) {
  return base::trimmed(message ? message : "");
}

// The statement's beginning, enough to tell which one failed.
std::string excerpt(std::string_view sql) {
  constexpr std::size_t kLength = 160;
  return std::string(sql.substr(0, kLength)) + (sql.size() > kLength ? "…" : "");
}

}  // namespace

void Result::Clear::operator()(pg_result* r) const {
  PQclear(r);
}

Result::Result(pg_result* result) : result_(result) {}

int Result::rows() const {
  return PQntuples(result_.get());
}

int Result::columns() const {
  return PQnfields(result_.get());
}

bool Result::isNull(int row, int column) const {
  return PQgetisnull(result_.get(), row, column) != 0;
}

std::string Result::text(int row, int column) const {
  return std::string(PQgetvalue(result_.get(), row, column),
                     static_cast<std::size_t>(PQgetlength(result_.get(), row, column)));
}

std::int64_t Result::integer(int row, int column) const {
  const std::string value = text(row, column);
  std::int64_t number = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (ec != std::errc() || end != value.data() + value.size()) {
    throw Error("云端返回的值不是整数：" + value);
  }
  return number;
}

std::int64_t Result::affected() const {
  const char* count = PQcmdTuples(result_.get());
  std::int64_t number = 0;
  std::from_chars(count, count + std::char_traits<char>::length(count), number);
  return number;
}

void Connection::Finish::operator()(pg_conn* c) const {
  PQfinish(c);
}

namespace {

// The parameters as libpq takes them: text, a null pointer for NULL.
std::vector<const char*> parameterValues(std::span<const Param> params) {
  std::vector<const char*> values;
  values.reserve(params.size());
  for (const Param& p : params) values.push_back(p ? p->c_str() : nullptr);
  return values;
}

}  // namespace

Connection::Connection(const std::string& conninfo) {
  // A time-out first, so that one given in the connection string wins; dbname is expanded.
  const char* keys[] = {"connect_timeout", "application_name", "client_encoding", "dbname",
                        nullptr};
  const char* values[] = {"10", "zeziza", "UTF8", conninfo.c_str(), nullptr};
  conn_.reset(PQconnectdbParams(keys, values, 1));
  if (!conn_) throw Error("无法连接云端成绩服务：内存不足");
  if (PQstatus(conn_.get()) != CONNECTION_OK) {
    throw Error("无法连接云端成绩服务：" + messageOf(PQerrorMessage(conn_.get())));
  }
}

Result Connection::exec(std::string_view sql, std::span<const Param> params) {
  if (params.size() > kMaxParameters) throw Error("语句参数过多：" + excerpt(sql));
  const auto values = parameterValues(params);
  const std::string text(sql);
  return checked(PQexecParams(conn_.get(), text.c_str(), static_cast<int>(values.size()), nullptr,
                              values.data(), nullptr, nullptr, 0),
                 sql);
}

Result Connection::execPrepared(const std::string& name, std::string_view sql,
                                std::span<const Param> params) {
  if (!prepared_.contains(name)) {
    const std::string text(sql);
    checked(PQprepare(conn_.get(), name.c_str(), text.c_str(), 0, nullptr), sql);
    prepared_.insert(name);
  }
  const auto values = parameterValues(params);
  return checked(PQexecPrepared(conn_.get(), name.c_str(), static_cast<int>(values.size()),
                                values.data(), nullptr, nullptr, 0),
                 sql);
}

void Connection::execScript(const std::string& sql) {
  checked(PQexec(conn_.get(), sql.c_str()), sql);
}

bool Connection::healthy() const {
  pg_conn* conn = conn_.get();
  // A server that restarted (or ended this session) has sent its farewell and closed the
  // socket: waiting input on an idle connection shows it without a round trip.
  for (int reads = 0; reads < 4 && PQstatus(conn) == CONNECTION_OK; ++reads) {
    pollfd waiting{PQsocket(conn), POLLIN, 0};
    if (poll(&waiting, 1, 0) <= 0) break;
    if (PQconsumeInput(conn) == 0) return false;
  }
  return PQstatus(conn) == CONNECTION_OK;
}

std::string Connection::passwordVerifier(const std::string& password, const std::string& role) {
  std::unique_ptr<char, decltype(&PQfreemem)> verifier(
      PQencryptPasswordConn(conn_.get(), password.c_str(), role.c_str(), "scram-sha-256"),
      &PQfreemem);
  if (!verifier) throw Error("无法加密数据库密码：" + messageOf(PQerrorMessage(conn_.get())));
  return verifier.get();
}

std::string Connection::literal(std::string_view value) {
  std::unique_ptr<char, decltype(&PQfreemem)> quoted(
      PQescapeLiteral(conn_.get(), value.data(), value.size()), &PQfreemem);
  if (!quoted) throw Error("无法转义文字：" + messageOf(PQerrorMessage(conn_.get())));
  return quoted.get();
}

std::int64_t Connection::copyIn(const std::string& copySql, std::string_view rows) {
  pg_conn* conn = conn_.get();
  pg_result* started = PQexec(conn, copySql.c_str());
  if (PQresultStatus(started) != PGRES_COPY_IN) {
    checked(started, copySql);
    throw Error("不是COPY语句：" + excerpt(copySql));
  }
  PQclear(started);
  constexpr std::size_t kChunk = 1 << 20;
  for (std::size_t at = 0; at < rows.size(); at += kChunk) {
    const std::size_t n = std::min(kChunk, rows.size() - at);
    if (PQputCopyData(conn, rows.data() + at, static_cast<int>(n)) != 1) break;  // reported below
  }
  PQputCopyEnd(conn, nullptr);
  // The first failure wins; the results are drained either way so the connection stays usable.
  pg_result* outcome = nullptr;
  while (pg_result* next = PQgetResult(conn)) {
    const bool failed = PQresultStatus(next) != PGRES_COMMAND_OK;
    if (!outcome || (failed && PQresultStatus(outcome) == PGRES_COMMAND_OK)) {
      PQclear(outcome);
      outcome = next;
    } else {
      PQclear(next);
    }
  }
  return checked(outcome, copySql).affected();
}

std::int64_t Connection::copyOut(const std::string& copySql, std::string& rows) {
  pg_conn* conn = conn_.get();
  pg_result* started = PQexec(conn, copySql.c_str());
  if (PQresultStatus(started) != PGRES_COPY_OUT) {
    checked(started, copySql);
    throw Error("不是COPY语句：" + excerpt(copySql));
  }
  PQclear(started);
  char* buffer = nullptr;
  int n = 0;
  while ((n = PQgetCopyData(conn, &buffer, 0)) > 0) {
    rows.append(buffer, static_cast<std::size_t>(n));
    PQfreemem(buffer);
  }
  const Result done = checked(PQgetResult(conn), copySql);
  while (pg_result* extra = PQgetResult(conn)) PQclear(extra);
  return done.affected();
}

Result Connection::checked(pg_result* raw, std::string_view sql) {
  Result result(raw);
  if (!raw) throw Error("云端成绩服务无应答：" + messageOf(PQerrorMessage(conn_.get())));
  const ExecStatusType status = PQresultStatus(raw);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    throw Error("云端成绩服务拒绝了语句：" + messageOf(PQresultErrorMessage(raw)) + " [" +
                excerpt(sql) + "]");
  }
  return result;
}

void copyField(std::string& out, const Param& value) {
  if (!value) {
    out += "\\N";
    return;
  }
  for (const char c : *value) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
  connection_.exec("BEGIN");
}

Transaction::~Transaction() {
  if (done_) return;
  try {
    connection_.exec("ROLLBACK");
  } catch (...) {
    // A broken connection has rolled back by itself.
  }
}

void Transaction::commit() {
  connection_.exec("COMMIT");
  done_ = true;
}

}  // namespace zeziza::cloud::pg
