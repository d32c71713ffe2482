#pragma once

#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "store/data_folder.h"

namespace zeziza::host {

// Consistent copies of `data` in backups/ of the data folder, newest kept. The daily backup,
// a reset and a user's 【立即备份】 may take one at the same time: one is written at a time.
class Backups {
 public:
  Backups(store::DataFolder folder, std::size_t keep) : folder_(std::move(folder)), keep_(keep) {}

  // Copies `data` through the online backup API into a new file named by the time and
  // `reason` ("start", "daily", "reset"), then drops the oldest beyond the number kept.
  std::filesystem::path take(const std::string& reason, std::chrono::system_clock::time_point now =
                                                            std::chrono::system_clock::now());
  // The backups, oldest first.
  std::vector<std::filesystem::path> list() const;

 private:
  void rotate();
  std::vector<std::filesystem::path> listUnlocked() const;

  store::DataFolder folder_;
  std::size_t keep_;
  mutable std::mutex mutex_;
};

// Restores `data` from `backup` while no server runs on the folder; the backup must pass
// PRAGMA integrity_check. Throws with a message for the user.
void restoreBackup(const store::DataFolder& folder, const std::filesystem::path& backup);

// The next time after `now` at `hour` o'clock local time.
std::chrono::system_clock::time_point nextDailyRun(std::chrono::system_clock::time_point now,
                                                   int hour);

}  // namespace zeziza::host
