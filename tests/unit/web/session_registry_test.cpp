#include "web/session_registry.h"

#include <gtest/gtest.h>

#include "store/data_folder.h"
#include "store/shared_store.h"
#include "tests/support/temp_folder.h"
#include "web/app_context.h"

namespace zeziza::testing {
namespace {

// Sessions are made with an address and marked signed in or busy by the steps of a case;
// the registry holds 3 sessions, 2 guests an address.
class SessionRoomTest : public ::testing::Test {
 protected:
  std::shared_ptr<web::LiveSession> make(const std::string& address) {
    auto created = registry.create(folder, store, context, address);
    for (const auto& s : created.displaced) displaced.push_back(s->id);
    return created.session;
  }
  void signIn(web::LiveSession& session) {
    ASSERT_TRUE(registry.acquire(session.id));
    registry.release(session, true);
  }
  bool live(const std::shared_ptr<web::LiveSession>& s) const { return registry.contains(s->id); }

  static store::DataFolder prepared(const std::filesystem::path& dir) {
    store::DataFolder folder{dir};
    store::prepareDataFolder(folder);  // the shared store opens its databases at once
    return folder;
  }

  TempFolder temp;
  store::DataFolder folder = prepared(temp.path());
  store::SharedStore store{folder};
  web::AppContext context{"", ""};
  web::SessionRegistry registry{3, 2};
  std::vector<std::string> displaced;
};

TEST_F(SessionRoomTest, PastTheCapTheOldestGuestGivesWay) {
  const auto a = make("10.0.0.1");
  const auto b = make("10.0.0.2");
  const auto c = make("10.0.0.3");
  const auto d = make("10.0.0.4");
  ASSERT_TRUE(d);
  EXPECT_EQ(displaced, std::vector<std::string>{a->id});
  EXPECT_FALSE(live(a));
  EXPECT_TRUE(live(b) && live(c) && live(d));
  EXPECT_EQ(registry.count(), 3u);
}

TEST_F(SessionRoomTest, ASignedInSessionNeverGivesWay) {
  const auto a = make("10.0.0.1");
  signIn(*a);
  const auto b = make("10.0.0.2");
  signIn(*b);
  const auto c = make("10.0.0.3");
  EXPECT_TRUE(make("10.0.0.4"));  // c, the only guest, gives way
  EXPECT_EQ(displaced, std::vector<std::string>{c->id});
  EXPECT_TRUE(live(a) && live(b));
  // A signed-out session stays signed in for this purpose: the flag never clears.
  registry.acquire(a->id);
  registry.release(*a, false);
  EXPECT_TRUE(make("10.0.0.5"));
  EXPECT_TRUE(live(a) && live(b));
}

TEST_F(SessionRoomTest, WithOnlySignedInOrBusySessionsNobodyNewGetsIn) {
  const auto a = make("10.0.0.1");
  signIn(*a);
  const auto b = make("10.0.0.2");
  signIn(*b);
  const auto busy = make("10.0.0.3");
  ASSERT_TRUE(registry.acquire(busy->id));  // a request of the guest is under way
  EXPECT_FALSE(make("10.0.0.4"));
  EXPECT_TRUE(displaced.empty());
  EXPECT_EQ(registry.count(), 3u);
  registry.release(*busy, false);
  EXPECT_TRUE(make("10.0.0.4"));
  EXPECT_EQ(displaced, std::vector<std::string>{busy->id});
}

TEST_F(SessionRoomTest, OneAddressEndsOnlyItsOwnGuests) {
  web::SessionRegistry roomy{100, 2};
  auto made = [&](const std::string& address) {
    return roomy.create(folder, store, context, address);
  };
  const auto other = made("10.0.0.9").session;
  const auto first = made("10.0.0.1").session;
  const auto second = made("10.0.0.1").session;
  const auto third = made("10.0.0.1");
  ASSERT_TRUE(third.session);
  ASSERT_EQ(third.displaced.size(), 1u);
  EXPECT_EQ(third.displaced.front()->id, first->id);
  EXPECT_TRUE(roomy.contains(other->id) && roomy.contains(second->id));
  // A signed-in session of the address leaves the guests' count.
  roomy.acquire(second->id);
  roomy.release(*second, true);
  const auto fourth = made("10.0.0.1");
  EXPECT_TRUE(fourth.displaced.empty());
  EXPECT_EQ(roomy.count(), 4u);
  // Sessions that ended leave the count too.
  roomy.takeIdle([&](const web::LiveSession& s) { return s.id != second->id; });
  EXPECT_TRUE(made("10.0.0.1").displaced.empty());
  EXPECT_TRUE(made("10.0.0.1").displaced.empty());
}

}  // namespace
}  // namespace zeziza::testing
