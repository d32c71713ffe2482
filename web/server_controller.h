#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "auth/login_throttle.h"
#include "auth/password_hasher.h"
#include "store/data_folder.h"
#include "web/http_types.h"
#include "web/limits.h"
#include "web/request_cycle.h"
#include "web/session_registry.h"

namespace zeziza::web {

struct ServerSettings {
  int Port = 81;
  std::chrono::milliseconds SessionTimeout = limits::kSessionTimeout;
  std::chrono::milliseconds CacheExpiry = limits::kCacheExpiry;
  std::chrono::milliseconds HousekeepingInterval = limits::kHousekeepingInterval;
  std::size_t MaxSessions = limits::kMaxLiveSessions;
  std::string SessionTimeoutURL = "/files/err.html";
  // Address of the maker's web site (help and home pages); empty when not configured.
  std::string Site;
  // libpq connection string of the cloud score service; empty when not configured.
  std::string CloudConnection;
};

// The server's settings, its sessions and its address space. One per process.
class TIWServerController {
 public:
  TIWServerController(store::DataFolder folder, PageFactory startPage,
                      ServerSettings settings = {});
  ~TIWServerController();
  TIWServerController(const TIWServerController&) = delete;
  TIWServerController& operator=(const TIWServerController&) = delete;

  // The controller of this process (the one constructed last and still alive).
  static TIWServerController* instance();

  HttpResponse handle(const HttpRequest& request);

  // Sessions. A new session answers with the start exchange.
  std::shared_ptr<Session> startSession();
  // Serves one post of the session named in the form; nullopt when no such session lives.
  std::optional<EventOutcome> postEvent(const PostedForm& form, const std::string& clientAddress);
  std::size_t sessionCount() const { return sessions_.count(); }
  // Ends every session with no request under way; returns how many ended.
  std::size_t endIdleSessions();
  // Ends sessions idle for longer than the time-out, as of `now`.
  std::size_t expireSessions(Clock::time_point now);
  void purgeCache(std::filesystem::file_time_type now);
  void startHousekeeping();
  void stopHousekeeping();

  // Raised after a session was counted or uncounted, with the new count.
  void setSessionCountListener(std::function<void(std::size_t)> listener);
  // The system reset, provided by the host.
  void setSystemReset(std::function<void()> reset) { systemReset_ = std::move(reset); }
  void runSystemReset();

  const ServerSettings& settings() const { return settings_; }
  const store::DataFolder& dataFolder() const { return folder_; }
  // The writer of `data` and the connections requests borrow.
  store::SharedStore& store() { return store_; }
  // Shared by every session: password hashes (bounded in how many run at once) and the
  // slow-down of repeated failed sign-ins.
  auth::PasswordHasher& passwordHasher() { return passwordHasher_; }
  auth::LoginThrottle& loginThrottle() { return loginThrottle_; }

 private:
  HttpResponse startExchange();
  HttpResponse event(const HttpRequest& request);
  HttpResponse stop(std::string_view id);
  void endSession(Session& session);
  void notifyCount();
  void housekeepingLoop();

  store::DataFolder folder_;
  PageFactory startPage_;
  ServerSettings settings_;
  store::SharedStore store_;  // before the sessions, which borrow from it
  SessionRegistry sessions_;
  std::mutex listenerMutex_;
  std::function<void(std::size_t)> countListener_;
  std::function<void()> systemReset_;
  auth::PasswordHasher passwordHasher_;
  auth::LoginThrottle loginThrottle_;
  std::mutex housekeepingMutex_;
  std::condition_variable housekeepingWake_;
  bool housekeepingStop_ = false;
  std::thread housekeeping_;
  TIWServerController* previousInstance_;
};

// The client's address: the peer, or the forwarded address when a local proxy sent it.
std::string clientAddress(const HttpRequest& request);

}  // namespace zeziza::web
