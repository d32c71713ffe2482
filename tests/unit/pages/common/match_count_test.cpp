#include "pages/common/match_count.h"

#include <gtest/gtest.h>

#include <string>

namespace zeziza::pages {
namespace {

// The roster pages twenty rows, the score query thirty: both write the same line.
TEST(MatchCountLine, CountsPagesAndNamesThePageShown) {
  const struct {
    web::PageSpan span;
    std::string line;
  } cases[] = {
      {{0, 20, 0}, "共有0条符合条件的记录  [第1页/共0页]"},
      {{1, 20, 0}, "共有1条符合条件的记录  [第1页/共1页]"},
      {{20, 20, 0}, "共有20条符合条件的记录  [第1页/共1页]"},
      {{21, 20, 1}, "共有21条符合条件的记录  [第2页/共2页]"},
      {{40, 20, 0}, "共有40条符合条件的记录  [第1页/共2页]"},
      {{41, 20, 0}, "共有41条符合条件的记录  [第1页/共3页]"},
      {{61, 30, 2}, "共有61条符合条件的记录  [第3页/共3页]"},
      {{2800, 30, 93}, "共有2800条符合条件的记录  [第94页/共94页]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(matchCountLine(c.span), c.line);
  }
}

}  // namespace
}  // namespace zeziza::pages
