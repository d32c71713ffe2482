#include "store/database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <iterator>

#include "store/connection.h"
#include "store/data_folder.h"
#include "store/query.h"
#include "store/row_stream.h"
#include "store/schema.h"
#include "store/score_history.h"
#include "store/settings.h"
#include "store/settings_cache.h"
#include "store/transaction.h"
#include "tests/support/temp_folder.h"

namespace zeziza::store {
namespace {

class StoreTest : public ::testing::Test {
 protected:
  StoreTest() { prepareDataFolder(folder); }
  testing::TempFolder temp;
  DataFolder folder{temp.path()};
  Connection connection{folder.data()};
  Query query{connection};
};

TEST_F(StoreTest, FirstStartCreatesEveryFileWithItsSettings) {
  for (const auto& p : {folder.data(), folder.empty(), folder.temp(), folder.tempEmpty(),
                        folder.cache(), folder.files()}) {
    EXPECT_TRUE(std::filesystem::exists(p)) << p;
  }
  Database& db = connection.db();
  EXPECT_EQ(readListSetting(db, key::kUnits),
            (std::vector<std::string>{"中心校区", "东校区", "西校区"}));
  EXPECT_EQ(readListSetting(db, key::kClasses).size(), 9u);
  EXPECT_EQ(readListSetting(db, key::kSubjects),
            (std::vector<std::string>{"数学", "语文", "英语"}));
  EXPECT_EQ(readSetting(db, key::kExcellent), "90");
  EXPECT_EQ(readSetting(db, key::kGood), "80");
  EXPECT_EQ(readSetting(db, key::kPass), "60");
  EXPECT_EQ(readSetting(db, key::kWorkMode), "自考模式");
  EXPECT_EQ(readListSetting(db, key::kFullMarks), (std::vector<std::string>{"100", "100", "100"}));
  EXPECT_EQ(readSetting(db, key::kRankMode), "顺序名次");
  EXPECT_EQ(readSetting(db, key::kRateBasis), "分段");
  EXPECT_EQ(readSetting(db, key::kAverageBasis), "参考科目");
  query.open("select count(*) as n from sysset");
  EXPECT_EQ(query.field("n").asInt(), 17);
}

TEST_F(StoreTest, AMissingKeyReadsEmptyAndItsWriteIsLost) {
  Database& db = connection.db();
  EXPECT_EQ(readSetting(db, "nosuchkey"), "");
  EXPECT_FALSE(writeSetting(db, "nosuchkey", "x"));
  EXPECT_EQ(readSetting(db, "nosuchkey"), "");
  EXPECT_TRUE(writeSetting(db, key::kFooterText, "it's <b>ours</b>"));
  EXPECT_EQ(readSetting(db, key::kFooterText), "it's <b>ours</b>");
}

TEST_F(StoreTest, SettingsAreWrittenTogetherOrNotAtAll) {
  Database& db = connection.db();
  const std::vector<SettingValue> withMissing = {
      {key::kExcellent, "95"}, {"nosuchkey", "x"}, {key::kPass, "65"}};
  EXPECT_EQ(writeSettings(db, withMissing), std::optional<std::string_view>("nosuchkey"));
  EXPECT_EQ(readSetting(db, key::kExcellent), "90");
  EXPECT_EQ(readSetting(db, key::kPass), "60");
  const std::vector<SettingValue> levels = {{key::kExcellent, "95"}, {key::kPass, "65"}};
  EXPECT_EQ(writeSettings(db, levels), std::nullopt);
  EXPECT_EQ(readSetting(db, key::kExcellent), "95");
  EXPECT_EQ(readSetting(db, key::kPass), "65");
}

TEST_F(StoreTest, SettingsCacheLoadsListsLineByLine) {
  Database& db = connection.db();
  writeListSetting(db, key::kUnits, {"中心 校区", "东校区"});
  SettingsCache cache;
  cache.load(db);
  EXPECT_EQ(cache.get()->units, (std::vector<std::string>{"中心 校区", "东校区"}));
  const auto before = cache.get();
  cache.update([](SettingsSnapshot& s) { s.units.push_back("西校区"); });
  EXPECT_EQ(before->units.size(), 2u);  // a reader's snapshot never changes under it
  EXPECT_EQ(cache.get()->units.size(), 3u);
}

TEST_F(StoreTest, QueryCursorAndFieldsByName) {
  query.open("select 1 as a, 'x' as B union all select 2, 'y' union all select 3, null");
  EXPECT_EQ(query.recordCount(), 3u);
  EXPECT_EQ(query.field("A").asInt(), 1);
  EXPECT_EQ(query.field("b").asText(), "x");
  query.moveBy(10);
  EXPECT_TRUE(query.eof());
  query.moveBy(-1);
  EXPECT_EQ(query.field("a").asInt(), 3);
  EXPECT_EQ(query.field("b").asText(), "");  // null reads as empty text
  query.moveBy(-10);
  EXPECT_TRUE(query.bof());
  EXPECT_THROW(query.field("missing"), std::out_of_range);
  query.close();
  EXPECT_FALSE(query.isOpen());
  EXPECT_THROW(query.field("a"), std::logic_error);
}

// Columns named in C++ after the statement ran; a name already taken stays with the column
// that has it.
TEST_F(StoreTest, RenamedFieldsAreFoundByTheirNewNameOnly) {
  query.open("select 1 as k1, 2 as k2, 3 as 姓名");
  query.renameField(0, "数学");
  query.renameField(1, "姓名");
  EXPECT_EQ(query.fieldNames(), (std::vector<std::string>{"数学", "姓名", "姓名"}));
  EXPECT_EQ(query.field("数学").asInt(), 1);
  EXPECT_FALSE(query.hasField("k1"));
  EXPECT_EQ(query.field("姓名").asInt(), 3);
  EXPECT_THROW(query.renameField(3, "x"), std::out_of_range);
}

TEST_F(StoreTest, AJoinOverStudentsAndScoresNamesBothIdColumns) {
  query.exec("insert into ks (id, xm) values ('S-17', '张三')");
  query.exec("insert into cj (ks, kh, k1, test) values ('期中', 1, 90, '期中!&1')");
  query.open("select * from ks,cj where ks.bh=cj.kh");
  EXPECT_EQ(query.field("ks.id").asText(), "S-17");
  EXPECT_EQ(query.field("cj.id").asInt(), 1);
  EXPECT_EQ(query.field("k1").asDouble(), 90);
}

// Streamed rows read each storage class as a materialised result reads it.
TEST_F(StoreTest, StreamedRowsReadNumbersAndTextsAsQueriesDo) {
  const char* sql =
      "select 87.5 as v union all select 3 union all select null union all select ' 12.25'"
      " union all select 'abc' union all select ?";
  query.open(sql, {Value(std::int64_t{9007199254740993})});
  std::size_t row = 0;
  forEachRow(connection.db(), {sql, {Value(std::int64_t{9007199254740993})}},
             [&](const Statement& r) {
               const Value& expected = query.fieldAt(row++, 0);
               EXPECT_EQ(r.columnDouble(0), expected.asDouble()) << row;
               EXPECT_EQ(r.columnInt(0), expected.asInt()) << row;
               EXPECT_EQ(r.columnText(0), expected.asText()) << row;
             });
  EXPECT_EQ(row, 6u);
  EXPECT_THROW(forEachRow(connection.db(), {"select ?", {}}, [](const Statement&) {}),
               DatabaseError);
}

TEST_F(StoreTest, ValuesAreBoundNeverSpliced) {
  const std::string name = "O'Brien\"; drop table ks; --";
  query.exec("insert into ks (id, xm) values (?, ?)", {"001", name});
  query.open("select xm from ks where id=?", {"001"});
  EXPECT_EQ(query.field("xm").asText(), name);
  EXPECT_THROW(query.exec("insert into ks (id, xm) values (?, ?)", {"002"}), DatabaseError);
}

TEST_F(StoreTest, StudentNumbersAndScoreKeysAreUniqueWithoutLetterCase) {
  query.exec("insert into ks (id, xm) values ('a1', 'x')");
  EXPECT_THROW(query.exec("insert into ks (id, xm) values ('A1', 'y')"), DatabaseError);
  query.exec("insert into cj (ks, kh, test) values ('期中', 1, '期中!&1')");
  EXPECT_THROW(query.exec("insert into cj (ks, kh, test) values ('期中', 1, '期中!&1')"),
               DatabaseError);
  EXPECT_EQ(query.exec("update ks set xm='z' where id='A1'"), 1);
}

TEST_F(StoreTest, TransactionRollsBackUnlessCommitted) {
  Database& db = connection.db();
  {
    Transaction t(db);
    db.exec("insert into ks (id) values ('1')");
  }
  {
    Transaction t(db);
    db.exec("insert into ks (id) values ('2')");
    t.commit();
  }
  query.open("select id from ks");
  ASSERT_EQ(query.recordCount(), 1u);
  EXPECT_EQ(query.field("id").asText(), "2");
}

TEST_F(StoreTest, RestoreReplacesContentUnderAnOpenConnection) {
  query.exec("insert into ks (id) values ('1')");
  Connection other{folder.data()};
  Query otherQuery{other};
  otherQuery.open("select count(*) as n from ks");
  EXPECT_EQ(otherQuery.field("n").asInt(), 1);

  restoreDatabase(folder.data(), folder.empty());

  // Both open connections see the restored database and keep working.
  otherQuery.open("select count(*) as n from ks");
  EXPECT_EQ(otherQuery.field("n").asInt(), 0);
  query.exec("insert into ks (id) values ('2')");
  otherQuery.open("select count(*) as n from ks");
  EXPECT_EQ(otherQuery.field("n").asInt(), 1);
  otherQuery.open("pragma integrity_check");
  EXPECT_EQ(otherQuery.fieldAt(0, 0).asText(), "ok");
}

TEST_F(StoreTest, ASecondPrepareKeepsExistingFiles) {
  query.exec("insert into ks (id) values ('kept')");
  connection.close();
  prepareDataFolder(folder);
  query.open("select id from ks");
  EXPECT_EQ(query.recordCount(), 1u);
}

// A data folder whose data file ran the fixture's rows (written as an older version), opened
// again so that it migrates.
void migrateWithFixture(const DataFolder& folder, const std::string& fixture) {
  prepareDataFolder(folder);
  std::ifstream rows(std::string(ZEZIZA_TEST_FIXTURES "/") + fixture);
  ASSERT_TRUE(rows) << "missing fixture " << fixture;
  const std::string script((std::istreambuf_iterator<char>(rows)), {});
  Database(folder.data()).execScript(script);
  prepareDataFolder(folder);
}

// Rows written before the pages had their present names show the same page names after.
TEST(SchemaMigration, HistoryRowsOfAVersion2FileNameTheirPagesByRole) {
  testing::TempFolder temp;
  const DataFolder folder{temp.path()};
  ASSERT_NO_FATAL_FAILURE(migrateWithFixture(folder, "history_v2_rows.sql"));
  Connection c{folder.data()};
  Query q{c};
  q.open("select page from score_history order by id");
  std::vector<std::string> pages;
  for (std::size_t row = 0; row < q.recordCount(); ++row)
    pages.push_back(q.fieldAt(row, 0).asText());
  EXPECT_EQ(pages, (std::vector<std::string>{"ScoreEntryPage", "ClassGridEntryPage",
                                             "BatchImportPage", ""}));
}

// Rows of zeros (or of negatives, which count as no score) stand for no taker and go; a row
// with a score in any column stays, also one past the subject list.
TEST(SchemaMigration, ScoreRowsOfAVersion3FileWithoutAValidScoreGo) {
  testing::TempFolder temp;
  const DataFolder folder{temp.path()};
  ASSERT_NO_FATAL_FAILURE(migrateWithFixture(folder, "score_rows_v3.sql"));
  Connection c{folder.data()};
  Query q{c};
  q.open("select test from cj order by id");
  std::vector<std::string> rows;
  for (std::size_t row = 0; row < q.recordCount(); ++row)
    rows.push_back(q.fieldAt(row, 0).asText());
  EXPECT_EQ(rows, (std::vector<std::string>{"期中!&1", "期中!&4", "期末!&2"}));
}

// Accounts of a version 5 file keep their rows and gain ids; one made after a deletion gets an
// id never given before, also when the deleted row was the last.
TEST(SchemaMigration, UsersOfAVersion5FileGainIdsThatAreNeverGivenAgain) {
  testing::TempFolder temp;
  const DataFolder folder{temp.path()};
  ASSERT_NO_FATAL_FAILURE(migrateWithFixture(folder, "users_v5.sql"));
  Connection c{folder.data()};
  Query q{c};
  const auto users = [&] {
    q.open(
        "select id || ':' || user || ':' || pass || ':' || qx || xx || nj || bc from yh "
        "order by id");
    std::vector<std::string> rows;
    for (std::size_t row = 0; row < q.recordCount(); ++row)
      rows.push_back(q.fieldAt(row, 0).asText());
    return rows;
  };
  EXPECT_EQ(users(), (std::vector<std::string>{"1:admin:h1:0", "2:班主任:h2:5东校区七年级一班"}));
  q.exec("delete from yh where user='班主任'");
  q.exec("insert into yh (user, pass, qx) values ('班主任', 'h2', '5')");
  EXPECT_EQ(users(), (std::vector<std::string>{"1:admin:h1:0", "3:班主任:h2:5"}));
}

}  // namespace
}  // namespace zeziza::store

