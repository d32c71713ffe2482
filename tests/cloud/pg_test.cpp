// The libpq wrapper against a real server: parameters travel apart from the text, failures
// throw with the server's message, and a transaction not committed leaves nothing.
#include "cloud/pg.h"

#include <gtest/gtest.h>

#include "cloud/schema.h"
#include "tests/cloud/cloud_test_db.h"

namespace zeziza::cloud::pg {
namespace {

using testing::CloudTest;

class PgTest : public CloudTest {};

TEST_F(PgTest, ParametersRoundTripExactly) {
  auto& db = cloud().db();
  db.exec("CREATE TABLE round_trip (t text, n numeric)");
  const std::vector<Param> cases = {"O'Brien", "张三\\n", "a\"b", "", std::nullopt};
  for (const Param& value : cases) {
    db.exec("DELETE FROM round_trip");
    db.exec("INSERT INTO round_trip (t, n) VALUES ($1, $2)", {value, "85.5"});
    const auto result =
        db.exec("SELECT t, n FROM round_trip WHERE t IS NOT DISTINCT FROM $1", {value});
    SCOPED_TRACE(value.value_or("NULL"));
    ASSERT_EQ(result.rows(), 1);
    EXPECT_EQ(result.isNull(0, 0), !value.has_value());
    if (value) {
      EXPECT_EQ(result.text(0, 0), *value);
    }
    EXPECT_EQ(result.text(0, 1), "85.5");
  }
}

TEST_F(PgTest, RefusedStatementThrowsWithServerMessageAndText) {
  try {
    cloud().db().exec("SELECT * FROM no_such_table WHERE x = $1", {"1"});
    FAIL() << "no exception";
  } catch (const Error& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("no_such_table"), std::string::npos) << what;
    EXPECT_NE(what.find("云端成绩服务拒绝了语句"), std::string::npos) << what;
  }
  // The connection stays usable.
  EXPECT_EQ(cloud().scalar("SELECT 1"), "1");
}

TEST_F(PgTest, UncommittedTransactionRollsBack) {
  auto& db = cloud().db();
  db.exec("CREATE TABLE t (n integer)");
  {
    Transaction transaction(db);
    db.exec("INSERT INTO t VALUES (1)");
  }
  EXPECT_EQ(cloud().count("t"), 0);
  {
    Transaction transaction(db);
    db.exec("INSERT INTO t VALUES (2)");
    transaction.commit();
  }
  EXPECT_EQ(cloud().count("t"), 1);
}

TEST_F(PgTest, AffectedRowsAndIntegers) {
  auto& db = cloud().db();
  db.exec("CREATE TABLE t (n bigint)");
  EXPECT_EQ(db.exec("INSERT INTO t VALUES (1), (9007199254740993)").affected(), 2);
  EXPECT_EQ(db.exec("SELECT max(n) FROM t").integer(0, 0), 9007199254740993);
  EXPECT_THROW(db.exec("SELECT 'x'").integer(0, 0), Error);
}

TEST_F(PgTest, SchemaScriptRunsTwiceWithoutChange) {
  cloud().db().exec("INSERT INTO gxdw (单位) VALUES ('东校区')");
  createSchema(cloud().db());
  EXPECT_EQ(cloud().count("gxdw"), 1);
  EXPECT_EQ(cloud().count("yhm"), 0);
}

TEST(PgConnect, UnreachableServerThrowsClearMessage) {
  try {
    Connection c("host=127.0.0.1 port=1 connect_timeout=2 dbname=none");
    FAIL() << "connected";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()).rfind("无法连接云端成绩服务：", 0), 0u) << e.what();
  }
}

}  // namespace
}  // namespace zeziza::cloud::pg
