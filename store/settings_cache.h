#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace zeziza::store {

class Database;

// What every session shares of the settings: read by many request threads at once.
struct SettingsSnapshot {
  std::vector<std::string> units;
  std::vector<std::string> classes;
  std::vector<std::string> subjects;
  std::string excellent;  // 优秀 threshold text
  std::string good;       // 良好 threshold text
  std::string pass;       // 及格 threshold text
  std::vector<std::string> bands;
};

// Readers take an immutable snapshot; writers replace it whole, so a reader never sees
// a half-changed part.
class SettingsCache {
 public:
  std::shared_ptr<const SettingsSnapshot> get() const;
  void load(Database& db);
  // Applies `change` to a copy and publishes it; call after the store accepted the write.
  void update(const std::function<void(SettingsSnapshot&)>& change);

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const SettingsSnapshot> snapshot_ = std::make_shared<SettingsSnapshot>();
};

}  // namespace zeziza::store
