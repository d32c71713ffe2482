#include "host/backups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "host/console.h"
#include "host/folder_lock.h"
#include "store/backup_file.h"
#include "store/database.h"
#include "store/statement.h"
#include "tests/support/page_driver.h"
#include "tests/support/temp_folder.h"

namespace zeziza::host {
namespace {

std::int64_t countRows(const std::filesystem::path& file, const char* table) {
  store::Database db(file, store::Database::Mode::ReadOnly);
  store::Statement s(db, std::string("select count(*) from ") + table);
  s.step();
  return s.column(0).asInt();
}

class BackupsTest : public ::testing::Test {
 protected:
  BackupsTest() { store::prepareDataFolder(folder); }
  testing::TempFolder temp;
  store::DataFolder folder{temp.path()};
};

TEST_F(BackupsTest, ABackupTakenWhileOthersWriteIsConsistent) {
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    store::Database db(folder.data());
    for (int i = 0; !stop && i < 5000; ++i) {
      db.exec("insert into ks (id, xm) values (?, 'x')", {std::to_string(i)});
    }
  });
  Backups backups(folder, 14);
  std::vector<std::filesystem::path> taken;
  for (int i = 0; i < 3; ++i) taken.push_back(backups.take("test"));
  stop = true;
  writer.join();
  for (const auto& file : taken) {
    EXPECT_FALSE(std::filesystem::exists(file.string() + "-wal"));
    store::Database db(file, store::Database::Mode::ReadOnly);
    store::Statement check(db, "PRAGMA integrity_check");
    ASSERT_TRUE(check.step());
    EXPECT_EQ(check.column(0).asText(), "ok");
  }
  EXPECT_LE(countRows(taken.front(), "ks"), countRows(taken.back(), "ks"));
}

TEST_F(BackupsTest, RotationKeepsTheNewest) {
  Backups backups(folder, 3);
  const auto t0 = std::chrono::system_clock::now();
  std::vector<std::filesystem::path> taken;
  for (int day = 0; day < 5; ++day) {
    taken.push_back(backups.take("daily", t0 + std::chrono::hours(24 * day)));
  }
  EXPECT_EQ(backups.list(), (std::vector<std::filesystem::path>{taken[2], taken[3], taken[4]}));
}

// A user's backup may come while the daily one is written: each gets a file of its own,
// whole, and rotation counts them all.
TEST_F(BackupsTest, BackupsTakenAtOnceEachGetTheirOwnFile) {
  Backups backups(folder, 3);
  const auto now = std::chrono::system_clock::now();
  std::vector<std::filesystem::path> taken(4);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < taken.size(); ++i) {
    threads.emplace_back([&, i] { taken[i] = backups.take("manual", now); });
  }
  for (auto& t : threads) t.join();
  std::sort(taken.begin(), taken.end());
  EXPECT_EQ(std::unique(taken.begin(), taken.end()), taken.end());
  const auto kept = backups.list();
  ASSERT_EQ(kept.size(), 3u);
  for (const auto& file : kept) {
    EXPECT_EQ(store::integrityOf(file), "ok") << file;
  }
}

TEST_F(BackupsTest, RestoreRefusesADamagedFileAndARunningServer) {
  store::Database(folder.data()).exec("insert into ks (id) values ('before')");
  const auto good = Backups(folder, 14).take("test");
  store::Database(folder.data()).exec("delete from ks");

  const auto damaged = temp.path() / "damaged.sqlite";
  std::ofstream(damaged) << "this is not a database at all, just some text";
  EXPECT_THROW(restoreBackup(folder, damaged), std::runtime_error);
  EXPECT_THROW(restoreBackup(folder, temp.path() / "missing.sqlite"), std::runtime_error);
  {
    FolderLock running(folder.root);
    ASSERT_TRUE(running.held());
    EXPECT_THROW(restoreBackup(folder, good), std::runtime_error);
  }
  EXPECT_EQ(countRows(folder.data(), "ks"), 0);
  restoreBackup(folder, good);
  EXPECT_EQ(countRows(folder.data(), "ks"), 1);
}

