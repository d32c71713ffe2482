#include "store/scale_settings.h"

#include "store/database.h"
#include "store/list_value.h"
#include "store/settings.h"

namespace zeziza::store {

void storeSetting(Database& db, std::string_view key, std::string_view value) {
  db.exec(
      "insert into sysset (zdm, zdz) values (?, ?) on conflict (zdm) do update set "
      "zdz=excluded.zdz",
      {Value(key), Value(value)});
}

std::vector<std::string> readFullMarkTexts(Database& db) {
  return readListSetting(db, key::kFullMarks);
}

void storeFullMarkTexts(Database& db, const std::vector<std::string>& texts) {
  storeSetting(db, key::kFullMarks, toListValue(texts));
}

std::string readRankModeText(Database& db) {
  return readSetting(db, key::kRankMode);
}

std::string readRateBasisText(Database& db) {
  return readSetting(db, key::kRateBasis);
}

std::string readAverageBasisText(Database& db) {
  return readSetting(db, key::kAverageBasis);
}

}  // namespace zeziza::store
