#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "store/query.h"
#include "store/settings_cache.h"
#include "store/statement.h"
#include "tests/support/page_driver.h"
#include "tests/support/smoke_page.h"

namespace zeziza::testing {
namespace {

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() {
    server.host().setOnlineCountListener(
        [this](const std::string& text) { counts.push_back(text); });
  }
  std::vector<std::string> counts;  // outlives the server, whose end reports counts
  TestServer server{[] { return std::make_unique<SmokePage>(); }};
};

TEST_F(SessionTest, EachBrowserHasItsOwnSessionAndTheCountFollows) {
  auto a = server.browser();
  auto b = server.browser();
  EXPECT_NE(a.id(), b.id());
  EXPECT_EQ(a.id().size(), 32u);
  EXPECT_EQ(server.host().onlineCountText(), "2人在线");
  a.user().login.userName = "a";
  EXPECT_EQ(b.user().login.userName, "");
  EXPECT_NE(&a.user().dataConnection, &b.user().dataConnection);
}

TEST_F(SessionTest, IdleSessionsTimeOutAndTheirCacheFolderGoes) {
  auto a = server.browser();
  const auto folder = a.user().cacheFolder();
  std::ofstream(folder / "x.xlsx") << "x";
  const auto form = a.formFor("clickButton");
  const auto now = web::Clock::now();
  EXPECT_EQ(server.controller().sessions().expireSessions(now + std::chrono::minutes(9)), 0u);
  EXPECT_EQ(server.controller().sessions().expireSessions(now + std::chrono::minutes(11)), 1u);
  EXPECT_FALSE(a.alive());
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_EQ(server.host().onlineCountText(), "0人在线");
  EXPECT_FALSE(server.controller().sessions().postEvent(form, form.value("IW_SessionID_"),
                                                        "127.0.0.1"));  // no new session either
  EXPECT_EQ(server.controller().sessions().sessionCount(), 0u);
}

TEST_F(SessionTest, ResetEndsIdleSessionsKeepsTheAskingOneAndRestoresData) {
  auto idle = server.browser();
  auto asking = server.browser();
  server.db().exec("insert into ks (id, xm) values ('1', '张三')");
  server.db().exec("update sysset set zdz='A\r\nB\r\n' where zdm='dw'");
  server.context().settings().load(server.db());

  // The reset runs inside a request of `asking`, as the web reset does.
  std::size_t rows = 99;
  asking.page<SmokePage>().clickButton.OnClick = [&] {
    web::currentSession().context().runSystemReset();
    store::Query q{web::currentSession().dataConnection};
    q.open("select count(*) as n from ks");
    rows = static_cast<std::size_t>(q.field("n").asInt());
  };
  asking.click("clickButton");

  EXPECT_FALSE(idle.alive());
  EXPECT_TRUE(asking.alive());
  EXPECT_EQ(rows, 0u);
  EXPECT_EQ(server.host().onlineCountText(), "1人在线");
  EXPECT_EQ(server.context().settings().get()->units.size(), 3u);
  asking.click("clickButton");  // the survivor keeps working on the restored data
  EXPECT_TRUE(asking.messages().empty());
}

TEST_F(SessionTest, ResetWithoutRequestsEndsEverySession) {
  auto a = server.browser();
  auto b = server.browser();
  server.host().resetSystem();
  EXPECT_FALSE(a.alive());
  EXPECT_FALSE(b.alive());
  EXPECT_EQ(server.host().onlineCountText(), "0人在线");
  EXPECT_EQ(counts.back(), "0人在线");
}

TEST_F(SessionTest, StartClearsTheCacheAndRestoresTemp) {
  const auto cache = server.folder() / "cache";
  std::filesystem::create_directories(cache / "user" / "old");
  std::ofstream(cache / "user" / "old" / "f.xlsx") << "x";
  {
    store::Database temp(server.folder() / "temp");
    temp.exec("insert into tem (km, cj) values ('数学', 90)");
  }
  server.host().prepareFolder();
  EXPECT_TRUE(std::filesystem::is_directory(cache / "user" / "old"));
  EXPECT_FALSE(std::filesystem::exists(cache / "user" / "old" / "f.xlsx"));
  store::Database temp(server.folder() / "temp");
  store::Statement count(temp, "select count(*) from tem");
  ASSERT_TRUE(count.step());
  EXPECT_EQ(count.column(0).asInt(), 0);
}

TEST_F(SessionTest, OldCacheFilesArePurged) {
  const auto file = server.folder() / "cache" / "old.xlsx";
  std::ofstream(file) << "x";
  const auto now = std::filesystem::file_time_type::clock::now();
  server.controller().sessions().purgeCache(now + std::chrono::minutes(60));
  EXPECT_TRUE(std::filesystem::exists(file));
  server.controller().sessions().purgeCache(now + std::chrono::minutes(121));
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(SessionCap, PastTheCapTheOldestGuestGivesWayAndSignedInSessionsStay) {
  web::ServerSettings settings;
  settings.Room.capacity = 2;
  settings.Room.loginPageInUse = std::chrono::milliseconds(0);  // no page here is being typed into
  TestServer server{[] { return std::make_unique<SmokePage>(); }, settings};
  auto a = server.browser();
  a.user().login.userName = "boss";  // as the login leaves it
  a.click("clickButton");
  auto b = server.browser();
  auto c = server.browser();  // b never signed in: it gives way
  EXPECT_FALSE(b.alive());
  EXPECT_TRUE(a.alive() && c.alive());
  c.user().login.userName = "clerk";
  c.click("clickButton");
  EXPECT_FALSE(server.controller().sessions().startSession());
  web::HttpRequest start;
  start.method = "GET";
  start.path = "/";
  EXPECT_EQ(server.controller().handle(start).status, 503);
  EXPECT_TRUE(a.alive() && c.alive());
}

}  // namespace
}  // namespace zeziza::testing
