#include "analysis/ranks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using zeziza::analysis::parseRankMode;
using zeziza::analysis::RankMode;
using zeziza::analysis::ranksInOrder;

TEST(Ranks, SequentialAndSharedRanksOfOrderedValues) {
  struct Case {
    std::vector<double> ordered;
    std::vector<std::uint32_t> sequential;
    std::vector<std::uint32_t> shared;
  };
  const std::vector<Case> cases = {
      {{}, {}, {}},
      {{90}, {1}, {1}},
      {{95, 95, 90}, {1, 2, 3}, {1, 1, 3}},
      {{327, 327, 327, 300, 300, 10}, {1, 2, 3, 4, 5, 6}, {1, 1, 1, 4, 4, 6}},
      {{90, 85, 85, 70}, {1, 2, 3, 4}, {1, 2, 2, 4}},
      {{80, 0, 0}, {1, 2, 3}, {1, 2, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.ordered));
    EXPECT_EQ(ranksInOrder(c.ordered, RankMode::Sequential), c.sequential);
    EXPECT_EQ(ranksInOrder(c.ordered, RankMode::Shared), c.shared);
  }
}

TEST(Ranks, OnlyTheSharedTextChoosesSharedRanks) {
  EXPECT_EQ(parseRankMode("并列名次"), RankMode::Shared);
  for (const char* text : {"顺序名次", "", "并列", "whatever"}) {
    EXPECT_EQ(parseRankMode(text), RankMode::Sequential) << text;
  }
}

}  // namespace
