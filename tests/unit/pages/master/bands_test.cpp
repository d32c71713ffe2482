#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/master/bands_section.h"

namespace zeziza::pages {
namespace {

using Items = std::vector<std::string>;

TEST(InsertBoundary, KeepsAscendingOrderAndPassesOverBrokenEntries) {
  struct Case {
    Items before;
    int value;
    Items after;
  };
  const std::vector<Case> cases = {
      {{}, 60, {"60"}},
      {{"60", "80"}, 70, {"60", "70", "80"}},
      {{"60", "70", "80"}, 70, {"60", "70", "70", "80"}},
      {{"60", "80"}, 50, {"50", "60", "80"}},
      {{"60", "80"}, 100, {"60", "80", "100"}},
      {{"60", "x", "80"}, 70, {"60", "x", "70", "80"}},
      {{"60", "80"}, -5, {"-5", "60", "80"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.value));
    Items bands = c.before;
    insertBoundary(bands, c.value);
    EXPECT_EQ(bands, c.after);
  }
}

TEST(BandDescription, NamesTheNextBoundaryExceptForTheLast) {
  const Items bands = {"60", "70", "80"};
  EXPECT_EQ(bandDescription(bands, 0), "成绩大于等于满分的60%小于70%(零分除外)");
  EXPECT_EQ(bandDescription(bands, 1), "成绩大于等于满分的70%小于80%(零分除外)");
  EXPECT_EQ(bandDescription(bands, 2), "成绩大于等于满分的80%(零分除外)");
}

}  // namespace
}  // namespace zeziza::pages
