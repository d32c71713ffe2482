// README's table of who sees which page, page by page and code by code: a page refuses every
// code the table leaves out, and a forged post to any control of a refused page changes
// nothing.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "pages/analysis/chart.h"
#include "pages/analysis/class_comparison.h"
#include "pages/analysis/distribution.h"
#include "pages/analysis/progress.h"
#include "pages/analysis/ranking.h"
#include "pages/analysis/report_cards.h"
#include "pages/analysis/score_query.h"
#include "pages/cloud/cloud_upload.h"
#include "pages/cloud/password_slips.h"
#include "pages/common/rights.h"
#include "pages/entry/batch_import.h"
#include "pages/entry/class_grid_entry.h"
#include "pages/entry/score_entry.h"
#include "pages/master/exams.h"
#include "pages/master/roster.h"
#include "pages/master/units.h"
#include "pages/system/accounts.h"
#include "pages/system/backup.h"
#include "store/settings_cache.h"
#include "tests/pages/common/sign_in.h"
#include "tests/support/page_driver.h"
#include "web/controls/region.h"

namespace zeziza::testing {
namespace {

struct TablePage {
  std::string name;
  std::function<void(BrowserSession&)> show;
  std::set<int> codes;  // who sees it
};

template <class P>
TablePage page(std::string name, std::set<int> codes) {
  return {std::move(name), [](BrowserSession& b) { b.showPage<P>(); }, std::move(codes)};
}

std::vector<TablePage> rightsTable() {
  const std::set<int> analysis = {0, 1, 4, 5};
  return {
      page<pages::ScoreQueryPage>("成绩查询", analysis),
      page<pages::ChartPage>("图表统计", analysis),
      page<pages::ClassComparisonPage>("班级对比", analysis),
      page<pages::RankingPage>("成绩排序", analysis),
      page<pages::ProgressPage>("进步统计", analysis),
      page<pages::DistributionPage>("分布情况", analysis),
      page<pages::ReportCardsPage>("打印成绩单", analysis),
      page<pages::RosterPage>("学生管理", {0, 1, 2, 4, 5}),
      page<pages::UnitsPage>("单位设置", {0, 1}),
      page<pages::ExamsPage>("考试设置", {0, 1}),
      page<pages::CloudUploadPage>("上传成绩", {0, 1}),
      page<pages::PasswordSlipsPage>("打印查询密码单", {0, 1}),
      page<pages::AccountsPage>("系统设置", {0}),
      page<pages::BackupPage>("数据备份", {0}),
      page<pages::ScoreEntryPage>("成绩录入", {2, 3, 5}),
      page<pages::ClassGridEntryPage>("表格录入", {2, 3, 5}),
      page<pages::BatchImportPage>("批量导入成绩", {2}),
  };
}

// Whether `control` belongs to a frame (the navigation bar, the footer), which stays usable
// on a refused page.
bool inFrame(const web::Control& control) {
  const web::Container* at = &control.parent();
  while (const auto* around = dynamic_cast<const web::Control*>(at)) {
    if (dynamic_cast<const web::Frame*>(around)) return true;
    at = &around->parent();
  }
  return false;
}

// Every row of every table, as text.
std::string everything(TestServer& server) {
  std::vector<std::string> tables;
  {
    store::Statement names(server.db(), "select name from sqlite_master where type='table'");
    while (names.step()) tables.push_back(names.column(0).asText());
  }
  std::string all;
  for (const auto& table : tables) {
    store::Statement rows(server.db(), "select * from \"" + table + "\"");
    all += table + ":";
    while (rows.step()) {
      for (int i = 0; i < rows.columnCount(); ++i) all += rows.column(i).asText() + ",";
      all += ";";
    }
  }
  return all;
}

class PageRightsTest : public ::testing::Test {
 protected:
  PageRightsTest() {
    server.context().settings().update([](store::SettingsSnapshot& s) {
      s.units = {"中心校区"};
      s.classes = {"一班"};
      s.subjects = {"数学"};
    });
    server.db().exec(
        "insert into ks (id, xm, xx, nj, bj) values ('1', '张三', '中心校区', "
        "'初一', '一班')");
    server.db().exec(
        "insert into cj (ks, kh, k1, zf, pj, test) values ('期中', 1, 90, 90, 90, '期中!&1')");
    addUser(server, "someone", "secret", 1);
  }

  void signInAs(int code) {
    auto& login = b.user().login;
    login.userName = "someone";
    login.rights = code;
    login.exams = {"期中"};
    login.grades = {"初一"};
    login.defaultExam = "期中";
    login.workMode = "自考模式";
    login.permitted = code == pages::rights::kClassTeacher
                          ? store::Scope::place("中心校区", "初一", "一班")
                          : store::Scope{};
  }

  TestServer server;
  BrowserSession b = server.browser();
};

TEST_F(PageRightsTest, EachPageServesTheCodesOfTheTable) {
  for (const auto& entry : rightsTable()) {
    for (int code = 0; code <= 5; ++code) {
      SCOPED_TRACE(entry.name + " code " + std::to_string(code));
      signInAs(code);
      entry.show(b);
      const bool refused =
          b.messages() == std::vector<std::string>{std::string(pages::kNoPageRightsMessage)};
      EXPECT_EQ(refused, !entry.codes.contains(code));
    }
  }
}

TEST_F(PageRightsTest, AForgedPostToARefusedPageChangesNothing) {
  for (const auto& entry : rightsTable()) {
    for (int code = 0; code <= 5; ++code) {
      if (entry.codes.contains(code)) continue;
      SCOPED_TRACE(entry.name + " code " + std::to_string(code));
      signInAs(code);
      entry.show(b);
      const std::string pageClass = b.pageClass();
      const std::string before = everything(server);
      // Every value of the page posted as the browser would, even of the controls it hides.
      web::PostedForm values;
      std::vector<std::string> acting;
      for (const web::Control* control : b.page().controls()) {
        if (control->takesPost()) control->browserPost(values);
        // The refused page's way out (the entry pages keep one in their header) stays.
        const bool offered = control->effectivelyVisible() && control->Enabled;
        if (control->hasEvent() && !inFrame(*control) && !offered) {
          acting.push_back(control->elementId());
        }
      }
      EXPECT_FALSE(acting.empty());
      for (const auto& id : acting) {
        SCOPED_TRACE(id);
        web::PostedForm form = values;
        form.fields.emplace("IW_Action", id);
        form.fields.emplace("IW_ActionParam", "1_1");
        b.post(form);
        EXPECT_EQ(b.pageClass(), pageClass);
        EXPECT_EQ(everything(server), before);
      }
    }
  }
}

}  // namespace
}  // namespace zeziza::testing
