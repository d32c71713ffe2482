#include "host/server_host.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "base/atomic_file.h"
#include "base/embedded_file.h"
#include "base/platform/text.h"
#include "host/cache_cleanup.h"
#include "web/certificate_name.h"
#include "web/https_redirect.h"

namespace zeziza::host {

void writeMissingStaticFiles(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  for (const auto& file : embeddedFiles_static()) {
    const auto target = folder / std::string(file.name);
    if (std::filesystem::exists(target)) continue;
    base::writeFileAtomically(target, file.bytes);
  }
}

ServerHost::ServerHost(Options options, web::PageFactory startPage, web::ServerSettings settings)
    : options_(std::move(options)),
      folder_{options_.dataDir},
      lock_(folder_.root),
      backups_(folder_, options_.backupKeep) {
  if (!lock_.held()) {
    throw std::runtime_error("数据目录 " + platform::utf8Path(folder_.root) +
                             " 已被另一个正在运行的服务器使用。");
  }
  store::prepareDataFolder(folder_);
  writeMissingStaticFiles(folder_.files());
  settings.Port = options_.port;
  if (options_.maxSessions > 0) settings.Room.capacity = options_.maxSessions;
  if (options_.sessionsPerAccount > 0)
    settings.Room.sessionsPerAccount = options_.sessionsPerAccount;
  if (options_.sessionTimeoutSeconds > 0) {
    settings.SessionTimeout = std::chrono::seconds(options_.sessionTimeoutSeconds);
    // Look often enough that a session ends close to its time-out.
    settings.HousekeepingInterval = std::min<std::chrono::milliseconds>(
        settings.HousekeepingInterval, settings.SessionTimeout / 2);
  }
  if (!options_.site.empty()) settings.Site = options_.site;
  if (!options_.cloud.empty()) settings.CloudConnection = options_.cloud;
  if (!options_.trustedProxy.empty()) settings.TrustedProxy = options_.trustedProxy;
  if (!options_.resultsSite.empty()) settings.ResultsSite = options_.resultsSite;
  context_ = std::make_unique<web::AppContext>(settings.Site, settings.CloudConnection,
                                               settings.ResultsSite);
  context_->setSystemReset([this] { resetSystem(); });
  context_->setPublishLock(publishLock_);
  context_->setBackups(
      {[this] { return backups_.list(); }, [this] { return takeBackup("manual"); }});
  controller_ =
      std::make_unique<web::ServerController>(folder_, std::move(startPage), *context_, settings);
  controller_->sessions().setSessionCountListener(
      [this](std::size_t count) { setOnlineCount(count); });
}

ServerHost::~ServerHost() {
  stop();
  controller_.reset();  // its sessions report the count through members below
}

void ServerHost::setEventLog(web::EventLog* log) {
  log_ = log;
  controller_->sessions().setEventLog(log);
  context_->setEventLog(log);
}

std::filesystem::path ServerHost::takeBackup(const std::string& reason) {
  auto file = backups_.take(reason);
  if (log_)
    log_->record("backup", "已备份数据", {{"reason", reason}, {"file", platform::utf8Path(file)}});
  return file;
}

void ServerHost::prepareFolder() {
  // The start backup is a safety copy; a full disk or a bad backups folder must not keep
  // the school from working. The reset still refuses to run without its own backup.
  try {
    takeBackup("start");
  } catch (const std::exception& e) {
    if (log_) {
      log_->error(std::string("启动备份失败（服务器继续启动）: ") + e.what());
    } else {
      std::fprintf(stderr, "启动备份失败（服务器继续启动）: %s\n", e.what());
    }
  }
  cleanCacheFolder(folder_.cache());
  try {
    store::restoreDatabase(folder_.temp(), folder_.tempEmpty());
  } catch (const std::exception&) {
    // A missing pristine copy leaves the old scratch database in place.
  }
}

void ServerHost::loadState() {
  setOnlineCount(controller_->sessions().sessionCount());
  loadSettingsCache();
}

void ServerHost::loadSettingsCache() {
  if (!database_) database_ = std::make_unique<store::Database>(folder_.data());
  context_->settings().load(*database_);
}

namespace {

std::string readPem(const std::filesystem::path& file, const char* what) {
  std::ifstream in(file, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) text.clear();
  if (text.empty())
    throw std::runtime_error(std::string("无法读取") + what + ": " + platform::utf8Path(file));
  return text;
}

}  // namespace

web::HttpServerOptions ServerHost::transportOptions() const {
  web::HttpServerOptions transport;
  transport.answersAtOnce = &web::Router::answersAtOnce;
  transport.turnKey = &web::Router::turnKey;
  transport.trustedProxy = controller_->settings().TrustedProxy;
  // Behind a proxy every connection comes from the proxy, which limits its clients itself.
  if (!options_.trustedProxy.empty()) transport.connectionsPerAddress = 0;
  if (!options_.tlsCert.empty()) {
    transport.tlsCertificate = readPem(options_.tlsCert, "证书文件");
    transport.tlsKey = readPem(options_.tlsKey, "私钥文件");
  }
  if (options_.requestDeadlineSeconds > 0) {
    transport.requestDeadline = std::chrono::seconds(options_.requestDeadlineSeconds);
  }
  if (log_) transport.onError = [log = log_](const std::string& text) { log->error(text); };
  return transport;
}

int ServerHost::listen() {
  auto transport = transportOptions();
  const std::string redirectTo = options_.redirectHttpPort != 0 ? redirectHost() : "";
  server_ = std::make_unique<web::HttpServer>(
      [this](const web::HttpRequest& request) { return controller_->handle(request); },
      std::move(transport));
  try {
    boundPort_ = server_->bind("0.0.0.0", options_.port);
  } catch (const std::exception&) {
    server_.reset();
    throw std::runtime_error("无法在端口 " + std::to_string(options_.port) +
                             " 上监听（端口被占用，或低于1024的端口需要root权限）。请用 --port "
                             "指定其他端口，例如 --port 8081");
  }
  server_->start();
  if (options_.redirectHttpPort != 0) startRedirect(redirectTo);
  controller_->sessions().startHousekeeping();
  daily_ = std::thread([this] { dailyBackupLoop(); });
  return boundPort_;
}

// The host the redirect names: configured, else the certificate's own; never the request's
// Host header, which anyone can write.
std::string ServerHost::redirectHost() const {
  if (!options_.httpsHost.empty()) return options_.httpsHost;
  const auto named = web::certificateHostName(readPem(options_.tlsCert, "证书文件"));
  if (!named) {
    throw std::runtime_error("证书中没有可用的主机名，请用 --https-host 指定重定向的主机名。");
  }
  return *named;
}

void ServerHost::startRedirect(const std::string& host) {
  const int httpsPort = boundPort_;
  web::HttpServerOptions plain;
  plain.answersAtOnce = [](const web::HttpRequest&) { return true; };  // nothing to wait for
  redirect_ = std::make_unique<web::HttpServer>(
      [host, httpsPort](const web::HttpRequest& request) {
        return web::httpsRedirect(request, host, httpsPort);
      },
      std::move(plain));
  try {
    redirect_->bind("0.0.0.0", options_.redirectHttpPort);
  } catch (const std::exception&) {
    redirect_.reset();
    server_->stop();
    server_.reset();
    throw std::runtime_error("无法在端口 " + std::to_string(options_.redirectHttpPort) +
                             " 上监听（--redirect-http）。");
  }
  redirect_->start();
}

void ServerHost::stop() {
  if (redirect_) redirect_->stop();
  redirect_.reset();
  if (server_) server_->stop();
  server_.reset();
  if (controller_) controller_->sessions().stopHousekeeping();
  {
    std::lock_guard lock(dailyMutex_);
    dailyStop_ = true;
  }
  dailyWake_.notify_all();
  if (daily_.joinable()) daily_.join();
}

void ServerHost::dailyBackupLoop() {
  std::unique_lock lock(dailyMutex_);
  while (!dailyStop_) {
    const auto next = nextDailyRun(std::chrono::system_clock::now(), options_.backupHour);
    if (dailyWake_.wait_until(lock, next, [this] { return dailyStop_; })) break;
    lock.unlock();
    try {
      takeBackup("daily");
    } catch (const std::exception& e) {
      if (log_) {
        log_->error(std::string("每日备份失败: ") + e.what());
      } else {
        std::fprintf(stderr, "每日备份失败: %s\n", e.what());
      }
    }
    lock.lock();
  }
}

void ServerHost::resetSystem() {
  std::lock_guard lock(resetMutex_);
  takeBackup("reset");  // what the reset erases stays recoverable
  controller_->sessions().endIdleSessions();
  if (!database_) database_ = std::make_unique<store::Database>(folder_.data());
  {
    const auto writerHeld = controller_->store().writer().exclusive();
    database_->restoreFrom(folder_.empty());
  }
  loadSettingsCache();
  if (log_) log_->record("reset", "系统已恢复到初始状态");
}

std::string ServerHost::onlineCountText() const {
  std::lock_guard lock(countMutex_);
  return onlineCount_;
}

std::string ServerHost::localAddress() const {
  return std::string(options_.tlsCert.empty() ? "http" : "https") +
         "://127.0.0.1:" + std::to_string(boundPort_ ? boundPort_ : options_.port);
}

void ServerHost::setOnlineCountListener(std::function<void(const std::string&)> listener) {
  std::lock_guard lock(countMutex_);
  countListener_ = std::move(listener);
}

void ServerHost::setOnlineCount(std::size_t count) {
  std::function<void(const std::string&)> listener;
  std::string text = std::to_string(count) + "人在线";
  {
    std::lock_guard lock(countMutex_);
    onlineCount_ = text;
    listener = countListener_;
  }
  if (listener) listener(text);
}

}  // namespace zeziza::host
