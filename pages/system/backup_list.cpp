#include "pages/system/backup_list.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <regex>
#include <utility>

#include "analysis/number_format.h"
#include "base/platform/process.h"

namespace zeziza::pages {

namespace {

// The reasons the host writes into a backup's name.
constexpr std::array<std::pair<const char*, const char*>, 4> kKinds = {{
    {"start", "启动时"},
    {"daily", "每日"},
    {"reset", "系统重置前"},
    {"manual", "手动"},
}};

std::string kindOf(const std::string& reason) {
  for (const auto& [name, caption] : kKinds) {
    if (reason == name) return caption;
  }
  return reason;
}

std::string modificationTime(const std::filesystem::path& file) {
  std::error_code ec;
  const auto written = std::filesystem::last_write_time(file, ec);
  if (ec) return {};
  const std::time_t t =
      std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
  const std::tm local = platform::localParts(t);
  char text[32];
  return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local));
}

}  // namespace

BackupEntry describeBackup(const std::filesystem::path& file) {
  BackupEntry entry{file, {}, {}, {}};
  // data-YYYYMMDD-HHMMSSmmm-reason[-n].sqlite
  static const std::regex kName(
      R"(data-(\d{4})(\d{2})(\d{2})-(\d{2})(\d{2})(\d{2})\d{3}-([a-z]+)(-\d+)?\.sqlite)");
  std::smatch m;
  const std::string name = file.filename().string();
  if (std::regex_match(name, m, kName)) {
    entry.time = m.str(1) + "-" + m.str(2) + "-" + m.str(3) + " " + m.str(4) + ":" + m.str(5) +
                 ":" + m.str(6);
    entry.kind = kindOf(m.str(7));
  } else {
    entry.time = modificationTime(file);
  }
  std::error_code ec;
  const std::uintmax_t bytes = std::filesystem::file_size(file, ec);
  entry.size = ec ? "" : sizeText(bytes);
  return entry;
}

std::string sizeText(std::uintmax_t bytes) {
  constexpr std::uintmax_t kKilo = 1024;
  if (bytes < kKilo * kKilo) return std::to_string((bytes + kKilo - 1) / kKilo) + " KB";
  return analysis::formatFixed(static_cast<double>(bytes) / (kKilo * kKilo), 1) + " MB";
}

std::vector<BackupEntry> describeBackups(const std::vector<std::filesystem::path>& oldestFirst) {
  std::vector<BackupEntry> entries;
  entries.reserve(oldestFirst.size());
  for (auto it = oldestFirst.rbegin(); it != oldestFirst.rend(); ++it) {
    entries.push_back(describeBackup(*it));
  }
  return entries;
}

}  // namespace zeziza::pages
