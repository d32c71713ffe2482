#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zeziza::store {

class Database;
class SettingsCache;

// What a list edit decided: write the changed list, or leave the store as it is.
enum class ListEdit { Write, Keep };

// The list under a key as stored when the update ended.
struct ListUpdate {
  std::vector<std::string> items;
  bool written = false;
};

using ListEditor = std::function<ListEdit(std::vector<std::string>& items)>;

// Re-reads the list stored under `key`, lets `edit` change it and writes it back, all in one
// BEGIN IMMEDIATE transaction, so two sessions changing one list keep each other's changes.
// `edit` may run statements on `db` (existence checks, further settings); they belong to the
// same transaction. Throws, writing nothing, when an entry holds a line break (the stored
// form cannot carry it) or when the key has no row.
ListUpdate updateListSetting(Database& db, std::string_view key, const ListEditor& edit);

// Sets the cache's copy of `key` to the value stored now. Refreshes are ordered by the
// cache's lock, so after concurrent updates the cache holds the newest stored value.
// Throws std::invalid_argument for a key the cache does not hold.
void refreshCachedSetting(SettingsCache& cache, Database& db, std::string_view key);

// updateListSetting for a list the settings cache holds; the cache is refreshed only after
// the store committed the change.
ListUpdate updateCachedListSetting(SettingsCache& cache, Database& db, std::string_view key,
                                   const ListEditor& edit);

// List entries are names the store compares without letter case (ASCII letters, as NOCASE).
bool sameEntry(std::string_view a, std::string_view b);
// Position of the first entry equal to `name` ignoring letter case; npos when absent.
std::size_t findEntry(const std::vector<std::string>& items, std::string_view name);

}  // namespace zeziza::store
