#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

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
};

// Idle and busy sessions: a session with a request under way is never ended, nor is one that
// has signed in ended to make room.
class SessionRegistry {
 public:
  SessionRegistry(std::size_t capacity, std::size_t guestsPerAddress)
      : capacity_(capacity), guestsPerAddress_(guestsPerAddress) {}

  struct Created {
    std::shared_ptr<LiveSession> session;  // nullptr when no room could be made
    // Sessions that never signed in, taken out to make room; the caller ends them.
    std::vector<std::shared_ptr<LiveSession>> displaced;
  };
  // A new session with a fresh 128-bit random id for a browser at `address`. Past the cap of
  // its address, or of the registry, the oldest idle session that never signed in (of that
  // address, or of any) gives way.
  Created create(const store::DataFolder& folder, store::SharedStore& store, AppContext& context,
                 const std::string& address);
  // Marks the session busy; nullptr for an unknown id.
  std::shared_ptr<LiveSession> acquire(const std::string& id);
  // Ends a request of the session; `signedIn` tells whether the session is signed in now.
  void release(LiveSession& session, bool signedIn);
  bool contains(std::string_view id) const;
  // Removes idle sessions that `shouldEnd` picks and returns them to be ended by the caller.
  std::vector<std::shared_ptr<LiveSession>> takeIdle(
      const std::function<bool(const LiveSession&)>& shouldEnd);
  std::size_t count() const;
  // Idle sessions that never signed in and sent nothing since `lastRequestBefore`.
  std::vector<std::shared_ptr<LiveSession>> idleGuests(Clock::time_point lastRequestBefore) const;

 private:
  // Takes out the oldest idle guest that `matches`; false when there is none.
  bool displaceOldestGuest(const std::function<bool(const LiveSession&)>& matches,
                           std::vector<std::shared_ptr<LiveSession>>& displaced);
  void erase(const std::shared_ptr<LiveSession>& session);
  void forgetGuest(const LiveSession& session);

  std::size_t capacity_;
  std::size_t guestsPerAddress_;
  mutable std::mutex mutex_;
  std::map<std::string, std::shared_ptr<LiveSession>, std::less<>> sessions_;
  // Sessions that never signed in, oldest first, and how many each address has.
  std::map<std::uint64_t, std::shared_ptr<LiveSession>> guests_;
  std::map<std::string, std::size_t, std::less<>> guestsByAddress_;
  std::uint64_t made_ = 0;
};

// 32 hex digits from the system's secure random source.
std::string newSessionId();

}  // namespace zeziza::web
