#include "pages/analysis/score_statistics.h"

#include <gtest/gtest.h>

#include "store/connection.h"
#include "store/data_folder.h"
#include "tests/support/temp_folder.h"

namespace zeziza::pages {
namespace {

TEST(ScoreValue, NumbersNullsAndNumericTexts) {
  struct Case {
    store::Value value;
    double expected;
  };
  const std::vector<Case> cases = {
      {store::Value(), 0},        {store::Value(85), 85},
      {store::Value(85.5), 85.5}, {store::Value(" 85.5 "), 85.5},
      {store::Value(""), 0},      {store::Value("-3"), -3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.asText());
    EXPECT_EQ(scoreValue(c.value), c.expected);
  }
  for (const char* bad : {"8O", "85分", "abc", "1e"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(scoreValue(store::Value(bad)), std::runtime_error);
  }
}

TEST(SubjectRecords, EveryRowOnceAndTheRosterCountedOnlyWhenNeeded) {
  testing::TempFolder temp;
  const store::DataFolder folder{temp.path()};
  store::prepareDataFolder(folder);
  store::Connection connection(folder.data());
  store::Query result(connection);
  result.open(
      "select 60 as 数学, 0 as 语文 union all select 80, 0 union all select 100, 75 "
      "union all select null, 0");
  result.moveBy(2);
  int asked = 0;
  const auto records =
      subjectRecords(result, {"数学", "语文"}, {90, 80, 60}, std::vector<int>{60}, [&] {
        ++asked;
        return 7;
      });
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(result.recNo(), 2u);
  ASSERT_EQ(records.size(), 2u);
  ASSERT_TRUE(records[0].stats.has_value());
  EXPECT_EQ(records[0].stats->enrolled, 7);
  EXPECT_EQ(records[0].stats->participants, 3);
  EXPECT_EQ(records[0].stats->total, 240);
  EXPECT_FALSE(records[1].stats.has_value());

  int unused = 0;
  const auto none = subjectRecords(result, {"语文"}, {90, 80, 60}, {}, [&] { return ++unused; });
  EXPECT_EQ(unused, 0);
  EXPECT_THROW(subjectRecords(result, {"物理"}, {90, 80, 60}, {}, [] { return 0; }),
               std::out_of_range);
}

}  // namespace
}  // namespace zeziza::pages
