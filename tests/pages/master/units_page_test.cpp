#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "pages/common/rights.h"
#include "pages/master/units.h"
#include "store/settings.h"
#include "store/settings_cache.h"
#include "tests/support/page_driver.h"
#include "web/controls/grid.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"

namespace zeziza::testing {
namespace {

using Items = std::vector<std::string>;

// The names a grid shows, from row 1 on.
Items gridNames(const web::Grid& grid) {
  Items names;
  for (int row = 1; row < grid.rowCount(); ++row) names.push_back(grid.cell(row, 0).Text);
  return names;
}

// One column of the units page and where its list is kept.
struct Column {
  std::string name;
  std::string edit, button, grid, list;
  std::string_view key;
  std::string studentColumn;
  std::string emptyMessage, duplicateMessage;
  std::function<Items(BrowserSession&)> cached;
};

const std::vector<Column>& columns() {
  static const std::vector<Column> all = {
      {"units", "unitEdit", "unitAddButton", "unitGrid", "unitList", store::key::kUnits, "xx",
       "添加失败，不能添加空字符串", "添加失败，该单位已存在！",
       [](BrowserSession& b) { return b.user().context().settings().get()->units; }},
      {"grades", "gradeEdit", "gradeAddButton", "gradeGrid", "gradeList", store::key::kGrades, "nj",
       "不能添加空字符串", "添加失败，该年级已存在！",
       [](BrowserSession& b) { return b.user().login.grades; }},
      {"classes", "classEdit", "classAddButton", "classGrid", "classList", store::key::kClasses,
       "bj", "不能添加空字符串", "添加失败，该班次已存在！",
       [](BrowserSession& b) { return b.user().context().settings().get()->classes; }},
  };
  return all;
}

class UnitsPageTest : public ::testing::Test {
 protected:
  UnitsPageTest() {
    store::writeListSetting(server.db(), store::key::kUnits, {"东校区"});
    store::writeListSetting(server.db(), store::key::kGrades, {"2010级"});
    store::writeListSetting(server.db(), store::key::kClasses, {"一班"});
    server.host().loadState();
  }

  // A signed-in administrator on the units page.
  BrowserSession open(const std::string& rights = "0") {
    auto b = server.browser();
    b.user().login.rights = pages::parseRightsCode(rights);
    b.user().login.grades = store::readListSetting(server.db(), "nj");
    b.showPage<pages::UnitsPage>();
    return b;
  }
  Items stored(std::string_view key) { return store::readListSetting(server.db(), key); }
  // What page, cache and store hold for a column; the test expects them to agree.
  void expectAgree(BrowserSession& b, const Column& c, const Items& expected) {
    EXPECT_EQ(stored(c.key), expected);
    EXPECT_EQ(c.cached(b), expected);
    EXPECT_EQ(b.control<web::List>(c.list).Items, expected);
    EXPECT_EQ(gridNames(b.control<web::Grid>(c.grid)), expected);
  }
  void addStudent(const std::string& id, const std::string& unit, const std::string& grade,
                  const std::string& cls) {
    server.db().exec("insert into ks (id, xm, xx, nj, bj) values (?, '学生', ?, ?, ?)",
                     {id, unit, grade, cls});
  }

  TestServer server;
};

TEST_F(UnitsPageTest, OpensWithTheThreeListsAndHeaders) {
  auto b = open();
  const std::vector<std::pair<std::string, std::string>> headers = {
      {"unitGrid", "单位名称"}, {"gradeGrid", "年级"}, {"classGrid", "班次"}};
  for (const auto& [grid, header] : headers) {
    SCOPED_TRACE(grid);
    const auto& g = b.control<web::Grid>(grid);
    EXPECT_EQ(g.cell(0, 0).Text, header);
    EXPECT_EQ(g.cell(0, 1).Text, "点击删除");
    ASSERT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.cell(1, 1).Text, "删除");
    EXPECT_TRUE(g.cell(1, 1).Clickable);
    EXPECT_FALSE(g.cell(1, 0).Clickable);
  }
  EXPECT_EQ(gridNames(b.control<web::Grid>("gradeGrid")), Items{"2010级"});
}

TEST_F(UnitsPageTest, AddsTrimmedNamesAndKeepsTheEditText) {
  for (const auto& c : columns()) {
    SCOPED_TRACE(c.name);
    auto b = open();
    const Items before = stored(c.key);
    b.type(c.edit, "  新 项 O'Neil, \"x\"\t");
    b.click(c.button);
    EXPECT_EQ(b.message(), "");
    Items expected = before;
    expected.push_back("新 项 O'Neil, \"x\"");
    expectAgree(b, c, expected);
    EXPECT_EQ(b.control<web::Edit>(c.edit).Text, "  新 项 O'Neil, \"x\"\t");
  }
}

TEST_F(UnitsPageTest, RefusesEmptyNamesAndDuplicatesInAnyLetterCase) {
  for (const auto& c : columns()) {
    auto b = open();
    b.type(c.edit, "Grade A");
    b.click(c.button);
    const Items after = stored(c.key);
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"", c.emptyMessage},
        {"   ", c.emptyMessage},
        {"grade a", c.duplicateMessage},
        {" GRADE A ", c.duplicateMessage},
    };
    for (const auto& [typed, message] : refused) {
      SCOPED_TRACE(c.name + " [" + typed + "]");
      b.type(c.edit, typed);
      b.click(c.button);
      EXPECT_EQ(b.message(), message);
      expectAgree(b, c, after);
    }
  }
}

