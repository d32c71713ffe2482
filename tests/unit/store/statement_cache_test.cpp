#include "store/statement_cache.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "store/database.h"
#include "store/statement.h"
#include "tests/support/temp_folder.h"

namespace zeziza::store {
namespace {

class StatementCacheTest : public ::testing::Test {
 protected:
  StatementCacheTest() {
    db.execScript(
        "create table t(id integer primary key, name text);"
        "insert into t(name) values ('a'),('b'),('c');");
  }
  std::int64_t count(Database& on) {
    Statement s(on, "select count(*) from t");
    s.step();
    return s.columnInt(0);
  }
  testing::TempFolder temp;
  Database db{temp.path() / "data"};
};

TEST_F(StatementCacheTest, TheSameTextRunsAgainOnItsKeptStatementWithFreshBindings) {
  sqlite3_stmt* first = nullptr;
  {
    Statement s(db, "select name from t where id=?");
    const Value id(std::int64_t{2});
    s.bindAll(std::span<const Value>(&id, 1));
    ASSERT_TRUE(s.step());
    EXPECT_EQ(s.columnText(0), "b");
    first = db.statements().take("select name from t where id=?");
    ASSERT_EQ(first, nullptr);  // in use: not in the cache
  }
  EXPECT_EQ(db.statements().size(), 1u);
  Statement again(db, "select name from t where id=?");
  EXPECT_EQ(db.statements().size(), 0u);
  const Value id(std::int64_t{3});
  again.bindAll(std::span<const Value>(&id, 1));
  ASSERT_TRUE(again.step());
  EXPECT_EQ(again.columnText(0), "c");
}

TEST_F(StatementCacheTest, TheSameTextInsideItselfGetsAStatementOfItsOwn) {
  const std::string sql = "select id from t order by id";
  Statement outer(db, sql);
  std::vector<std::int64_t> pairs;
  while (outer.step()) {
    Statement inner(db, sql);
    while (inner.step()) pairs.push_back(outer.columnInt(0) * 10 + inner.columnInt(0));
  }
  EXPECT_EQ(pairs, (std::vector<std::int64_t>{11, 12, 13, 21, 22, 23, 31, 32, 33}));
  EXPECT_EQ(db.statements().size(), 1u);
}

TEST_F(StatementCacheTest, AStatementLeftMidwayHoldsNoSnapshotOfTheDatabase) {
  {
    Statement partial(db, "select id from t");
    ASSERT_TRUE(partial.step());  // given back with rows still to come
  }
  Database other(temp.path() / "data");
  other.exec("insert into t(name) values ('d')");
  EXPECT_EQ(count(db), 4);
  Statement again(db, "select id from t");
  int rows = 0;
  while (again.step()) ++rows;
  EXPECT_EQ(rows, 4);
}

TEST_F(StatementCacheTest, AKeptStatementFollowsAChangedTable) {
  EXPECT_EQ(count(db), 3);
  db.execScript("drop table t; create table t(x); insert into t values (1);");
  EXPECT_EQ(count(db), 1);
  db.execScript("drop table t;");
  EXPECT_THROW(count(db), DatabaseError);
}

TEST(StatementCache, TheLeastRecentlyUsedIsGivenUpFirst) {
  testing::TempFolder temp;
  Database db(temp.path() / "data");
  StatementCache cache(2);
  const auto prepare = [&](const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &stmt, nullptr), SQLITE_OK);
    return stmt;
  };
  cache.give("select 1", prepare("select 1"));
  cache.give("select 2", prepare("select 2"));
  sqlite3_stmt* one = cache.take("select 1");
  ASSERT_NE(one, nullptr);
  cache.give("select 1", one);  // now the most recent
  cache.give("select 3", prepare("select 3"));
  EXPECT_EQ(cache.size(), 2u);
  EXPECT_EQ(cache.take("select 2"), nullptr);
  sqlite3_stmt* kept = cache.take("select 1");
  EXPECT_EQ(kept, one);
  sqlite3_finalize(kept);
  cache.give("select 3", prepare("select 3"));  // already kept: the second is finalised
  EXPECT_EQ(cache.size(), 1u);
  std::string longText = "select 1";
  longText.append(StatementCache::kLongestKept, ' ');
  cache.give(longText, prepare(longText));  // too long to keep
  EXPECT_EQ(cache.size(), 1u);
  EXPECT_EQ(cache.take(longText), nullptr);
}

}  // namespace
}  // namespace zeziza::store
