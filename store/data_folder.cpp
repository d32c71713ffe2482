#include "store/data_folder.h"

#include "store/database.h"
#include "store/schema.h"

namespace zeziza::store {

namespace {

// Builds into a side file and renames it into place, so a crash mid-way leaves no half
// database under the real name.
void createAtomically(const std::filesystem::path& file,
                      void (*create)(const std::filesystem::path&)) {
  if (std::filesystem::exists(file)) return;
  auto partial = file;
  partial += ".partial";
  for (const char* suffix : {"", "-wal", "-shm"}) {
    std::filesystem::remove(std::filesystem::path(partial) += suffix);
  }
  create(partial);
  {
    // Fold the WAL back so the renamed file is complete by itself.
    Database db(partial);
    db.execScript("PRAGMA wal_checkpoint(TRUNCATE)");
  }
  std::filesystem::rename(partial, file);
  for (const char* suffix : {"-wal", "-shm"}) {
    std::filesystem::remove(std::filesystem::path(partial) += suffix);
  }
}

void copyPristine(const std::filesystem::path& target, const std::filesystem::path& pristine) {
  if (std::filesystem::exists(target)) return;
  restoreDatabase(target, pristine);
}

}  // namespace

void prepareDataFolder(const DataFolder& folder) {
  std::filesystem::create_directories(folder.root);
  std::filesystem::create_directories(folder.cache());
  std::filesystem::create_directories(folder.files());
  createAtomically(folder.empty(), &createDataSchema);
  createAtomically(folder.tempEmpty(), &createTempSchema);
  migrateDataSchema(folder.empty());
  copyPristine(folder.data(), folder.empty());
  migrateDataSchema(folder.data());
  migrateTempSchema(folder.tempEmpty());
  copyPristine(folder.temp(), folder.tempEmpty());
  migrateTempSchema(folder.temp());
}

void restoreDatabase(const std::filesystem::path& target, const std::filesystem::path& pristine) {
  Database db(target);
  db.restoreFrom(pristine);
}

}  // namespace zeziza::store
