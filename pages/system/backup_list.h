#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zeziza::pages {

// One backup of the data folder as the backup page lists it.
struct BackupEntry {
  std::filesystem::path file;
  std::string time;  // "2026-12-10 02:00:00", local time
  std::string kind;  // why it was taken: 启动时, 每日, 系统重置前, 手动
  std::string size;  // "356 KB", "12.5 MB"
};

// Reads time and kind from the file's name ("data-20261210-020000123-daily.sqlite"); a file
// named otherwise shows its modification time and no kind.
BackupEntry describeBackup(const std::filesystem::path& file);

// Whole kilobytes (rounded up, so a small file is never "0 KB") below a megabyte, else
// megabytes with one decimal.
std::string sizeText(std::uintmax_t bytes);

// The backups newest first, as the page shows them.
std::vector<BackupEntry> describeBackups(const std::vector<std::filesystem::path>& oldestFirst);

}  // namespace zeziza::pages
