#include "host/backups.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <stdexcept>

#include "base/platform/process.h"
#include "base/platform/text.h"
#include "host/folder_lock.h"
#include "store/backup_file.h"
#include "store/database.h"

namespace zeziza::host {

namespace {

// Local time to the millisecond, so name order is age order.
std::string timestamp(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  const std::tm local = platform::localParts(t);
  char text[48];
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000;
  const std::size_t n = std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  std::snprintf(text + n, sizeof text - n, "%03d", static_cast<int>(ms));
  return text;
}

bool isBackupName(const std::filesystem::path& p) {
  const std::string name = p.filename().string();
  return name.rfind("data-", 0) == 0 && p.extension() == ".sqlite";
}

}  // namespace

std::filesystem::path Backups::take(const std::string& reason,
                                    std::chrono::system_clock::time_point now) {
  const std::lock_guard lock(mutex_);
  std::filesystem::create_directories(folder_.backups());
  auto target = folder_.backups() / ("data-" + timestamp(now) + "-" + reason + ".sqlite");
  for (int n = 2; std::filesystem::exists(target); ++n) {
    target = folder_.backups() /
             ("data-" + timestamp(now) + "-" + reason + "-" + std::to_string(n) + ".sqlite");
  }
  store::writeBackup(folder_.data(), target);
  rotate();
  return target;
}

std::vector<std::filesystem::path> Backups::list() const {
  const std::lock_guard lock(mutex_);
  return listUnlocked();
}

std::vector<std::filesystem::path> Backups::listUnlocked() const {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.backups(), ec)) {
    if (entry.is_regular_file() && isBackupName(entry.path())) files.push_back(entry.path());
  }
  // Names start with the time, so name order is age order.
  std::sort(files.begin(), files.end());
  return files;
}

void Backups::rotate() {
  auto files = listUnlocked();
  while (files.size() > keep_) {
    std::filesystem::remove(files.front());
    files.erase(files.begin());
  }
}

void restoreBackup(const store::DataFolder& folder, const std::filesystem::path& backup) {
  if (!std::filesystem::is_regular_file(backup)) {
    throw std::runtime_error("找不到备份文件: " + platform::utf8Path(backup));
  }
  const FolderLock lock(folder.root);
  if (!lock.held()) {
    throw std::runtime_error("服务器正在运行，请先停止服务器再恢复备份。");
  }
  const std::string integrity = store::integrityOf(backup);
  if (integrity != "ok") {
    throw std::runtime_error("备份文件已损坏，未恢复: " + integrity);
  }
  store::Database live(folder.data());
  live.restoreFrom(backup);
}

std::chrono::system_clock::time_point nextDailyRun(std::chrono::system_clock::time_point now,
                                                   int hour) {
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local = platform::localParts(t);
  local.tm_hour = hour;
  local.tm_min = 0;
  local.tm_sec = 0;
  local.tm_isdst = -1;
  auto next = std::chrono::system_clock::from_time_t(std::mktime(&local));
  if (next <= now) {
    local.tm_mday += 1;
    local.tm_isdst = -1;
    next = std::chrono::system_clock::from_time_t(std::mktime(&local));
  }
  return next;
}

}  // namespace zeziza::host
