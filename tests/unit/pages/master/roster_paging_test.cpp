#include "pages/master/roster_paging.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zeziza::pages {
namespace {

TEST(RosterPaging, CountsPagesOfTwentyAndWritesTheCountLine) {
  const std::vector<std::pair<std::size_t, std::size_t>> cases = {{0, 0},  {1, 1},  {20, 1},
                                                                  {21, 2}, {40, 2}, {41, 3}};
  for (const auto& [rows, pages] : cases) {
    SCOPED_TRACE(rows);
    EXPECT_EQ(pageCount(rows), pages);
  }
  EXPECT_EQ(countLine(41, 1, 3), "共有41条符合条件的记录  [第1页/共3页]");
  EXPECT_EQ(countLine(0, 1, 0), "共有0条符合条件的记录  [第1页/共0页]");
}

}  // namespace
}  // namespace zeziza::pages
