#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "cloud/publish_lock.h"
#include "host/backups.h"
#include "host/folder_lock.h"
#include "host/options.h"
#include "store/data_folder.h"
#include "store/database.h"
#include "web/app_context.h"
#include "web/http_server.h"
#include "web/server_controller.h"

namespace zeziza::host {

inline constexpr const char* kAppTitle = "Zeziza学生成绩管理系统";
inline constexpr const char* kVersionCaption = "标准版 VER 8.0";

// The host: owns the data folder, the application context (with the settings cache it
// loads), the server and the online count, which the console front end shows.
class ServerHost {
 public:
  ServerHost(Options options, web::PageFactory startPage, web::ServerSettings settings = {});
  ~ServerHost();

  // Cache-folder cleanup and `temp` restored from `tempempty`.
  void prepareFolder();
  // Online count and settings cache.
  void loadState();
  // Starts listening; returns the bound port. Throws with a message naming --port.
  int listen();
  void stop();
  // The system reset: idle sessions end, `data` is restored from `empty`, the cache reloads.
  void resetSystem();

  std::string onlineCountText() const;
  std::string localAddress() const;
  // Called with the online count text whenever it changes.
  void setOnlineCountListener(std::function<void(const std::string&)> listener);
  // The event log of the process (sign-ins, backups, resets, errors); owned by the caller.
  void setEventLog(web::EventLog* log);
  web::ServerController& controller() { return *controller_; }
  web::AppContext& context() { return *context_; }
  Backups& backups() { return backups_; }
  const store::DataFolder& folder() const { return folder_; }

 private:
  void loadSettingsCache();
  void setOnlineCount(std::size_t count);
  void dailyBackupLoop();
  std::filesystem::path takeBackup(const std::string& reason);
  web::HttpServerOptions transportOptions() const;
  std::string redirectHost() const;
  void startRedirect(const std::string& host);

  Options options_;
  store::DataFolder folder_;
  FolderLock lock_;
  Backups backups_;
  std::mutex dailyMutex_;
  std::condition_variable dailyWake_;
  bool dailyStop_ = false;
  std::thread daily_;
  std::unique_ptr<store::Database> database_;  // the host's own connection to data
  cloud::PublishLock publishLock_;
  std::unique_ptr<web::AppContext> context_;
  std::unique_ptr<web::ServerController> controller_;
  std::unique_ptr<web::HttpServer> server_;
  std::unique_ptr<web::HttpServer> redirect_;  // plain HTTP answered with a redirect to HTTPS
  web::EventLog* log_ = nullptr;
  int boundPort_ = 0;
  mutable std::mutex countMutex_;
  std::string onlineCount_;  // "N人在线"
  std::function<void(const std::string&)> countListener_;
  std::mutex resetMutex_;
};

// Writes the embedded static files into files/ where they are missing.
void writeMissingStaticFiles(const std::filesystem::path& folder);

}  // namespace zeziza::host
