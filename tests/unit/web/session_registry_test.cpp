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
    registry.release(session, "user " + session.id);
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
  // Start exchanges give way at once here, unless a case says otherwise.
  static constexpr std::chrono::seconds kNoGrace{0};
  web::SessionRegistry registry{
      web::RoomLimits{3, 2, 20, 1000, std::chrono::seconds(60), kNoGrace}};
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
  registry.release(*a, "");
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
  registry.release(*busy, "");
  EXPECT_TRUE(make("10.0.0.4"));
  EXPECT_EQ(displaced, std::vector<std::string>{busy->id});
}

TEST_F(SessionRoomTest, OneAddressEndsOnlyItsOwnGuests) {
  web::SessionRegistry roomy{web::RoomLimits{100, 2, 20, 1000, std::chrono::seconds(60), kNoGrace}};
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
  roomy.release(*second, "clerk");
  const auto fourth = made("10.0.0.1");
  EXPECT_TRUE(fourth.displaced.empty());
  EXPECT_EQ(roomy.count(), 4u);
  // Sessions that ended leave the count too.
  roomy.takeIdle([&](const web::LiveSession& s) { return s.id != second->id; });
  EXPECT_TRUE(made("10.0.0.1").displaced.empty());
  EXPECT_TRUE(made("10.0.0.1").displaced.empty());
}

// A registry of 6 sessions that makes the sessions of a case and says which gave way.
class RoomTest : public SessionRoomTest {
 protected:
  std::shared_ptr<web::LiveSession> enter(const std::string& address) {
    auto created = room.create(folder, store, context, address);
    for (const auto& s : created.displaced) gaveWay.push_back(s->clientAddress);
    return created.session;
  }
  // A login page that was posted `ago`.
  static void posted(web::LiveSession& s, std::chrono::seconds ago) {
    s.started = true;
    s.lastRequest = web::Clock::now() - ago;
  }
  std::vector<std::shared_ptr<web::LiveSession>> signInAll(const std::string& account, int times,
                                                           const std::string& address) {
    std::vector<std::shared_ptr<web::LiveSession>> sessions;
    for (int i = 0; i < times; ++i) {
      sessions.push_back(enter(address));
      room.acquire(sessions.back()->id);
      for (const auto& s : room.release(*sessions.back(), account)) {
        ended.push_back(s->id);
      }
    }
    return sessions;
  }
  bool alive(const std::shared_ptr<web::LiveSession>& s) const { return room.contains(s->id); }
  web::SessionRegistry room{web::RoomLimits{6, 10, 3, 4, std::chrono::seconds(60), kNoGrace}};
  std::vector<std::string> gaveWay;  // their addresses
  std::vector<std::string> ended;
};

TEST_F(RoomTest, AtTheCapTheNetworkHoldingTheMostGuestsGivesWay) {
  // Three from one /24 (two of them from one address), two elsewhere, one colleague.
  enter("10.0.0.1");
  const auto colleague = enter("10.0.9.7");
  enter("10.0.0.2");
  enter("10.0.0.2");
  enter("10.0.1.1");
  enter("fd00::1");
  ASSERT_TRUE(enter("10.0.1.2"));
  EXPECT_EQ(gaveWay, std::vector<std::string>{"10.0.0.1"});  // oldest of the largest /24
  // Of networks holding as many, the one with the oldest guest gives way; IPv6 addresses of
  // one /64 count together.
  for (const char* address : {"10.0.1.3", "fd00::2", "fd00::3", "fd00::4"}) {
    ASSERT_TRUE(enter(address)) << address;
  }
  EXPECT_EQ(gaveWay,
            (std::vector<std::string>{"10.0.0.1", "10.0.0.2", "10.0.1.1", "fd00::1", "10.0.1.2"}));
  EXPECT_TRUE(alive(colleague));
  EXPECT_EQ(room.count(), 6u);
}

TEST_F(RoomTest, ALoginPageInUseNeverGivesWayForRoom) {
  const auto typing = enter("10.0.0.1");
  posted(*typing, std::chrono::seconds(5));
  const auto stale = enter("10.0.0.2");
  posted(*stale, std::chrono::seconds(61));
  const auto unfinished = enter("10.0.0.3");  // only its start exchange
  for (const char* address : {"10.0.5.1", "10.0.5.2", "10.0.7.1"}) enter(address);
  // The largest network is 10.0.0/24, and of it the page typed into stays.
  ASSERT_TRUE(enter("10.0.6.1"));
  ASSERT_TRUE(enter("10.0.6.2"));
  EXPECT_TRUE(alive(typing));
  EXPECT_FALSE(alive(stale));
  EXPECT_FALSE(alive(unfinished));
  // With only pages in use left to give way, nobody new gets in.
  web::SessionRegistry full{web::RoomLimits{2, 10, 3, 4, std::chrono::seconds(60), kNoGrace}};
  for (const char* address : {"10.0.0.1", "10.0.0.2"}) {
    posted(*full.create(folder, store, context, address).session, std::chrono::seconds(1));
  }
  const auto refused = full.create(folder, store, context, "10.0.0.3");
  EXPECT_FALSE(refused.session);
  EXPECT_TRUE(refused.displaced.empty());
  // Past its own cap an address makes room among its own pages, in use or not.
  web::SessionRegistry staffRoom{web::RoomLimits{100, 2, 3, 4, std::chrono::seconds(60)}};
  std::vector<std::string> made;
  for (int i = 0; i < 2; ++i) {
    const auto s = staffRoom.create(folder, store, context, "10.0.0.1").session;
    posted(*s, std::chrono::seconds(1));
    made.push_back(s->id);
  }
  const auto third = staffRoom.create(folder, store, context, "10.0.0.1");
  ASSERT_TRUE(third.session);
  ASSERT_EQ(third.displaced.size(), 1u);
  EXPECT_EQ(third.displaced.front()->id, made.front());
  // Of its own address's, a browser between its start exchange and its first post is not
  // ended while one that never followed its start up is.
  web::SessionRegistry graceful{
      web::RoomLimits{100, 2, 3, 4, std::chrono::seconds(60), std::chrono::seconds(5)}};
  const auto starting = graceful.create(folder, store, context, "10.0.0.1").session;  // oldest
  const auto abandoned = graceful.create(folder, store, context, "10.0.0.1").session;
  abandoned->lastRequest -= std::chrono::seconds(6);
  const auto next = graceful.create(folder, store, context, "10.0.0.1");
  ASSERT_EQ(next.displaced.size(), 1u);
  EXPECT_EQ(next.displaced.front()->id, abandoned->id);
  EXPECT_TRUE(graceful.contains(starting->id));
}