namespace zeziza::store {
namespace {

TEST(SchemaMigration, AnOlderDataFileGainsTheScoreHistoryAndTheFirstPasswords) {
  testing::TempFolder temp;
  const DataFolder folder{temp.path()};
  prepareDataFolder(folder);
  for (const auto& file : {folder.data(), folder.empty()}) {
    Database db(file);
    db.execScript("DROP TABLE score_history; DROP TABLE first_password; PRAGMA user_version=1;");
  }
  prepareDataFolder(folder);
  createDataSchema(temp.path() / "fresh");
  Connection fresh{temp.path() / "fresh"};
  Query current{fresh};
  current.open("PRAGMA user_version");
  for (const auto& file : {folder.data(), folder.empty()}) {
    Connection c{file};
    Query q{c};
    q.open("PRAGMA user_version");
    EXPECT_EQ(q.fieldAt(0, 0).asInt(), current.fieldAt(0, 0).asInt());
    EXPECT_NO_THROW(q.open("select count(*) from score_history"));
    EXPECT_NO_THROW(q.open("select count(*) from first_password"));
  }
}

}  // namespace
}  // namespace zeziza::store

namespace zeziza::store {
namespace {

TEST(ScoreHistory, ChangesComeBackNewestFirstAndUnchangedValuesAreSkipped) {
  testing::TempFolder temp;
  const DataFolder folder{temp.path()};
  prepareDataFolder(folder);
  Database db(folder.data());
  appendScoreHistory(db, {"clerk", "期中", 7, 1, 0, 88, "ScoreEntryPage"});
  appendScoreHistory(db, {"clerk", "期中", 7, 1, 88, 88, "ScoreEntryPage"});
  appendScoreHistory(db, {"admin", "期中", 7, 1, 88, 0, "ScoreEntryPage"});
  appendScoreHistory(db, {"clerk", "期末", 7, 1, 0, 70, "ClassGridEntryPage"});
  const auto entries = readScoreHistory(db, "期中", 7);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].change.userName, "admin");
  EXPECT_EQ(entries[0].change.oldValue, 88);
  EXPECT_EQ(entries[0].change.newValue, 0);
  EXPECT_EQ(entries[1].change.newValue, 88);
  EXPECT_EQ(entries[1].changedAt.size(), 19u);
}

}  // namespace
}  // namespace zeziza::store
