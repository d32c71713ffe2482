#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zeziza::store {

class Database;

// Keys of the settings table `sysset`.
namespace key {
inline constexpr std::string_view kUnits = "dw";
inline constexpr std::string_view kGrades = "nj";
inline constexpr std::string_view kClasses = "bc";
inline constexpr std::string_view kSubjects = "km";
inline constexpr std::string_view kExams = "ks";
inline constexpr std::string_view kDefaultExam = "mrtest";
inline constexpr std::string_view kWorkMode = "gzms";
inline constexpr std::string_view kFooterText = "footext";
inline constexpr std::string_view kExcellent = "youxiu";
inline constexpr std::string_view kGood = "lianghao";
inline constexpr std::string_view kPass = "jige";
inline constexpr std::string_view kBands = "fenshuduan";
// list value beside km: each subject's full mark (满分), 100 where missing
inline constexpr std::string_view kFullMarks = "kmmf";
// how equal values are ranked: 顺序名次 or 并列名次
inline constexpr std::string_view kRankMode = "mcfs";
// what 良好率 and 及格率 count: 分段 or 累计
inline constexpr std::string_view kRateBasis = "blkj";
// what 平均分 divides by: 参考科目 or 全部科目
inline constexpr std::string_view kAverageBasis = "pjkj";
inline constexpr std::string_view kReserved = "zthint";
}  // namespace key

inline constexpr std::string_view kWorkModeUnified = "统考模式";
inline constexpr std::string_view kWorkModeSelf = "自考模式";

// The value of a key; a key without a row reads as empty.
std::string readSetting(Database& db, std::string_view key);
// Rewrites the value of an existing key; returns false when the key has no row.
bool writeSetting(Database& db, std::string_view key, std::string_view value);

struct SettingValue {
  std::string_view key;
  std::string value;
};
// Rewrites several keys in one transaction: all of them or none. Returns the first key
// without a row (nothing is written then), or nullopt when every key was written.
std::optional<std::string_view> writeSettings(Database& db, std::span<const SettingValue> values);

std::vector<std::string> readListSetting(Database& db, std::string_view key);
bool writeListSetting(Database& db, std::string_view key, const std::vector<std::string>& items);

}  // namespace zeziza::store
