#include <gtest/gtest.h>

#include "tests/support/page_driver.h"
#include "tests/support/smoke_page.h"

namespace zeziza::testing {
namespace {

class RequestCycleTest : public ::testing::Test {
 protected:
  TestServer server{[] { return std::make_unique<SmokePage>(); }};
};

TEST_F(RequestCycleTest, StartExchangeShowsTheStartPage) {
  auto browser = server.browser();
  EXPECT_EQ(browser.pageClass(), "SmokePage");
  EXPECT_EQ(browser.page<SmokePage>().IWLabel1.Caption, "ready:frame created");
}

}  // namespace
}  // namespace zeziza::testing
