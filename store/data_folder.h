#pragma once

#include <filesystem>

namespace zeziza::store {

// The files of the data folder.
struct DataFolder {
  std::filesystem::path root;

  std::filesystem::path data() const { return root / "data"; }
  std::filesystem::path empty() const { return root / "empty"; }
  std::filesystem::path temp() const { return root / "temp"; }
  std::filesystem::path tempEmpty() const { return root / "tempempty"; }
  std::filesystem::path cache() const { return root / "cache"; }
  std::filesystem::path files() const { return root / "files"; }
  std::filesystem::path backups() const { return root / "backups"; }
};

// Creates whatever is missing of the four databases and the two folders; a fresh folder
// needs nothing but this call.
void prepareDataFolder(const DataFolder& folder);

// Restores `target` from its pristine copy through the online backup API, so no file is
// replaced under an open connection.
void restoreDatabase(const std::filesystem::path& target, const std::filesystem::path& pristine);

}  // namespace zeziza::store
