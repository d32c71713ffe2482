#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "web/limits.h"
#include "web/user_session.h"

namespace zeziza::web {

using Clock = std::chrono::steady_clock;

// A live session: its object and the lock that serves its requests one at a time.
struct LiveSession {
  std::string id;
  std::mutex serving;  // held while one of its requests is served
  std::unique_ptr<Session> user;
  unsigned trackId = 0;       // the number of the last answer rendered
  bool started = false;       // the start exchange has been answered with the first page
  std::string clientAddress;  // of the start exchange
  // Set for good once a request of the session ends signed in.
  std::atomic<bool> signedIn{false};
  // How often its pages tell the server the browser is still there: well within the
  // session time-out, so typed but unsent work is not lost to it.
  std::chrono::milliseconds keepAlive{0};
  // Guarded by the registry's mutex.
  int requestsUnderWay = 0;
  Clock::time_point lastRequest = Clock::now();
  std::uint64_t order = 0;  // the how-manieth session the registry made
  std::string group;        // addressGroup of clientAddress
  std::string account;      // the signed-in account, letter case folded; empty for none
  std::uint64_t signInOrder = 0;
};

// How many sessions the registry keeps, and which give way past the limits.
struct RoomLimits {
  std::size_t capacity = limits::kMaxLiveSessions;
  std::size_t guestsPerAddress = limits::kGuestSessionsPerAddress;
  std::size_t sessionsPerAccount = limits::kSessionsPerAccount;
  std::size_t signedInPerAddress = limits::kSignedInSessionsPerAddress;
  std::chrono::milliseconds loginPageInUse = limits::kLoginPageInUse;
  std::chrono::milliseconds startGrace = limits::kStartExchangeGrace;
  // Login pages of one network (addressGroup); no cap unless set.
  std::size_t guestsPerNetwork = std::numeric_limits<std::size_t>::max();
};

// Idle and busy sessions. A session with a request under way is never ended, nor is one that
// has signed in ended to make room for a newcomer, nor a login page in use while its network
// holds no more than its share of the login pages. Sessions that never signed in (guests) are
// counted apart from signed-in ones, by address and by network. Past its own caps an account,
// or an address, ends its own oldest signed-in session.
class SessionRegistry {
 public:
  explicit SessionRegistry(RoomLimits limits) : limits_(limits) {}
  SessionRegistry(std::size_t capacity, std::size_t guestsPerAddress)
      : SessionRegistry(RoomLimits{capacity, guestsPerAddress}) {}

  using Sessions = std::vector<std::shared_ptr<LiveSession>>;
  struct Created {
    std::shared_ptr<LiveSession> session;  // nullptr when no room could be made
    // Sessions that never signed in, taken out to make room; the caller ends them.
    Sessions displaced;
  };
  // A new session with a fresh 128-bit random id for a browser at `address`. Past the cap of
  // its address, or of its network, the oldest idle guest of that address or network gives
  // way, one whose page was posted within loginPageInUse (or started within startGrace) only
  // when all are. Past the registry's cap an idle guest of the network (addressGroup) holding
  // the most guests gives way: of a network past its share (the guests, the newcomer among
  // them, over the networks holding them), a page in use too; else never one in use.
  Created create(const store::DataFolder& folder, store::SharedStore& store, AppContext& context,
                 const std::string& address);
  // Marks the session busy; nullptr for an unknown id.
  std::shared_ptr<LiveSession> acquire(const std::string& id);
  // Ends a request of the session; `account` names who is signed in now (empty: nobody;
  // nullopt: as before). Returns the sessions taken out because the account or the address
  // is past its cap of signed-in sessions, oldest first; the caller ends them.
  Sessions release(LiveSession& session, const std::optional<std::string>& account);
  bool contains(std::string_view id) const;
  // Removes idle sessions that `shouldEnd` picks and returns them to be ended by the caller.
  Sessions takeIdle(const std::function<bool(const LiveSession&)>& shouldEnd);
  std::size_t count() const;
  // Idle sessions that never signed in and sent nothing since `lastRequestBefore`.
  Sessions idleGuests(Clock::time_point lastRequestBefore) const;

 private:
  using ByOrder = std::map<std::uint64_t, std::shared_ptr<LiveSession>>;
  using Index = std::map<std::string, ByOrder, std::less<>>;

  // Which guests may be ended to make room: at the registry's cap any idle one not in use
  // (the newcomer's network, holding few, is not where they are looked for); at an
  // address's cap, where a browser's own start exchange competes, none younger than
  // startGrace either; or, when none of those, any idle one.
  enum class Yield { Room, OwnRoom, AnyIdle };
  bool givesWay(const LiveSession& guest, Clock::time_point now, Yield yield) const;
  // Takes out the oldest guest of `guests` that gives way and `matches`; false for none.
  bool displaceOldest(const ByOrder& guests, const std::function<bool(const LiveSession&)>& matches,
                      Sessions& displaced, Yield yield);
  // Takes out a guest of the group holding the most that has one to give, groups past their
  // share first; false for none. `newcomerGroup` is the group of the session to be made.
  bool displaceFromLargestGroup(const std::string& newcomerGroup, Sessions& displaced);
  // Makes room among the guests of `guests` that `own` picks: one not in use, else any idle.
  bool displaceOwn(const ByOrder& guests, const std::function<bool(const LiveSession&)>& own,
                   Sessions& displaced);
  // Takes out the oldest idle sessions of `signedIn` but `keep` past `cap`.
  void trimSignedIn(const ByOrder& signedIn, std::size_t cap, const LiveSession& keep,
                    Sessions& taken);
  void signIn(LiveSession& session, const std::string& account);
  void erase(const std::shared_ptr<LiveSession>& session);
  void forgetGuest(const LiveSession& session);
  void forgetAccount(const LiveSession& session);

  RoomLimits limits_;
  mutable std::mutex mutex_;
  std::map<std::string, std::shared_ptr<LiveSession>, std::less<>> sessions_;
  // Sessions that never signed in, oldest first, by address group, and how many each
  // address has.
  Index guestsByGroup_;
  std::map<std::string, std::size_t, std::less<>> guestsByAddress_;
  // Signed-in sessions in the order they signed in, by account and by address.
  Index byAccount_;
  Index signedInByAddress_;
  std::uint64_t made_ = 0;
  std::uint64_t signIns_ = 0;
};

// 32 hex digits from the system's secure random source.
std::string newSessionId();

}  // namespace zeziza::web