// Login pages kept warm (posted again and again) from several networks fill the room: those of
// networks past their share are not in use for it, so a colleague on another network gets a
// page, and keeps it while the flood goes on.
TEST_F(RoomTest, AWarmFloodOfLoginPagesLetsAColleagueOnAnotherNetworkIn) {
  int flooded = 0;
  const auto flood = [&] {
    const int n = flooded++;
    const auto page = enter("10.0." + std::to_string(n % 3 + 1) + "." + std::to_string(n / 3 + 1));
    if (page) posted(*page, std::chrono::seconds(1));
    return page;
  };
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(flood());
  const auto colleague = enter("10.0.9.9");
  ASSERT_TRUE(colleague);
  posted(*colleague, std::chrono::seconds(1));
  EXPECT_EQ(gaveWay, std::vector<std::string>{"10.0.1.1"});  // oldest of the largest network
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(flood()) << i;
  EXPECT_TRUE(alive(colleague));
  EXPECT_EQ(room.count(), 6u);
  // Within their shares, pages in use stay and the newcomer waits.
  web::SessionRegistry even{web::RoomLimits{4, 10, 3, 4, std::chrono::seconds(60), kNoGrace}};
  for (const char* address : {"10.0.1.1", "10.0.1.2", "10.0.2.1", "10.0.2.2"}) {
    posted(*even.create(folder, store, context, address).session, std::chrono::seconds(1));
  }
  EXPECT_FALSE(even.create(folder, store, context, "10.0.1.3").session);
}

// One network's login pages are capped well below the room: past it the network's own oldest
// page gives way, in use or not, and other networks' pages stay.
TEST_F(RoomTest, ANetworkPastItsCapOfLoginPagesEndsItsOwnOldest) {
  web::RoomLimits limits{100, 2, 3, 4, std::chrono::seconds(60), kNoGrace};
  limits.guestsPerNetwork = 3;
  web::SessionRegistry capped{limits};
  const auto other = capped.create(folder, store, context, "10.0.9.9").session;
  std::vector<std::string> made;
  for (const char* address : {"10.0.0.1", "10.0.0.2", "10.0.0.3"}) {
    const auto s = capped.create(folder, store, context, address).session;
    posted(*s, std::chrono::seconds(1));
    made.push_back(s->id);
  }
  const auto fourth = capped.create(folder, store, context, "10.0.0.4");
  ASSERT_TRUE(fourth.session);
  ASSERT_EQ(fourth.displaced.size(), 1u);
  EXPECT_EQ(fourth.displaced.front()->id, made.front());
  EXPECT_TRUE(capped.contains(other->id));
  // Signed-in sessions are not counted with the network's login pages.
  capped.acquire(fourth.session->id);
  capped.release(*fourth.session, "clerk");
  EXPECT_TRUE(capped.create(folder, store, context, "10.0.0.5").displaced.empty());
  EXPECT_EQ(capped.count(), 5u);
  EXPECT_EQ(web::limits::guestSessionsPerNetwork(5000), 500u);
  EXPECT_EQ(web::limits::guestSessionsPerNetwork(100), web::limits::kGuestSessionsPerAddress);
}

TEST_F(RoomTest, AnAccountPastItsCapEndsItsOldestIdleSession) {
  const auto first = signInAll("Clerk", 2, "10.0.0.1");
  const auto busy = signInAll("clerk", 1, "10.0.0.2").front();  // letter case is one account
  room.acquire(busy->id);
  const auto later = signInAll("CLERK", 2, "10.0.0.3");
  // Three at most: the two oldest idle ones went, the busy one stays.
  EXPECT_EQ(ended, (std::vector<std::string>{first[0]->id, first[1]->id}));
  EXPECT_TRUE(alive(busy) && alive(later[0]) && alive(later[1]));
  // Others sign in as before.
  const auto other = signInAll("admin", 1, "10.0.0.1");
  EXPECT_TRUE(alive(other.front()));
  EXPECT_EQ(ended.size(), 2u);
}

TEST_F(RoomTest, AnAddressPastItsCapOfSignedInSessionsEndsItsOldest) {
  std::vector<std::shared_ptr<web::LiveSession>> sessions;
  for (int i = 0; i < 5; ++i) {
    sessions.push_back(signInAll("user" + std::to_string(i), 1, "10.0.0.1").front());
  }
  EXPECT_EQ(ended, std::vector<std::string>{sessions[0]->id});
  EXPECT_EQ(room.count(), 4u);
  // Signing out leaves the counts: a fifth sign-in from the address ends nobody then.
  room.acquire(sessions[1]->id);
  EXPECT_TRUE(room.release(*sessions[1], "").empty());
  signInAll("user9", 1, "10.0.0.1");
  EXPECT_EQ(ended.size(), 1u);
}

}  // namespace
}  // namespace zeziza::testing
