#include "store/list_update.h"

#include <algorithm>
#include <stdexcept>

#include "store/database.h"
#include "store/settings.h"
#include "store/settings_cache.h"
#include "store/transaction.h"

namespace zeziza::store {

namespace {

void requireStorable(std::string_view key, const std::vector<std::string>& items) {
  for (const auto& item : items) {
    if (item.find_first_of("\r\n") != std::string::npos) {
      throw std::invalid_argument("列表项中不能含有换行符（设置项" + std::string(key) + "）");
    }
  }
}

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

ListUpdate updateListSetting(Database& db, std::string_view key, const ListEditor& edit) {
  Transaction transaction(db);
  ListUpdate update{readListSetting(db, key), false};
  if (edit(update.items) == ListEdit::Keep) return update;  // rolled back: nothing was written
  requireStorable(key, update.items);
  if (!writeListSetting(db, key, update.items)) {
    throw std::runtime_error("系统设置表中缺少设置项" + std::string(key) + "，无法保存");
  }
  transaction.commit();
  update.written = true;
  return update;
}

void refreshCachedSetting(SettingsCache& cache, Database& db, std::string_view key) {
  using Member = std::vector<std::string> SettingsSnapshot::*;
  using Text = std::string SettingsSnapshot::*;
  Member list = nullptr;
  Text text = nullptr;
  if (key == key::kUnits) list = &SettingsSnapshot::units;
  if (key == key::kClasses) list = &SettingsSnapshot::classes;
  if (key == key::kSubjects) list = &SettingsSnapshot::subjects;
  if (key == key::kBands) list = &SettingsSnapshot::bands;
  if (key == key::kExcellent) text = &SettingsSnapshot::excellent;
  if (key == key::kGood) text = &SettingsSnapshot::good;
  if (key == key::kPass) text = &SettingsSnapshot::pass;
  if (!list && !text) {
    throw std::invalid_argument("the settings cache holds no key " + std::string(key));
  }
  // The store is read under the cache's lock: a refresh that starts later reads a newer value.
  cache.update([&](SettingsSnapshot& snapshot) {
    if (list) snapshot.*list = readListSetting(db, key);
    if (text) snapshot.*text = readSetting(db, key);
  });
}

ListUpdate updateCachedListSetting(SettingsCache& cache, Database& db, std::string_view key,
                                   const ListEditor& edit) {
  ListUpdate update = updateListSetting(db, key, edit);
  if (update.written) refreshCachedSetting(cache, db, key);
  return update;
}

bool sameEntry(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::size_t findEntry(const std::vector<std::string>& items, std::string_view name) {
  const auto it =
      std::ranges::find_if(items, [&](const auto& item) { return sameEntry(item, name); });
  return it == items.end() ? std::string::npos : static_cast<std::size_t>(it - items.begin());
}

}  // namespace zeziza::store
