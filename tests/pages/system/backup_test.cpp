#include "pages/system/backup.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "pages/common/rights.h"
#include "store/backup_file.h"
#include "tests/pages/common/sign_in.h"
#include "web/controls/grid.h"

namespace zeziza::testing {
namespace {

using pages::BackupPage;

// A super administrator on the backup page, reached through the navigation bar; the server
// took its start backup already.
class BackupPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    addUser(server, "boss", "pw", pages::rights::kSuperAdmin);
    signIn(boss, "boss", "pw");
    boss.click("navigationBar.backupLink");
    ASSERT_EQ(boss.pageClass(), "BackupPage");
  }

  const web::Grid& grid(BrowserSession& b) { return b.control<web::Grid>("backupGrid"); }
  std::filesystem::path backups() const { return server.folder() / "backups"; }
  std::size_t filesInBackups() const {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(backups())) n += e.is_regular_file();
    return n;
  }

  TestServer server;
  BrowserSession boss = server.browser();
};

TEST_F(BackupPageTest, ListsTheBackupsNewestFirstAndMakesOneNow) {
  ASSERT_EQ(grid(boss).rowCount(), 2);
  EXPECT_EQ(grid(boss).rowTexts(0), (std::vector<std::string>{"备份时间", "类型", "大小", "下载"}));
  EXPECT_EQ(grid(boss).cell(1, 1).Text, "启动时");

  boss.click("backupButton");
  EXPECT_EQ(boss.message(), BackupPage::kDoneMessage);
  EXPECT_EQ(filesInBackups(), 2u);
  ASSERT_EQ(grid(boss).rowCount(), 3);
  const auto newest = grid(boss).rowTexts(1);
  EXPECT_EQ(newest.at(1), "手动");
  EXPECT_TRUE(std::regex_match(newest.at(0), std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})")))
      << newest.at(0);
  EXPECT_TRUE(std::regex_match(newest.at(2), std::regex(R"(\d+ KB)"))) << newest.at(2);
  EXPECT_GE(newest.at(0), grid(boss).cell(2, 0).Text);
  EXPECT_EQ(grid(boss).cell(2, 1).Text, "启动时");
  EXPECT_EQ(boss.control<web::Label>("countLabel").Caption, "共有2份备份");
  // The download asks the browser not to wait for a page.
  EXPECT_NE(boss.last().html.find("data-iw-param=\"1_3\" data-iw-download=\"1\""),
            std::string::npos);
}

// The file goes to the signed-in session as the answer to its own post, whole.
TEST_F(BackupPageTest, DownloadAnswersWithTheChosenBackup) {
  server.db().exec("insert into ks (id, xm) values ('2401001', '张三')");
  boss.click("backupButton");
  const auto& outcome = boss.click("backupGrid", "1_3");
  ASSERT_EQ(outcome.kind, web::EventOutcome::Kind::File);
  const auto file = outcome.file->path;
  EXPECT_EQ(file.parent_path(), backups());
  EXPECT_EQ(outcome.file->downloadName, file.filename().string());
  EXPECT_TRUE(file.filename().string().ends_with("-manual.sqlite")) << file;
  EXPECT_EQ(store::integrityOf(file), "ok");
  store::Database copy(file, store::Database::Mode::ReadOnly);
  store::Statement name(copy, "select xm from ks where id = '2401001'");
  ASSERT_TRUE(name.step());
  EXPECT_EQ(name.column(0).asText(), "张三");
}

// A backup rotated away since the list was shown is said so, and the list is read again.
TEST_F(BackupPageTest, ABackupGoneSinceTheListIsSaidSo) {
  boss.click("backupButton");
  const std::string gone = grid(boss).cell(1, 0).Text;
  for (const auto& e : std::filesystem::directory_iterator(backups())) {
    if (e.path().filename().string().ends_with("-manual.sqlite")) std::filesystem::remove(e);
  }
  const auto& outcome = boss.click("backupGrid", "1_3");
  EXPECT_EQ(outcome.kind, web::EventOutcome::Kind::Page);
  EXPECT_EQ(boss.message(), BackupPage::kGoneMessage);
  EXPECT_EQ(grid(boss).rowCount(), 2);
  EXPECT_EQ(grid(boss).cell(1, 1).Text, "启动时");
}

// A backup that cannot be written is a failure the user is told, never a success.
TEST_F(BackupPageTest, ABackupThatCannotBeWrittenIsReportedAsFailed) {
  std::filesystem::remove_all(backups());
  std::ofstream(backups()) << "not a folder";
  boss.click("backupButton");
  EXPECT_EQ(boss.message(), BackupPage::kFailedMessage);
  EXPECT_EQ(grid(boss).rowCount(), 1);
}

// Every other role gets the refusal and neither the list, a new backup nor a file, also
// when posting the super administrator's clicks by hand.
TEST(BackupPage, RefusedToEveryoneButTheSuperAdministrator) {
  TestServer server;
  for (const int code : {pages::rights::kAdmin, pages::rights::kSupervisor, pages::rights::kClerk,
                         pages::rights::kViewer, pages::rights::kClassTeacher}) {
    SCOPED_TRACE(code);
    auto b = server.browser();
    b.user().login.userName = "x";
    b.user().login.rights = code;
    b.showPage<BackupPage>();
    EXPECT_EQ(b.message(), pages::kNoPageRightsMessage);
    EXPECT_FALSE(b.control<web::Region>("Content").Visible);
    EXPECT_EQ(b.last().html.find("data-iw-download"), std::string::npos);
    const auto before =
        std::distance(std::filesystem::directory_iterator(server.folder() / "backups"),
                      std::filesystem::directory_iterator());
    b.post(b.formFor("backupButton"));
    EXPECT_EQ(b.post(b.formFor("backupGrid", "1_3")).kind, web::EventOutcome::Kind::Page);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(server.folder() / "backups"),
                            std::filesystem::directory_iterator()),
              before);
  }
}

}  // namespace
}  // namespace zeziza::testing
