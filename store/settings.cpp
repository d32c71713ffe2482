#include "store/settings.h"

#include "store/database.h"
#include "store/list_value.h"
#include "store/statement.h"
#include "store/transaction.h"

namespace zeziza::store {

std::string readSetting(Database& db, std::string_view key) {
  Statement statement(db, "select zdz from sysset where zdm=?");
  const Value k{std::string(key)};
  statement.bindAll(std::span(&k, 1));
  return statement.step() ? statement.column(0).asText() : std::string();
}

bool writeSetting(Database& db, std::string_view key, std::string_view value) {
  return db.exec("update sysset set zdz=? where zdm=?", {Value(value), Value(key)}) > 0;
}

std::optional<std::string_view> writeSettings(Database& db, std::span<const SettingValue> values) {
  Transaction transaction(db);
  for (const auto& [key, value] : values) {
    if (!writeSetting(db, key, value)) return key;
  }
  transaction.commit();
  return std::nullopt;
}

std::vector<std::string> readListSetting(Database& db, std::string_view key) {
  return parseListValue(readSetting(db, key));
}

bool writeListSetting(Database& db, std::string_view key, const std::vector<std::string>& items) {
  return writeSetting(db, key, toListValue(items));
}

}  // namespace zeziza::store
