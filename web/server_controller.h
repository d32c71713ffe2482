#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "store/data_folder.h"
#include "web/app_context.h"
#include "web/event_log.h"
#include "web/http_types.h"
#include "web/limits.h"
#include "web/request_cycle.h"
#include "web/security_headers.h"
#include "web/session_registry.h"

namespace zeziza::web {

struct ServerSettings {
  int Port = 81;
  std::chrono::milliseconds SessionTimeout = limits::kSessionTimeout;
  std::chrono::milliseconds CacheExpiry = limits::kCacheExpiry;
  std::chrono::milliseconds HousekeepingInterval = limits::kHousekeepingInterval;
  std::chrono::milliseconds SetAsideIdlePagesAfter = limits::kSetAsideIdlePagesAfter;
  std::size_t MaxSessions = limits::kMaxLiveSessions;
  std::size_t GuestSessionsPerAddress = limits::kGuestSessionsPerAddress;
  // The address of the reverse proxy in front of the server; empty when there is none.
  std::string TrustedProxy;
  bool ContentSecurityPolicy = kContentSecurityPolicyOn;
  std::string SessionTimeoutURL = "/files/err.html";
  // Read by the host into the application context: the address of the maker's web site
  // (help and home pages) and the libpq connection string of the cloud score service; empty
  // when not configured.
  std::string Site;
  // Address of the results site (registration, students' result pages); empty: none.
  std::string ResultsSite;
  std::string CloudConnection;
};

// The server's settings, its sessions and its address space. Every session it starts is
// handed the host's application context.
class ServerController {
 public:
  ServerController(store::DataFolder folder, PageFactory startPage, AppContext& context,
                      ServerSettings settings = {});
  ~ServerController();
  ServerController(const ServerController&) = delete;
  ServerController& operator=(const ServerController&) = delete;

  HttpResponse handle(const HttpRequest& request);
  // Requests the event loop answers at once: files and resources, no page.
  static bool answersAtOnce(const HttpRequest& request);
  // Requests of one session, else of one client, run one at a time and take turns.
  std::string turnKey(const HttpRequest& request) const;

  // Sessions. A new session answers with the start exchange; nullptr when every live session
  // is signed in or busy and the cap is reached.
  std::shared_ptr<LiveSession> startSession(const std::string& clientAddress = {});
  // Serves one post of the session named in the form; nullopt when no such session lives.
  std::optional<EventOutcome> postEvent(const PostedForm& form, const std::string& clientAddress,
                                        bool gzip = false);
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

  // The process's event log, owned by the host; none where a test sets none.
  void setEventLog(EventLog* log) { eventLog_ = log; }
  EventLog* eventLog() const { return eventLog_; }

  const ServerSettings& settings() const { return settings_; }
  const store::DataFolder& dataFolder() const { return folder_; }
  AppContext& context() const { return *context_; }
  // The writer of `data` and the connections requests borrow.
  store::SharedStore& store() { return store_; }

 private:
  HttpResponse startExchange(const std::string& clientAddress);
  HttpResponse cacheFile(std::string_view rest);
  HttpResponse pageResponse(std::string html) const;
  HttpResponse event(const HttpRequest& request);
  // A page's "still here" from the browser: keeps its session from timing out; 410 when the
  // session has ended.
  HttpResponse keepAlive(const HttpRequest& request);
  HttpResponse stop(std::string_view id);
  void endSession(LiveSession& session);
  void notifyCount();
  void housekeepingLoop();

  store::DataFolder folder_;
  PageFactory startPage_;
  AppContext* context_;
  ServerSettings settings_;
  store::SharedStore store_;  // before the sessions, which borrow from it
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
