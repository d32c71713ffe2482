#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cloud/pg.h"

namespace zeziza::testing {

// The test server's connection string, from ZEZIZA_CLOUD_TEST (ctest sets it); empty when the
// test binary is run by hand without it.
std::string cloudTestConninfo();

// A fresh schema of the cloud service's tables on the test server, dropped at the end, so
// tests running side by side never see each other's rows. `conninfo()` reaches it.
class CloudTestDatabase {
 public:
  CloudTestDatabase();
  ~CloudTestDatabase();
  CloudTestDatabase(const CloudTestDatabase&) = delete;
  CloudTestDatabase& operator=(const CloudTestDatabase&) = delete;

  const std::string& conninfo() const { return conninfo_; }
  // The test's own connection, for arranging and checking rows.
  cloud::pg::Connection& db() { return *db_; }
  // The first column of the first row of `sql`, as text ("" for NULL or no row).
  std::string scalar(const std::string& sql);
  std::int64_t count(const std::string& table);

 private:
  std::string schema_;
  std::string conninfo_;
  std::unique_ptr<cloud::pg::Connection> db_;
};

// Base of the tests that need the service: skips with a clear message when ZEZIZA_CLOUD_TEST
// is missing, otherwise gives each test its own schema.
class CloudTest : public ::testing::Test {
 protected:
  void SetUp() override;
  CloudTestDatabase& cloud() { return *cloud_; }

 private:
  std::unique_ptr<CloudTestDatabase> cloud_;
};

}  // namespace zeziza::testing
