#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/master/exams.h"
#include "store/scale_settings.h"
#include "store/settings.h"
#include "store/settings_cache.h"
#include "tests/support/page_driver.h"
#include "web/controls/grid.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"

namespace zeziza::testing {
namespace {

using Items = std::vector<std::string>;

class FullMarksSectionTest : public ::testing::Test {
 protected:
  FullMarksSectionTest() { server.host().loadState(); }

  BrowserSession open() {
    auto b = server.browser();
    b.user().login.rights = 0;
    b.showPage<pages::ExamsPage>();
    return b;
  }
  static Items shown(BrowserSession& b) {
    const auto& grid = b.control<web::Grid>("FullMarksGrid");
    Items rows;
    for (int r = 1; r < grid.rowCount(); ++r)
      rows.push_back(grid.cell(r, 0).Text + "=" + grid.cell(r, 1).Text);
    return rows;
  }
  void set(BrowserSession& b, const std::string& subject, const std::string& mark) {
    b.choose("FullMarkSubject", subject);
    b.type("FullMarkEdit", mark);
    b.click("FullMarkSave");
  }

  TestServer server;
};

TEST_F(FullMarksSectionTest, ANewDatabaseHasEverySubjectOutOf100) {
  EXPECT_EQ(store::readFullMarkTexts(server.db()), (Items{"100", "100", "100"}));
  auto b = open();
  EXPECT_EQ(shown(b), (Items{"数学=100", "语文=100", "英语=100"}));
}

TEST_F(FullMarksSectionTest, SavesAFullMarkForTheChosenSubject) {
  auto b = open();
  set(b, "语文", "150");
  EXPECT_EQ(b.messages(), Items{});
  EXPECT_EQ(store::readFullMarkTexts(server.db()), (Items{"100", "150", "100"}));
  EXPECT_EQ(shown(b), (Items{"数学=100", "语文=150", "英语=100"}));
  EXPECT_EQ(b.control<web::Edit>("FullMarkEdit").Text, "");
}

TEST_F(FullMarksSectionTest, RefusesAFullMarkThatIsNoWholeNumberFrom1To1000) {
  auto b = open();
  for (const char* bad : {"", "abc", "120.5", "0", "-100", "1001"}) {
    SCOPED_TRACE(bad);
    set(b, "数学", bad);
    EXPECT_EQ(b.message(), "满分必须是1到1000之间的整数！");
  }
  EXPECT_EQ(store::readFullMarkTexts(server.db()), (Items{"100", "100", "100"}));
}

// A database made before full marks existed has no row for them: it reads as 100 and the
// first save adds the row.
TEST_F(FullMarksSectionTest, ADatabaseWithoutTheSettingReadsAs100AndSaves) {
  server.db().exec("delete from sysset where zdm=?", {std::string(store::key::kFullMarks)});
  auto b = open();
  EXPECT_EQ(shown(b), (Items{"数学=100", "语文=100", "英语=100"}));
  set(b, "英语", "120");
  EXPECT_EQ(store::readFullMarkTexts(server.db()), (Items{"100", "100", "120"}));
}

TEST_F(FullMarksSectionTest, AnAddedSubjectIsListedOutOf100) {
  auto b = open();
  set(b, "数学", "150");
  b.type("subjectEdit", "物理");
  b.click("subjectAddButton");
  EXPECT_EQ(shown(b), (Items{"数学=150", "语文=100", "英语=100", "物理=100"}));
  set(b, "物理", "110");
  EXPECT_EQ(store::readFullMarkTexts(server.db()), (Items{"150", "100", "100", "110"}));
}

}  // namespace
}  // namespace zeziza::testing
