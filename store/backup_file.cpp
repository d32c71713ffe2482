#include "store/backup_file.h"

#include "store/database.h"
#include "store/statement.h"

namespace zeziza::store {

void writeBackup(const std::filesystem::path& from, const std::filesystem::path& target) {
  auto partial = target;
  partial += ".partial";
  {
    Database live(from);
    live.backupTo(partial);
  }
  {
    // Fold the copy's journal in, so the backup is one self-contained file.
    Database copy(partial);
    copy.execScript("PRAGMA wal_checkpoint(TRUNCATE); PRAGMA journal_mode=DELETE;");
  }
  std::filesystem::rename(partial, target);
}

std::string integrityOf(const std::filesystem::path& file) {
  try {
    Database db(file, Database::Mode::ReadOnly);
    Statement check(db, "PRAGMA integrity_check");
    return check.step() ? check.column(0).asText() : "no answer";
  } catch (const std::exception& e) {
    return e.what();
  }
}

}  // namespace zeziza::store