TEST(BackupsOfTheHost, TheResetLeavesABackupOfWhatItErased) {
  testing::TestServer server;
  server.db().exec("insert into ks (id, xm) values ('1', '张三')");
  server.host().resetSystem();
  const auto files = server.host().backups().list();
  ASSERT_FALSE(files.empty());
  EXPECT_NE(files.back().filename().string().find("-reset"), std::string::npos);
  EXPECT_EQ(countRows(files.back(), "ks"), 1);
  EXPECT_EQ(countRows(server.folder() / "data", "ks"), 0);
}

// The console's reset takes "确认" as well as "yes", exactly; any other answer says that nothing
// was changed.
TEST(BackupsOfTheHost, TheConsoleResetTakesConfirmOrYes) {
  const struct {
    const char* answer;
    bool resets;
  } cases[] = {{"确认\n", true},   {"yes\n", true}, {"YES\n", false},
               {"确认 \n", false}, {"\n", false},   {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    testing::TestServer server;
    server.db().exec("insert into ks (id, xm) values ('1', '张三')");
    std::ostringstream out;
    Options options;
    Console console(server.host(), options, out);
    std::istringstream answer(c.answer);
    EXPECT_TRUE(console.command("reset", answer));
    EXPECT_NE(out.str().find("确认请输入“确认”或yes"), std::string::npos) << out.str();
    EXPECT_EQ(countRows(server.folder() / "data", "ks"), c.resets ? 0 : 1);
    EXPECT_EQ(out.str().find("没有重置，数据未改变") == std::string::npos, c.resets) << out.str();
  }
}

TEST(BackupsOfTheHost, ASecondServerOnTheSameFolderIsRefused) {
  testing::TestServer server;
  Options options;
  options.dataDir = server.folder();
  EXPECT_THROW(ServerHost(options, nullptr), std::runtime_error);
}

// A backups "folder" that is a plain file makes every backup fail.
class UnwritableBackups : public ::testing::Test {
 protected:
  UnwritableBackups() {
    std::ofstream(temp.path() / "backups") << "not a folder";
    options.dataDir = temp.path();
    options.port = 0;
  }
  testing::TempFolder temp;
  Options options;
};

TEST_F(UnwritableBackups, StartGoesOnWithoutItsBackup) {
  ServerHost host(options, nullptr);
  EXPECT_NO_THROW(host.prepareFolder());
  EXPECT_NO_THROW(host.loadState());
}

TEST_F(UnwritableBackups, AFailedConsoleResetChangesNothingAndTheConsoleGoesOn) {
  ServerHost host(options, nullptr);
  host.prepareFolder();
  host.loadState();
  store::Database(temp.path() / "data").exec("insert into ks (id, xm) values ('1', '张三')");
  std::ostringstream out;
  Console console(host, options, out);
  std::istringstream answer("yes\n");
  EXPECT_TRUE(console.command("reset", answer));
  EXPECT_NE(out.str().find("系统重置失败"), std::string::npos) << out.str();
  EXPECT_EQ(out.str().find("系统已恢复到初始状态"), std::string::npos);
  EXPECT_EQ(countRows(temp.path() / "data", "ks"), 1);
}

TEST(DailyBackup, NextRunIsTheComingHour) {
  std::tm local{};
  local.tm_year = 126;
  local.tm_mon = 11;
  local.tm_mday = 10;
  local.tm_hour = 1;
  local.tm_isdst = -1;
  const auto at1 = std::chrono::system_clock::from_time_t(std::mktime(&local));
  EXPECT_EQ(nextDailyRun(at1, 2) - at1, std::chrono::hours(1));
  EXPECT_EQ(nextDailyRun(at1, 1) - at1, std::chrono::hours(24));
  EXPECT_EQ(nextDailyRun(at1, 0) - at1, std::chrono::hours(23));
}

}  // namespace
}  // namespace zeziza::host
