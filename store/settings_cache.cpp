#include "store/settings_cache.h"

#include "store/settings.h"

namespace zeziza::store {

std::shared_ptr<const SettingsSnapshot> SettingsCache::get() const {
  std::lock_guard lock(mutex_);
  return snapshot_;
}

void SettingsCache::load(Database& db) {
  auto fresh = std::make_shared<SettingsSnapshot>();
  fresh->units = readListSetting(db, key::kUnits);
  fresh->classes = readListSetting(db, key::kClasses);
  fresh->subjects = readListSetting(db, key::kSubjects);
  fresh->excellent = readSetting(db, key::kExcellent);
  fresh->good = readSetting(db, key::kGood);
  fresh->pass = readSetting(db, key::kPass);
  fresh->bands = readListSetting(db, key::kBands);
  std::lock_guard lock(mutex_);
  snapshot_ = std::move(fresh);
}

void SettingsCache::update(const std::function<void(SettingsSnapshot&)>& change) {
  std::lock_guard lock(mutex_);
  auto copy = std::make_shared<SettingsSnapshot>(*snapshot_);
  change(*copy);
  snapshot_ = std::move(copy);
}

}  // namespace zeziza::store
