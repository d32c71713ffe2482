#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "store/data_folder.h"
#include "store/shared_store.h"
#include "web/app_context.h"
#include "web/event_log.h"
#include "web/http_types.h"
#include "web/limits.h"
#include "web/request_cycle.h"
#include "web/session_registry.h"

namespace zeziza::web {

struct SessionSettings {
  std::chrono::milliseconds SessionTimeout = limits::kSessionTimeout;
  std::chrono::milliseconds CacheExpiry = limits::kCacheExpiry;
  std::chrono::milliseconds HousekeepingInterval = limits::kHousekeepingInterval;
  std::chrono::milliseconds SetAsideIdlePagesAfter = limits::kSetAsideIdlePagesAfter;
  // How many sessions live at once, and which give way past the limits.
  RoomLimits Room;
};

// The browser sessions' lifetime: starting them (each handed the host's application context),
// serving their posts one at a time, ending them, and the housekeeping round that expires
// idle ones, sets aside idle start pages and purges the cache folder.
class SessionHost {
 public:
  SessionHost(const store::DataFolder& folder, store::SharedStore& store, PageFactory startPage,
              AppContext& context, SessionSettings settings);
  ~SessionHost();
  SessionHost(const SessionHost&) = delete;
  SessionHost& operator=(const SessionHost&) = delete;

  // A new session; nullptr when every live session is signed in or busy and the cap is
  // reached.
  std::shared_ptr<LiveSession> startSession(const std::string& clientAddress = {});
  // Serves one post of the session named in the form; nullopt when no such session lives.
  std::optional<EventOutcome> postEvent(const PostedForm& form, const std::string& sessionId,
                                        const std::string& clientAddress, bool gzip = false);
  // A page's "still here": keeps its session from timing out; false when it has ended.
  bool keepAlive(const std::string& sessionId);
  // Ends the session if no request of it is under way.
  void stop(std::string_view sessionId);

  std::size_t sessionCount() const { return sessions_.count(); }
  // Ends every session with no request under way; returns how many ended.
  std::size_t endIdleSessions();
  // Ends sessions idle for longer than the time-out, as of `now`.
  std::size_t expireSessions(Clock::time_point now);
  // Sets aside the pages of sessions that never signed in and idle past SetAsideIdlePagesAfter
  // (see Session::setAsideIdlePage); returns how many.
  std::size_t setAsideIdlePages(Clock::time_point now);
  void purgeCache(std::filesystem::file_time_type now);
  void startHousekeeping();
  void stopHousekeeping();

  // Raised after a session was counted or uncounted, with the new count.
  void setSessionCountListener(std::function<void(std::size_t)> listener);
  void setEventLog(EventLog* log) { eventLog_ = log; }
  EventLog* eventLog() const { return eventLog_; }

 private:
  void endSession(LiveSession& session);
  void endSessions(const SessionRegistry::Sessions& sessions);
  void notifyCount();
  void housekeepingLoop();

  const store::DataFolder& folder_;
  store::SharedStore& store_;
  PageFactory startPage_;
  AppContext* context_;
  SessionSettings settings_;
  SessionRegistry sessions_;
  std::mutex listenerMutex_;
  std::function<void(std::size_t)> countListener_;
  EventLog* eventLog_ = nullptr;
  std::mutex housekeepingMutex_;
  std::condition_variable housekeepingWake_;
  bool housekeepingStop_ = false;
  std::thread housekeeping_;
};

}  // namespace zeziza::web
