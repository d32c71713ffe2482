#include "pages/common/workbook_download.h"

#include <gtest/gtest.h>

#include <optional>

#include "export/sheet_layout.h"
#include "store/query.h"
#include "tests/support/page_driver.h"
#include "tests/support/xlsx_reader.h"
#include "web/controls/actions.h"
#include "web/user_session.h"

namespace zeziza::testing {
namespace {

// A page with a roster-like result of its own and the two ways a 【保存为EXCEL】 link is used.
class ExportingPage : public web::Page {
 public:
  ExportingPage() : web::Page("ExportingPage") {
    OnCreate = [this] { result.emplace(web::currentSession().dataConnection); };
    Search.OnClick = [this] {
      result->open(
          "select bh,id as 学生编号, xx as 学校, xm as 姓名,nj as 年级,bj as 班次 from ks");
    };
    exportLink.OnClick = [this] {
      pages::sendWorkbook(*result, spreadsheet::rosterLayout(), "学生名单.xlsx");
    };
    // A disk with no room left: /dev/full answers every write as such a disk does.
    FullDisk.OnClick = [] {
      pages::sendWritten(
          [](const std::filesystem::path&) {
            spreadsheet::writeRows({{store::Value(std::string("学生"))}}, "/dev/full");
          },
          "x.xlsx");
    };
    // A layout naming columns the result lacks.
    Mismatched.OnClick = [this] {
      pages::sendWorkbook(*result, spreadsheet::scoreQueryLayout({}, {"数学"}), "x.xlsx");
    };
  }
  web::Button Search{*this, "Search"};
  web::Link exportLink{*this, "exportLink"};
  web::Link Mismatched{*this, "Mismatched"};
  web::Link FullDisk{*this, "FullDisk"};
  std::optional<store::Query> result;
};

class WorkbookDownloadTest : public ::testing::Test {
 protected:
  WorkbookDownloadTest() {
    for (int i = 1; i <= 45; ++i) {
      server.db().exec(
          "insert into ks (id, xm, xx, nj, bj) values (?, ?, '东校区', '七年级', '一班')",
          {std::to_string(1000 + i), "学生" + std::to_string(i)});
    }
    browser.showPage<ExportingPage>();
  }
  std::vector<std::filesystem::path> cachedFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(browser.user().cacheFolder())) {
      files.push_back(entry.path());
    }
    return files;
  }

  TestServer server;
  BrowserSession browser = server.browser();
};

TEST_F(WorkbookDownloadTest, RefusedBeforeAnyQuery) {
  const auto& outcome = browser.click("exportLink");
  EXPECT_EQ(outcome.kind, web::EventOutcome::Kind::Page);
  EXPECT_EQ(browser.message(), pages::kExportNoQueryMessage);
  EXPECT_TRUE(cachedFiles().empty());
}

TEST_F(WorkbookDownloadTest, AnswersWithAFreshWorkbookEachTime) {
  browser.click("Search");
  std::vector<std::filesystem::path> sent;
  for (int i = 0; i < 2; ++i) {
    const auto& outcome = browser.click("exportLink");
    ASSERT_EQ(outcome.kind, web::EventOutcome::Kind::File);
    EXPECT_EQ(outcome.file->path.parent_path(), browser.user().cacheFolder());
    EXPECT_EQ(outcome.file->downloadName, "学生名单.xlsx");
    EXPECT_EQ(readWorkbook(outcome.file->path).rows.size(), 46u);
    sent.push_back(outcome.file->path);
  }
  EXPECT_NE(sent[0], sent[1]);
  EXPECT_EQ(cachedFiles().size(), 2u);
}

// A full disk is told as such, never blamed on a program holding the file open.
TEST_F(WorkbookDownloadTest, FailureIsReportedForWhatItWasAndLeavesNoFile) {
  browser.click("Search");
  const std::pair<std::string, std::string_view> cases[] = {
      {"Mismatched", pages::kExportFailedMessage},
      {"FullDisk", pages::kExportDiskFullMessage},
  };
  for (const auto& [link, message] : cases) {
    SCOPED_TRACE(link);
    const auto& outcome = browser.click(link);
    EXPECT_EQ(outcome.kind, web::EventOutcome::Kind::Page);
    EXPECT_EQ(browser.message(), message);
    EXPECT_TRUE(cachedFiles().empty());
  }
}

}  // namespace
}  // namespace zeziza::testing
