#include "pages/system/backup_list.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/temp_folder.h"

namespace zeziza::pages {
namespace {

TEST(BackupList, SizesInKilobytesThenMegabytes) {
  struct Case {
    std::uintmax_t bytes;
    const char* text;
  };
  for (const Case& c : {Case{0, "0 KB"}, Case{1, "1 KB"}, Case{1024, "1 KB"}, Case{1025, "2 KB"},
                        Case{1024 * 1024 - 1, "1024 KB"}, Case{1024 * 1024, "1.0 MB"},
                        Case{13107200 + 52429, "12.6 MB"}}) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(sizeText(c.bytes), c.text);
  }
}

// Time and kind come from the name the host gives a backup; a file named otherwise still
// shows when it was written.
TEST(BackupList, TimeAndKindFromTheName) {
  testing::TempFolder temp;
  struct Case {
    std::string name, time, kind;
  };
  const std::vector<Case> cases = {
      {"data-20261210-020000123-daily.sqlite", "2026-12-10 02:00:00", "每日"},
      {"data-20261209-235959999-start.sqlite", "2026-12-09 23:59:59", "启动时"},
      {"data-20261211-083012005-reset.sqlite", "2026-12-11 08:30:12", "系统重置前"},
      {"data-20261211-083012005-manual-2.sqlite", "2026-12-11 08:30:12", "手动"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(temp.path() / c.name) << std::string(3000, 'x');
    const BackupEntry entry = describeBackup(temp.path() / c.name);
    EXPECT_EQ(entry.time, c.time);
    EXPECT_EQ(entry.kind, c.kind);
    EXPECT_EQ(entry.size, "3 KB");
  }
  std::ofstream(temp.path() / "data-copy.sqlite") << "x";
  const BackupEntry copied = describeBackup(temp.path() / "data-copy.sqlite");
  EXPECT_EQ(copied.kind, "");
  EXPECT_EQ(copied.time.size(), std::string("2026-12-10 02:00:00").size()) << copied.time;
}

TEST(BackupList, NewestFirst) {
  testing::TempFolder temp;
  const std::vector<std::filesystem::path> oldestFirst = {
      temp.path() / "data-20261209-020000000-daily.sqlite",
      temp.path() / "data-20261210-020000000-daily.sqlite"};
  for (const auto& file : oldestFirst) std::ofstream(file) << "x";
  const auto entries = describeBackups(oldestFirst);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].file, oldestFirst[1]);
  EXPECT_EQ(entries[1].file, oldestFirst[0]);
}

}  // namespace
}  // namespace zeziza::pages
