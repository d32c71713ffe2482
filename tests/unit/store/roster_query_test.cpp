#include "store/roster_query.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace zeziza::store {
namespace {

constexpr const char* kColumns =
    "select bh,id as 学生编号, xx as 学校, xm as 姓名,nj as 年级,bj as 班次,'修改' as 修改,"
    "'删除该生' as 删除该学生 from ks";

TEST(RosterStatement, TheFirstActiveFilterBeginsWithWhere) {
  struct Case {
    RosterFilter filter;
    std::string conditions;
    std::vector<Value> params;
  };
  const std::vector<Case> cases = {
      {{}, "", {}},
      {{{"东校区", {}, {}}, ""}, " where xx=?", {"东校区"}},
      {{{{}, "2010级", {}}, ""}, " where nj=?", {"2010级"}},
      {{{{}, {}, "一班"}, ""}, " where bj=?", {"一班"}},
      {{{}, "O'B"}, " where xm like ? escape '\\'", {"%O'B%"}},
      {{{{}, "2010级", "一班"}, ""}, " where nj=? and bj=?", {"2010级", "一班"}},
      {{{"东校区", {}, {}}, "张"}, " where xx=? and xm like ? escape '\\'", {"东校区", "%张%"}},
      // An empty value is a value: it holds the students without one, not everyone.
      {{{"", {}, {}}, ""}, " where xx=?", {""}},
      {{Scope::place("东校区", "2010级", "一班"), "张"},
       " where xx=? and nj=? and bj=? and xm like ? escape '\\'",
       {"东校区", "2010级", "一班", "%张%"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.conditions);
    const BoundStatement statement = rosterKeysStatement(c.filter);
    EXPECT_EQ(statement.sql, "select bh from ks" + c.conditions + " order by bh");
    EXPECT_EQ(statement.params, c.params);
  }
}

// A page's rows, or an export's piece, read again by key in the roster's order.
TEST(RosterStatement, RowsByKeyBindEveryKey) {
  const struct {
    std::vector<std::int64_t> keys;
    std::string conditions;
  } cases[] = {
      {{}, " where 0"},  // the columns alone
      {{7}, " where bh in (?) order by bh"},
      {{9, 3, 5}, " where bh in (?,?,?) order by bh"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.conditions);
    const BoundStatement statement = rosterRowsByKeyStatement(c.keys);
    EXPECT_EQ(statement.sql, kColumns + c.conditions);
    EXPECT_EQ(statement.params, std::vector<Value>(c.keys.begin(), c.keys.end()));
  }
  const std::vector<std::int64_t> tooMany(kMaxKeysPerRead + 1, 1);
  EXPECT_THROW(rosterRowsByKeyStatement(tooMany), std::invalid_argument);
  EXPECT_NO_THROW(rosterRowsByKeyStatement(std::span(tooMany).first(kMaxKeysPerRead)));
}

TEST(RosterStatement, NamePartMatchesItsWildcardsLiterally) {
  EXPECT_EQ(containsPattern("张"), "%张%");
  EXPECT_EQ(containsPattern("50%_a\\b"), "%50\\%\\_a\\\\b%");
}

}  // namespace
}  // namespace zeziza::store
