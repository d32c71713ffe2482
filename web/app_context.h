#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "auth/login_throttle.h"
#include "auth/password_hasher.h"
#include "store/settings_cache.h"

namespace zeziza::cloud {
class PublishLock;
}

namespace zeziza::web {

class EventLog;

// The process-wide services and addresses the pages use. The host creates one and every
// session is handed it at creation; pages reach it as currentSession().context().
class AppContext {
 public:
  // `site`: address of the maker's web site (help and home pages); `cloudConnection`: libpq
  // connection string of the cloud score service. Either may be empty (not configured).
  // `resultsSite`: address of the results site where schools register and students look up
  // what was published.
  AppContext(std::string site, std::string cloudConnection, std::string resultsSite = {});
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  // Password hashes (bounded in how many run at once) and the slow-down of repeated failed
  // sign-ins, shared by every session.
  auth::PasswordHasher& passwordHasher() { return passwordHasher_; }
  auth::LoginThrottle& loginThrottle() { return loginThrottle_; }
  // What every session shares of the settings; the host loads it.
  store::SettingsCache& settings() { return settings_; }

  // The address of `path` ("/home", "/vezav/help") on the maker's web site; empty when no
  // site is configured.
  std::string siteAddress(std::string_view path) const;
  const std::string& cloudConnection() const { return cloudConnection_; }
  // The address of `path` on the results site; empty when none is configured.
  std::string resultsAddress(std::string_view path) const;

  // The event log of the administrator, provided by the host; null: none.
  void setEventLog(EventLog* log) { eventLog_ = log; }
  EventLog* eventLog() const { return eventLog_; }

  // The system reset, provided by the host; every account may have changed with it.
  void setSystemReset(std::function<void()> reset) { systemReset_ = std::move(reset); }
  void runSystemReset();

  // Raised after an account was deleted or its rights or class changed: every signed-in
  // session checks its account again at its next request.
  void accountsChanged() { accountsVersion_.fetch_add(1, std::memory_order_acq_rel); }
  std::uint64_t accountsVersion() const { return accountsVersion_.load(std::memory_order_acquire); }

  // Raised after the exam list, the default exam, the subjects or the work mode changed:
  // every signed-in session reads them again for its next page.
  void officeSettingsChanged() { officeVersion_.fetch_add(1, std::memory_order_acq_rel); }
  std::uint64_t officeSettingsVersion() const {
    return officeVersion_.load(std::memory_order_acquire);
  }

  // The backups of the data folder, provided by the host: the files oldest first, and a new
  // one written now (its file).
  struct BackupShelf {
    std::function<std::vector<std::filesystem::path>()> list;
    std::function<std::filesystem::path()> take;
  };
  void setBackups(BackupShelf shelf) { backups_ = std::move(shelf); }
  std::vector<std::filesystem::path> listBackups() const;
  std::filesystem::path takeBackup() const;

  // One publishing step at a time over the scratch table; the host owns the lock.
  void setPublishLock(cloud::PublishLock& lock) { publishLock_ = &lock; }
  cloud::PublishLock& publishLock() const;

 private:
  std::string site_;
  std::string cloudConnection_;
  std::string resultsSite_;
  auth::PasswordHasher passwordHasher_;
  auth::LoginThrottle loginThrottle_;
  store::SettingsCache settings_;
  std::function<void()> systemReset_;
  BackupShelf backups_;
  std::atomic<std::uint64_t> accountsVersion_{0};
  std::atomic<std::uint64_t> officeVersion_{0};
  cloud::PublishLock* publishLock_ = nullptr;
  EventLog* eventLog_ = nullptr;
};

}  // namespace zeziza::web
