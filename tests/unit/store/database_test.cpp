#include "store/database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "store/connection.h"
#include "store/data_folder.h"
#include "store/query.h"
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
  query.open("select count(*) as n from sysset");
  EXPECT_EQ(query.field("n").asInt(), 13);
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

TEST_F(StoreTest, AJoinOverStudentsAndScoresNamesBothIdColumns) {
  query.exec("insert into ks (id, xm) values ('S-17', '张三')");
  query.exec("insert into cj (ks, kh, k1, test) values ('期中', 1, 90, '期中!&1')");
  query.open("select * from ks,cj where ks.bh=cj.kh");
  EXPECT_EQ(query.field("ks.id").asText(), "S-17");
  EXPECT_EQ(query.field("cj.id").asInt(), 1);
  EXPECT_EQ(query.field("k1").asDouble(), 90);
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

}  // namespace
}  // namespace zeziza::store

namespace zeziza::store {
namespace {

TEST(SchemaMigration, AnOlderDataFileGainsTheScoreHistory) {
  testing::TempFolder temp;
  const DataFolder folder{temp.path()};
  prepareDataFolder(folder);
  for (const auto& file : {folder.data(), folder.empty()}) {
    Database db(file);
    db.execScript("DROP TABLE score_history; PRAGMA user_version=1;");
  }
  prepareDataFolder(folder);
  for (const auto& file : {folder.data(), folder.empty()}) {
    Connection c{file};
    Query q{c};
    q.open("PRAGMA user_version");
    EXPECT_EQ(q.fieldAt(0, 0).asInt(), 2);
    EXPECT_NO_THROW(q.open("select count(*) from score_history"));
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
  appendScoreHistory(db, {"clerk", "期中", 7, 1, 0, 88, "TIWForm2"});
  appendScoreHistory(db, {"clerk", "期中", 7, 1, 88, 88, "TIWForm2"});
  appendScoreHistory(db, {"admin", "期中", 7, 1, 88, 0, "TIWForm2"});
  appendScoreHistory(db, {"clerk", "期末", 7, 1, 0, 70, "TIWForm6"});
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
