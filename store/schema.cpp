#include "store/schema.h"

#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "base/embedded_file.h"
#include "store/database.h"
#include "store/list_value.h"
#include "store/settings.h"
#include "store/statement.h"
#include "store/transaction.h"

namespace zeziza {
const std::vector<EmbeddedFile>& embeddedFiles_store_migrations();
}  // namespace zeziza

namespace zeziza::store {

namespace {

std::string migration(std::string_view name) {
  for (const auto& file : embeddedFiles_store_migrations()) {
    if (file.name == name) return std::string(file.bytes);
  }
  throw std::logic_error("no migration " + std::string(name));
}

// Version 1: users, settings, students and scores. Version 2: the score history. Version 3:
// history rows name their page by its role. Version 4: no score row without a valid score.
// Version 5: the students' first passwords of the results site. Version 6: account ids.
constexpr int kSchemaVersion = 6;

// Every change of a score, written in the same transaction as the change.
constexpr const char* kScoreHistory = R"sql(
CREATE TABLE IF NOT EXISTS score_history (
  id               INTEGER PRIMARY KEY AUTOINCREMENT,
  changed_at       TEXT NOT NULL,
  user_name        TEXT NOT NULL DEFAULT '',
  exam             TEXT NOT NULL COLLATE NOCASE,
  student_key      INTEGER NOT NULL,
  subject_position INTEGER NOT NULL,
  old_value        REAL NOT NULL,
  new_value        REAL NOT NULL,
  page             TEXT NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS score_history_row ON score_history (exam, student_key);
)sql";

// Texts the office compares without letter case are NOCASE; one score row per exam and
// student is kept by the UNIQUE `test` key.
constexpr const char* kDataTables = R"sql(
CREATE TABLE yh (
  id   INTEGER PRIMARY KEY AUTOINCREMENT,
  user TEXT NOT NULL COLLATE NOCASE UNIQUE,
  pass TEXT NOT NULL,
  qx   TEXT NOT NULL,
  xx   TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
  nj   TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
  bc   TEXT NOT NULL DEFAULT '' COLLATE NOCASE
);
CREATE TABLE sysset (
  zdm TEXT NOT NULL PRIMARY KEY COLLATE NOCASE,
  zdz TEXT NOT NULL DEFAULT ''
);
CREATE TABLE ks (
  bh INTEGER PRIMARY KEY AUTOINCREMENT,
  id TEXT NOT NULL COLLATE NOCASE UNIQUE,
  xm TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
  xx TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
  nj TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
  bj TEXT NOT NULL DEFAULT '' COLLATE NOCASE
);
CREATE INDEX ks_place ON ks (xx, nj, bj);
CREATE TABLE cj (
  id   INTEGER PRIMARY KEY AUTOINCREMENT,
  ks   TEXT NOT NULL COLLATE NOCASE,
  kh   INTEGER NOT NULL REFERENCES ks (bh),
  k1 REAL NOT NULL DEFAULT 0, k2 REAL NOT NULL DEFAULT 0, k3 REAL NOT NULL DEFAULT 0,
  k4 REAL NOT NULL DEFAULT 0, k5 REAL NOT NULL DEFAULT 0, k6 REAL NOT NULL DEFAULT 0,
  k7 REAL NOT NULL DEFAULT 0, k8 REAL NOT NULL DEFAULT 0, k9 REAL NOT NULL DEFAULT 0,
  k10 REAL NOT NULL DEFAULT 0, k11 REAL NOT NULL DEFAULT 0, k12 REAL NOT NULL DEFAULT 0,
  zf   REAL NOT NULL DEFAULT 0,
  pj   REAL NOT NULL DEFAULT 0,
  test TEXT NOT NULL COLLATE NOCASE UNIQUE
);
CREATE INDEX cj_kh ON cj (kh);
CREATE INDEX cj_ks ON cj (ks);
)sql";

constexpr const char* kTempTables = R"sql(
CREATE TABLE tem (
  id    INTEGER PRIMARY KEY AUTOINCREMENT,
  stuid TEXT,
  name  TEXT COLLATE NOCASE,
  dw    TEXT COLLATE NOCASE,
  nj    TEXT COLLATE NOCASE,
  bc    TEXT COLLATE NOCASE,
  km    TEXT COLLATE NOCASE,
  cj    REAL,
  总排名 INTEGER,
  校内排名 INTEGER,
  班内排名 INTEGER
);
)sql";

std::vector<std::pair<std::string_view, std::string>> initialSettings() {
  return {
      {key::kUnits, toListValue({"中心校区", "东校区", "西校区"})},
      {key::kGrades, ""},
      {key::kClasses,
       toListValue({"一班", "二班", "三班", "四班", "五班", "六班", "七班", "八班", "九班"})},
      {key::kSubjects, toListValue({"数学", "语文", "英语"})},
      {key::kFullMarks, toListValue({"100", "100", "100"})},
      {key::kExams, ""},
      {key::kDefaultExam, ""},
      {key::kWorkMode, std::string(kWorkModeSelf)},
      {key::kFooterText, ""},
      {key::kExcellent, "90"},
      {key::kGood, "80"},
      {key::kPass, "60"},
      {key::kBands, ""},
      {key::kRankMode, "顺序名次"},
      {key::kRateBasis, "分段"},
      {key::kAverageBasis, "参考科目"},
      {key::kReserved, ""},
  };
}

void createWith(const std::filesystem::path& file, const char* tables, bool settings) {
  Database db(file);
  Transaction transaction(db);
  db.execScript(tables);
  if (settings) {
    for (const auto& [k, v] : initialSettings()) {
      db.exec("insert into sysset (zdm, zdz) values (?, ?)", {Value(k), Value(v)});
    }
  }
  db.execScript("PRAGMA user_version=" + std::to_string(kSchemaVersion));
  transaction.commit();
}

}  // namespace

void createDataSchema(const std::filesystem::path& file) {
  createWith(file, kDataTables, true);
  Database db(file);
  db.execScript(kScoreHistory);
  db.execScript(migration("first_passwords.sql"));
}

void createTempSchema(const std::filesystem::path& file) {
  createWith(file, kTempTables, false);
}

void migrateTempSchema(const std::filesystem::path& file) {
  Database db(file);
  {
    Statement type(db, "select type from pragma_table_info('tem') where name = 'stuid'");
    if (!type.step() || type.columnText(0) == "TEXT") return;
  }
  Transaction transaction(db);
  db.execScript(std::string("DROP TABLE tem;\n") + kTempTables);
  transaction.commit();
}

void migrateDataSchema(const std::filesystem::path& file) {
  Database db(file);
  Transaction transaction(db);
  const auto current = [&] {
    // Finished before the migrations run: a table is not dropped under an open statement.
    Statement version(db, "PRAGMA user_version");
    version.step();
    return version.column(0).asInt();
  }();
  if (current >= kSchemaVersion) return;
  if (current < 2) db.execScript(kScoreHistory);
  if (current < 3) db.execScript(migration("history_page_names.sql"));
  if (current < 4) db.execScript(migration("score_rows_without_scores.sql"));
  if (current < 5) db.execScript(migration("first_passwords.sql"));
  if (current < 6) db.execScript(migration("account_ids.sql"));
  db.execScript("PRAGMA user_version=" + std::to_string(kSchemaVersion));
  transaction.commit();
}

}  // namespace zeziza::store
