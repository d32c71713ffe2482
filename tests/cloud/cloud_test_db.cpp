#include "tests/cloud/cloud_test_db.h"

#include <libpq-fe.h>
#include <sodium.h>

#include <cstdlib>
#include <stdexcept>

#include "cloud/schema.h"

namespace zeziza::testing {

namespace {

// A libpq value in single quotes, with quotes and backslashes escaped.
std::string quoted(const std::string& value) {
  std::string out = "'";
  for (char c : value) {
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out + "'";
}

// `conninfo` with the search path set to `schema`, whatever form the string has.
std::string withSearchPath(const std::string& conninfo, const std::string& schema) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
  if (!options) {
    const std::string message = error ? error : "bad connection string";
    PQfreemem(error);
    throw std::runtime_error(message);
  }
  std::string out;
  for (const PQconninfoOption* o = options; o->keyword; ++o) {
    if (!o->val || std::string(o->keyword) == "options") continue;
    out += std::string(o->keyword) + "=" + quoted(o->val) + " ";
  }
  PQconninfoFree(options);
  return out + "options=" + quoted("-csearch_path=" + schema);
}

std::string randomSchemaName() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
  return "t_" + std::to_string(randombytes_random()) + "_" + std::to_string(randombytes_random());
}

}  // namespace

std::string cloudTestConninfo() {
  const char* value = std::getenv("ZEZIZA_CLOUD_TEST");
  return value ? value : "";
}

CloudTestDatabase::CloudTestDatabase() : schema_(randomSchemaName()) {
  const std::string base = cloudTestConninfo();
  cloud::pg::Connection admin(base);
  admin.exec("CREATE SCHEMA " + schema_);
  conninfo_ = withSearchPath(base, schema_);
  db_ = std::make_unique<cloud::pg::Connection>(conninfo_);
  cloud::createSchema(*db_);
}

CloudTestDatabase::~CloudTestDatabase() {
  db_.reset();
  try {
    cloud::pg::Connection admin(cloudTestConninfo());
    admin.exec("DROP SCHEMA " + schema_ + " CASCADE");
  } catch (...) {
    // The server is removed after the run anyway.
  }
}

std::string CloudTestDatabase::scalar(const std::string& sql) {
  const auto result = db_->exec(sql);
  return result.rows() == 0 || result.isNull(0, 0) ? "" : result.text(0, 0);
}

std::int64_t CloudTestDatabase::count(const std::string& table) {
  return std::stoll(scalar("SELECT count(*) FROM " + table));
}

void CloudTest::SetUp() {
  if (cloudTestConninfo().empty()) {
    GTEST_SKIP() << "ZEZIZA_CLOUD_TEST is not set: run the cloud tests through ctest, which "
                    "starts a throwaway PostgreSQL server, or set it to a libpq connection "
                    "string of a server where schemas may be created and dropped";
  }
  cloud_ = std::make_unique<CloudTestDatabase>();
}

}  // namespace zeziza::testing