TEST_F(UnitsPageTest, DeletesEntriesNoStudentUses) {
  for (const auto& c : columns()) {
    SCOPED_TRACE(c.name);
    auto b = open();
    b.type(c.edit, "乙");
    b.click(c.button);
    const Items first = stored(c.key);
    ASSERT_EQ(first.size(), 2u);
    b.click(c.grid, "2_1");
    EXPECT_EQ(b.message(), "");
    expectAgree(b, c, Items{first[0]});
    b.click(c.grid, "1_1");  // the last entry: the grid keeps its header row alone
    expectAgree(b, c, Items{});
    EXPECT_EQ(store::readSetting(server.db(), c.key), "");
    EXPECT_EQ(b.control<web::Grid>(c.grid).rowCount(), 1);
  }
}

TEST_F(UnitsPageTest, RefusesToDeleteAnEntryAStudentStillHas) {
  // One student holding the entry blocks it, whatever his other places are.
  addStudent("1001", "东校区", "别的年级", "别的班");
  addStudent("1002", "别处", "2010级", "别的班");
  addStudent("1003", "别处", "别的年级", "一班");
  for (const auto& c : columns()) {
    SCOPED_TRACE(c.name);
    auto b = open();
    const Items before = stored(c.key);
    b.click(c.grid, "1_1");
    EXPECT_EQ(b.message(), "该列表项下还有学生，请先删除该列表项下所有学生，然后才能删除列表项！");
    expectAgree(b, c, before);
  }
}

TEST_F(UnitsPageTest, NamesWithBlanksAndCommasSurviveARestart) {
  for (const auto& c : columns()) {
    SCOPED_TRACE(c.name);
    auto b = open();
    b.type(c.edit, "第一 中学,\"北\"");
    b.click(c.button);
  }
  // Forget everything held in memory, then load the cache from the store as a start does.
  server.context().settings().update([](store::SettingsSnapshot& s) { s = {}; });
  server.host().loadState();
  auto b = open();
  for (const auto& c : columns()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(gridNames(b.control<web::Grid>(c.grid)).back(), "第一 中学,\"北\"");
    EXPECT_EQ(c.cached(b).size(), 2u);
  }
}

TEST_F(UnitsPageTest, TwoSessionsKeepEachOthersChanges) {
  for (const auto& c : columns()) {
    SCOPED_TRACE(c.name);
    const std::string original = stored(c.key).front();
    auto first = open();
    auto second = open();
    first.type(c.edit, "甲");
    first.click(c.button);
    second.type(c.edit, "乙");
    second.click(c.button);
    expectAgree(second, c, Items{original, "甲", "乙"});
    // The first page still shows the original entry; another session deletes it meanwhile.
    second.click(c.grid, "1_1");
    first.type(c.edit, "丙");
    first.click(c.button);
    expectAgree(first, c, Items{"甲", "乙", "丙"});
    // Deleting what the other session removed already just shows the list as it is.
    second.click(c.grid, "1_1");  // 甲
    first.click(c.grid, "1_1");   // 甲 again, from a page that still lists it
    EXPECT_EQ(first.message(), "");
    expectAgree(first, c, Items{"乙", "丙"});
  }
}

TEST_F(UnitsPageTest, AFailedWriteLeavesPageCacheAndStoreAgreeing) {
  for (const auto& c : columns()) {
    SCOPED_TRACE(c.name);
    auto b = open();
    const Items before = stored(c.key);
    server.db().exec("delete from sysset where zdm=?", {store::Value(c.key)});
    b.type(c.edit, "新");
    b.click(c.button);
    EXPECT_NE(b.message().find(std::string(c.key)), std::string::npos) << b.message();
    EXPECT_EQ(b.control<web::List>(c.list).Items, before);
    EXPECT_EQ(c.cached(b), before);
    EXPECT_TRUE(stored(c.key).empty());  // still no row: nothing was inserted
  }
}

TEST_F(UnitsPageTest, OnlyAdministratorsChangeTheLists) {
  struct Case {
    std::string rights;
    bool allowed;
  };
  const std::vector<Case> cases = {{"0", true},  {"1", true},  {"2", false}, {"3", false},
                                   {"4", false}, {"5", false}, {"", false},  {"01", false}};
  for (const auto& rc : cases) {
    SCOPED_TRACE("rights [" + rc.rights + "]");
    // Opened by an administrator, then acted on under another code: the handlers check too.
    auto b = open("0");
    b.user().login.rights = pages::parseRightsCode(rc.rights);
    const Items before = stored(store::key::kClasses);
    b.type("classEdit", "十班" + rc.rights);
    b.click("classAddButton");
    EXPECT_EQ(stored(store::key::kClasses).size(), before.size() + (rc.allowed ? 1 : 0));
    b.click("classGrid", "1_1");
    if (rc.allowed) {
      EXPECT_EQ(b.message(), "");
      EXPECT_EQ(stored(store::key::kClasses).size(), before.size());
      store::writeListSetting(server.db(), store::key::kClasses, before);
      server.host().loadState();
    } else {
      EXPECT_EQ(b.message(), pages::kNoRightsMessage);
      EXPECT_EQ(stored(store::key::kClasses), before);
    }
  }
}

TEST_F(UnitsPageTest, OthersSeeNothingOfThePage) {
  for (const std::string rights : {"2", "3", "4", "5", ""}) {
    SCOPED_TRACE("rights [" + rights + "]");
    auto b = open(rights);
    EXPECT_EQ(b.message(), pages::kNoPageRightsMessage);
    const Items before = stored(store::key::kClasses);
    b.type("classEdit", "十班");
    b.click("classAddButton");  // hidden: the post is not applied
    EXPECT_EQ(stored(store::key::kClasses), before);
    EXPECT_EQ(b.last().html.find("『管理单位』"), std::string::npos);
  }
}

}  // namespace
}  // namespace zeziza::testing
