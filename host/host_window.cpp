#include "host/host_window.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "host/cache_cleanup.h"
#include "store/settings_cache.h"
#include "web/embedded_file.h"

namespace zeziza::host {

void writeMissingStaticFiles(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  for (const auto& file : embeddedFiles_static()) {
    const auto target = folder / std::string(file.name);
    if (std::filesystem::exists(target)) continue;
    const auto partial = target.string() + ".partial";
    {
      std::ofstream out(partial, std::ios::binary | std::ios::trunc);
      out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
      if (!out) throw std::runtime_error("cannot write " + partial);
    }
    std::filesystem::rename(partial, target);
  }
}

TForm4::TForm4(Options options, web::PageFactory startPage, web::ServerSettings settings)
    : options_(std::move(options)),
      folder_{options_.dataDir},
      lock_(folder_.root),
      backups_(folder_, options_.backupKeep) {
  if (!lock_.held()) {
    throw std::runtime_error("数据目录 " + folder_.root.string() +
                             " 已被另一个正在运行的服务器使用。");
  }
  store::prepareDataFolder(folder_);
  writeMissingStaticFiles(folder_.files());
  settings.Port = options_.port;
  if (options_.maxSessions > 0) settings.MaxSessions = options_.maxSessions;
  if (options_.sessionTimeoutSeconds > 0) {
    settings.SessionTimeout = std::chrono::seconds(options_.sessionTimeoutSeconds);
    // Look often enough that a session ends close to its time-out.
    settings.HousekeepingInterval = std::min<std::chrono::milliseconds>(
        settings.HousekeepingInterval, settings.SessionTimeout / 2);
  }
  if (!options_.site.empty()) settings.Site = options_.site;
  if (!options_.cloud.empty()) settings.CloudConnection = options_.cloud;
  controller_ = std::make_unique<web::TIWServerController>(folder_, std::move(startPage), settings);
  controller_->setSessionCountListener([this](std::size_t count) { setOnlineCount(count); });
  controller_->setSystemReset([this] { Button4Click(); });
}

TForm4::~TForm4() {
  stop();
  controller_.reset();  // its sessions report the count through members below
}

void TForm4::FormCreate() {
  backups_.take("start");
  cleanCacheFolder(folder_.cache());
  try {
    store::restoreDatabase(folder_.temp(), folder_.tempEmpty());
  } catch (const std::exception&) {
    // A missing pristine copy leaves the old scratch database in place.
  }
}

void TForm4::FormShow() {
  setOnlineCount(controller_->sessionCount());
  loadSettingsCache();
}

void TForm4::loadSettingsCache() {
  if (!ADOConnection1) ADOConnection1 = std::make_unique<store::Database>(folder_.data());
  store::settingsCache().load(*ADOConnection1);
}

int TForm4::listen() {
  server_ = std::make_unique<web::HttpServer>(
      [this](const web::HttpRequest& request) { return controller_->handle(request); });
  try {
    boundPort_ = server_->bind("0.0.0.0", options_.port);
  } catch (const std::exception&) {
    server_.reset();
    throw std::runtime_error("无法在端口 " + std::to_string(options_.port) +
                             " 上监听（端口被占用，或低于1024的端口需要root权限）。请用 --port "
                             "指定其他端口，例如 --port 8081");
  }
  server_->start();
  controller_->startHousekeeping();
  daily_ = std::thread([this] { dailyBackupLoop(); });
  return boundPort_;
}

void TForm4::stop() {
  if (server_) server_->stop();
  server_.reset();
  if (controller_) controller_->stopHousekeeping();
  {
    std::lock_guard lock(dailyMutex_);
    dailyStop_ = true;
  }
  dailyWake_.notify_all();
  if (daily_.joinable()) daily_.join();
}

void TForm4::dailyBackupLoop() {
  std::unique_lock lock(dailyMutex_);
  while (!dailyStop_) {
    const auto next = nextDailyRun(std::chrono::system_clock::now(), options_.backupHour);
    if (dailyWake_.wait_until(lock, next, [this] { return dailyStop_; })) break;
    lock.unlock();
    try {
      backups_.take("daily");
    } catch (const std::exception& e) {
      std::fprintf(stderr, "每日备份失败: %s\n", e.what());
    }
    lock.lock();
  }
}

void TForm4::Button4Click() {
  std::lock_guard lock(resetMutex_);
  backups_.take("reset");  // what the reset erases stays recoverable
  controller_->endIdleSessions();
  if (!ADOConnection1) ADOConnection1 = std::make_unique<store::Database>(folder_.data());
  {
    const auto writerHeld = controller_->store().writer().exclusive();
    ADOConnection1->restoreFrom(folder_.empty());
  }
  loadSettingsCache();
}

std::string TForm4::onlineCountText() const {
  std::lock_guard lock(countMutex_);
  return Label1;
}

std::string TForm4::localAddress() const {
  return "http://127.0.0.1:" + std::to_string(boundPort_ ? boundPort_ : options_.port);
}

void TForm4::setOnlineCountListener(std::function<void(const std::string&)> listener) {
  std::lock_guard lock(countMutex_);
  countListener_ = std::move(listener);
}

void TForm4::setOnlineCount(std::size_t count) {
  std::function<void(const std::string&)> listener;
  std::string text = std::to_string(count) + "人在线";
  {
    std::lock_guard lock(countMutex_);
    Label1 = text;
    listener = countListener_;
  }
  if (listener) listener(text);
}

}  // namespace zeziza::host
