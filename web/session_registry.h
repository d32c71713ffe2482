#pragma once

#include <chrono>
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
struct Session {
  std::string id;
  std::mutex serving;  // held while one of its requests is served
  std::unique_ptr<TIWUserSession> user;
  unsigned trackId = 0;  // the number of the last answer rendered
  bool started = false;  // the start exchange has been answered with the first page
  // Guarded by the registry's mutex.
  int requestsUnderWay = 0;
  Clock::time_point lastRequest = Clock::now();
};

// Idle and busy sessions: a session with a request under way is never ended.
class SessionRegistry {
 public:
  explicit SessionRegistry(std::size_t capacity) : capacity_(capacity) {}

  // A new session with a fresh 128-bit random id; nullptr when the registry is full.
  std::shared_ptr<Session> create(const store::DataFolder& folder, store::SharedStore& store);
  // Marks the session busy; nullptr for an unknown id.
  std::shared_ptr<Session> acquire(const std::string& id);
  void release(Session& session);
  // Removes idle sessions that `shouldEnd` picks and returns them to be ended by the caller.
  std::vector<std::shared_ptr<Session>> takeIdle(
      const std::function<bool(const Session&)>& shouldEnd);
  std::size_t count() const;

 private:
  std::size_t capacity_;
  mutable std::mutex mutex_;
  std::map<std::string, std::shared_ptr<Session>, std::less<>> sessions_;
};

// 32 hex digits from the system's secure random source.
std::string newSessionId();

}  // namespace zeziza::web
