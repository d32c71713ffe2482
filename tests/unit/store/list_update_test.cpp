#include "store/list_update.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "store/database.h"
#include "store/schema.h"
#include "store/settings.h"
#include "store/settings_cache.h"
#include "store/statement.h"
#include "tests/support/temp_folder.h"

namespace zeziza::store {
namespace {

using Items = std::vector<std::string>;

ListEditor appending(std::string entry) {
  return [entry](Items& items) {
    items.push_back(entry);
    return ListEdit::Write;
  };
}

class ListUpdateTest : public ::testing::Test {
 protected:
  ListUpdateTest() {
    createDataSchema(file());
    writeListSetting(db, key::kUnits, {"东校区"});
  }
  std::filesystem::path file() const { return folder.path() / "data"; }
  int students() {
    Statement count(db, "select count(*) from ks");
    count.step();
    return static_cast<int>(count.column(0).asInt());
  }

  testing::TempFolder folder;
  Database db{file()};
};

TEST_F(ListUpdateTest, WritesTheEditedListAndReturnsIt) {
  const ListUpdate update = updateListSetting(db, key::kUnits, appending("第二 中学, \"北\""));
  EXPECT_TRUE(update.written);
  EXPECT_EQ(update.items, (Items{"东校区", "第二 中学, \"北\""}));
  EXPECT_EQ(readListSetting(db, key::kUnits), update.items);
}

TEST_F(ListUpdateTest, EditsTheStoredListNotAStaleCopy) {
  Database other(file());
  updateListSetting(other, key::kUnits, appending("西校区"));
  const ListUpdate update = updateListSetting(db, key::kUnits, [](Items& items) {
    std::erase(items, "东校区");
    return ListEdit::Write;
  });
  EXPECT_EQ(update.items, (Items{"西校区"}));
  EXPECT_EQ(readListSetting(other, key::kUnits), (Items{"西校区"}));
}

TEST_F(ListUpdateTest, KeepWritesNothingAndUndoesTheEditsStatements) {
  const ListUpdate update = updateListSetting(db, key::kUnits, [&](Items& items) {
    db.exec("insert into ks (id, xm) values ('1001', '张三')");
    items.clear();
    return ListEdit::Keep;
  });
  EXPECT_FALSE(update.written);
  EXPECT_EQ(readListSetting(db, key::kUnits), (Items{"东校区"}));
  EXPECT_EQ(students(), 0);
}

TEST_F(ListUpdateTest, RefusedUpdatesLeaveTheStoreAsItWas) {
  struct Case {
    std::string name;
    std::string_view key;
    ListEditor edit;
  };
  const std::vector<Case> cases = {
      {"line break in an entry", key::kUnits, appending("一\r\n二")},
      {"bare line feed", key::kUnits, appending("一\n二")},
      {"edit throws", key::kUnits,
       [&](Items& items) -> ListEdit {
         items.push_back("x");
         db.exec("insert into ks (id, xm) values ('1001', '张三')");
         throw std::runtime_error("refused");
       }},
      {"key without a row", key::kReserved, appending("x")},
  };
  db.exec("delete from sysset where zdm=?", {Value(key::kReserved)});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_ANY_THROW(updateListSetting(db, c.key, c.edit));
    EXPECT_EQ(readListSetting(db, key::kUnits), (Items{"东校区"}));
    EXPECT_EQ(students(), 0);
    // The connection is usable again: no transaction was left open.
    EXPECT_NO_THROW(db.exec("select 1"));
  }
}

TEST_F(ListUpdateTest, ConcurrentWritersKeepEveryEntry) {
  constexpr int kWriters = 4;
  constexpr int kEntriesEach = 25;
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([this, w] {
      Database own(file());
      for (int i = 0; i < kEntriesEach; ++i) {
        updateListSetting(own, key::kUnits,
                          appending("w" + std::to_string(w) + "-" + std::to_string(i)));
      }
    });
  }
  for (auto& t : writers) t.join();
  const Items stored = readListSetting(db, key::kUnits);
  EXPECT_EQ(stored.size(), 1u + kWriters * kEntriesEach);
  for (int w = 0; w < kWriters; ++w) {
    EXPECT_NE(findEntry(stored, "w" + std::to_string(w) + "-" + std::to_string(kEntriesEach - 1)),
              std::string::npos);
  }
}

TEST_F(ListUpdateTest, CachedUpdateRefreshesTheCacheOnlyAfterAWrite) {
  SettingsCache cache;
  cache.load(db);
  updateCachedListSetting(cache, db, key::kClasses, [](Items& items) {
    items = {"一班", "二 班"};
    return ListEdit::Write;
  });
  EXPECT_EQ(cache.get()->classes, (Items{"一班", "二 班"}));

  writeListSetting(db, key::kClasses, {"changed elsewhere"});
  updateCachedListSetting(cache, db, key::kClasses, [](Items&) { return ListEdit::Keep; });
  EXPECT_EQ(cache.get()->classes, (Items{"一班", "二 班"}));

  EXPECT_ANY_THROW(updateCachedListSetting(cache, db, key::kClasses, appending("a\nb")));
  EXPECT_EQ(cache.get()->classes, (Items{"一班", "二 班"}));
}

TEST_F(ListUpdateTest, RefreshReadsEachCachedKey) {
  SettingsCache cache;
  writeListSetting(db, key::kUnits, {"u 1"});
  writeListSetting(db, key::kClasses, {"c1", "c2"});
  writeListSetting(db, key::kSubjects, {"数学"});
  writeListSetting(db, key::kBands, {"60", "80"});
  writeSetting(db, key::kExcellent, "95");
  writeSetting(db, key::kGood, "85");
  writeSetting(db, key::kPass, "65");
  for (const auto k : {key::kUnits, key::kClasses, key::kSubjects, key::kBands, key::kExcellent,
                       key::kGood, key::kPass}) {
    refreshCachedSetting(cache, db, k);
  }
  const auto snapshot = cache.get();
  EXPECT_EQ(snapshot->units, (Items{"u 1"}));
  EXPECT_EQ(snapshot->classes, (Items{"c1", "c2"}));
  EXPECT_EQ(snapshot->subjects, (Items{"数学"}));
  EXPECT_EQ(snapshot->bands, (Items{"60", "80"}));
  EXPECT_EQ(snapshot->excellent, "95");
  EXPECT_EQ(snapshot->good, "85");
  EXPECT_EQ(snapshot->pass, "65");
  // Grades and exams are held by the sessions, not by the cache.
  EXPECT_THROW(refreshCachedSetting(cache, db, key::kGrades), std::invalid_argument);
  EXPECT_THROW(refreshCachedSetting(cache, db, key::kExams), std::invalid_argument);
}

TEST(ListEntries, CompareAsciiLettersWithoutCase) {
  struct Case {
    std::string a, b;
    bool same;
  };
  const std::vector<Case> cases = {
      {"Grade 1", "grade 1", true},
      {"一班", "一班", true},
      {"ABC", "abd", false},
      {"a", "ab", false},
      {"", "", true},
      {"É", "é", false},
      {"高一", "高二", false},
      {"2010级", "2010级", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.a + " | " + c.b);
    EXPECT_EQ(sameEntry(c.a, c.b), c.same);
  }
  const Items items{"Alpha", "beta", "BETA"};
  EXPECT_EQ(findEntry(items, "BETA"), 1u);
  EXPECT_EQ(findEntry(items, "alpha"), 0u);
  EXPECT_EQ(findEntry(items, "gamma"), std::string::npos);
}

}  // namespace
}  // namespace zeziza::store
