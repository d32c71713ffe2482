#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeziza::store {

class Database;

// The settings added after the first databases were made (full marks, rank mode, rate and
// average basis): a database
// made before them has no row, so they read as empty and are written by inserting the row.
void storeSetting(Database& db, std::string_view key, std::string_view value);

// The full mark texts of the subject list, position by position (may be shorter than it).
std::vector<std::string> readFullMarkTexts(Database& db);
void storeFullMarkTexts(Database& db, const std::vector<std::string>& texts);

// "顺序名次" or "并列名次"; empty when never set.
std::string readRankModeText(Database& db);
// "分段" or "累计"; empty when never set.
std::string readRateBasisText(Database& db);
// "参考科目" or "全部科目"; empty when never set.
std::string readAverageBasisText(Database& db);

}  // namespace zeziza::store
