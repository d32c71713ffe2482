#include "pages/common/scope_selector.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "store/scope.h"
#include "store/settings_cache.h"
#include "tests/support/page_driver.h"
#include "web/controls/actions.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::testing {
namespace {

using pages::ScopeBox;
using pages::ScopeBoxes;
using Items = std::vector<std::string>;

// A page with nothing but a scope selector inside a bar, filled on creation.
class SelectorPage : public web::Page {
 public:
  explicit SelectorPage(const ScopeBoxes& look) : web::Page("SelectorPage"), boxes{bar, look} {
    OnCreate = [this] { boxes.fill(); };
  }
  web::Region bar{*this, "bar"};
  pages::ScopeSelector boxes;
  web::Button afterButton{bar, "afterButton"};
};

const ScopeBoxes kAllFour = {.exam = ScopeBox{.allItem = "全部考试"},
                             .unit = ScopeBox{.allItem = "所有学校"},
                             .grade = ScopeBox{.allItem = "全部年级"},
                             .cls = ScopeBox{.allItem = "所有班"}};

// Two exams (the default one second), two units, three grades, two classes.
class ScopeSelectorTest : public ::testing::Test {
 protected:
  ScopeSelectorTest() {
    server.context().settings().update([](store::SettingsSnapshot& s) {
      s.units = {"中心校区", "东校区"};
      s.classes = {"一班", "二班"};
    });
    auto& user = b.user();
    user.login.exams = {"期中", "期末"};
    user.login.grades = {"初一", "初二", "初三"};
    user.login.defaultExam = "期末";
  }
  SelectorPage& show(const ScopeBoxes& look) {
    b.run([&] { b.user().ShowPage<SelectorPage>(look); });
    return b.page<SelectorPage>();
  }
  web::ComboBox& box(const std::string& name) { return b.control<web::ComboBox>(name); }
  std::vector<std::string> childNames() {
    std::vector<std::string> names;
    for (const web::Control* c : b.page<SelectorPage>().bar.children()) names.push_back(c->name());
    return names;
  }

  TestServer server;
  BrowserSession b = server.browser();
};

TEST_F(ScopeSelectorTest, FillListsEachBoxAfterItsAllItem) {
  const Items exams = {"期中", "期末"}, units = {"中心校区", "东校区"},
              grades = {"初一", "初二", "初三"}, classes = {"一班", "二班"};
  const struct {
    std::string name;
    ScopeBoxes look;
    Items exam, unit, grade, cls;  // a box left out expects none
  } cases[] = {
      {"all four with all items",
       kAllFour,
       {"全部考试", "期中", "期末"},
       {"所有学校", "中心校区", "东校区"},
       {"全部年级", "初一", "初二", "初三"},
       {"所有班", "一班", "二班"}},
      {"no all items",
       {.exam = ScopeBox{}, .unit = ScopeBox{}, .grade = ScopeBox{}},
       exams,
       units,
       grades,
       {}},
      {"exam and grade only",
       {.exam = ScopeBox{}, .grade = ScopeBox{.allItem = "所有年级"}},
       exams,
       {},
       {"所有年级", "初一", "初二", "初三"},
       {}},
      {"unit, grade and class",
       {.unit = ScopeBox{.allItem = "不限学校"}, .grade = ScopeBox{}, .cls = ScopeBox{}},
       {},
       {"不限学校", "中心校区", "东校区"},
       grades,
       classes},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    show(c.look);
    const struct {
      bool present;
      const Items& items;
      const char* name;
    } expected[] = {{c.look.exam.has_value(), c.exam, "examBox"},
                    {c.look.unit.has_value(), c.unit, "unitBox"},
                    {c.look.grade.has_value(), c.grade, "gradeBox"},
                    {c.look.cls.has_value(), c.cls, "classBox"}};
    for (const auto& e : expected) {
      SCOPED_TRACE(e.name);
      if (!e.present) {
        EXPECT_THROW(box(e.name), std::logic_error);
        continue;
      }
      EXPECT_EQ(box(e.name).Items, e.items);
      if (e.name != std::string("examBox")) {
        EXPECT_EQ(box(e.name).ItemIndex, 0);
      }
    }
  }
}

TEST_F(ScopeSelectorTest, FillChoosesTheDefaultExam) {
  const struct {
    std::string allItem;
    bool firstWithoutDefault;
    std::string defaultExam;
    int index;
  } cases[] = {
      {"全部考试", false, "期末", 2}, {"全部考试", false, "没有", -1},
      {"全部考试", true, "没有", 0},  {"全部考试", true, "期中", 1},
      {"", false, "期中", 0},         {"", false, "", -1},
      {"", true, "没有", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.allItem + (c.firstWithoutDefault ? " first stays, " : ", ") + c.defaultExam);
    b.user().login.defaultExam = c.defaultExam;
    show(
        {.exam = ScopeBox{.allItem = c.allItem}, .firstExamWithoutDefault = c.firstWithoutDefault});
    EXPECT_EQ(box("examBox").ItemIndex, c.index);
  }
}

TEST_F(ScopeSelectorTest, EmptyListsWithoutAllItemChooseNothing) {
  server.context().settings().update([](store::SettingsSnapshot& s) {
    s.units.clear();
    s.classes.clear();
  });
  b.user().login.exams.clear();
  b.user().login.grades.clear();
  show({.exam = ScopeBox{}, .unit = ScopeBox{}, .grade = ScopeBox{}, .cls = ScopeBox{}});
  for (const char* name : {"examBox", "unitBox", "gradeBox", "classBox"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(box(name).Items, Items{});
    EXPECT_EQ(box(name).ItemIndex, -1);
  }
  show(kAllFour);
  EXPECT_EQ(box("gradeBox").Items, Items{"全部年级"});
  EXPECT_EQ(box("gradeBox").ItemIndex, 0);
}

// The boxes sit in the parent in order, each caption's label just before its box, and keep the
// parent's ids as if the page declared them itself.
TEST_F(ScopeSelectorTest, BoxesAndLabelsTakeTheirPlaceInTheParent) {
  const struct {
    std::string name;
    ScopeBoxes look;
    std::vector<std::string> children;
  } cases[] = {
      {"all four", kAllFour, {"examBox", "unitBox", "gradeBox", "classBox", "afterButton"}},
      {"captioned exam and grade",
       {.exam = ScopeBox{.caption = "考试"}, .grade = ScopeBox{.caption = "年级"}},
       {"examLabel", "examBox", "gradeLabel", "gradeBox", "afterButton"}},
      {"captioned unit and class",
       {.unit = ScopeBox{.caption = "上传单位"}, .cls = ScopeBox{.caption = "上传班次"}},
       {"unitLabel", "unitBox", "classLabel", "classBox", "afterButton"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    show(c.look);
    EXPECT_EQ(childNames(), c.children);
  }
  EXPECT_EQ(b.control<web::Label>("unitLabel").Caption, "上传单位");
  EXPECT_EQ(b.control<web::Label>("classLabel").Caption, "上传班次");
  EXPECT_EQ(box("classBox").elementId(), "classbox");
}

TEST_F(ScopeSelectorTest, NoSelectionTextIsTheLooksOrTheBoxDefault) {
  show({.exam = ScopeBox{.noSelectionText = "考试"}, .unit = ScopeBox{}});
  EXPECT_EQ(box("examBox").NoSelectionText, "考试");
  EXPECT_EQ(box("unitBox").NoSelectionText, "-- 请选择 --");  // the box's own
}

TEST_F(ScopeSelectorTest, APermittedPlaceIsListedAloneAndLeavesTheExam) {
  b.user().login.permitted = store::Scope::place("东校区", "初二", "二班");
  show(kAllFour);
  EXPECT_EQ(box("unitBox").Items, Items{"东校区"});
  EXPECT_EQ(box("gradeBox").Items, Items{"初二"});
  EXPECT_EQ(box("classBox").Items, Items{"二班"});
  for (const char* name : {"unitBox", "gradeBox", "classBox"}) EXPECT_EQ(box(name).ItemIndex, 0);
  EXPECT_EQ(box("examBox").Items, (Items{"全部考试", "期中", "期末"}));
  EXPECT_EQ(box("examBox").ItemIndex, 2);
}

// What scope() makes of the boxes' choices, with and without a locked place: a locked part is
// the place's whatever the boxes hold, or the choice is refused as a bad post.
TEST_F(ScopeSelectorTest, ScopeNeverReachesPastThePermittedOne) {
  const store::Scope teacher = store::Scope::place("东校区", "初二", "二班");
  const ScopeBoxes noAllItems = {.unit = ScopeBox{}, .grade = ScopeBox{}, .cls = ScopeBox{}};
  const ScopeBoxes noClassBox = {.unit = ScopeBox{.allItem = "所有学校"}, .grade = ScopeBox{}};
  const struct {
    std::string name;
    store::Scope permitted;
    ScopeBoxes look;
    int unit, grade, cls;                  // item indexes; -2: the page has no such box
    std::optional<store::Scope> expected;  // nullopt: refused
  } cases[] = {
      {"all items", {}, kAllFour, 0, 0, 0, store::Scope{}},
      {"nothing chosen beside an all item", {}, kAllFour, -1, -1, -1, store::Scope{}},
      {"chosen items", {}, kAllFour, 2, 3, 1, store::Scope{"东校区", "初三", "一班"}},
      {"first items without all items",
       {},
       noAllItems,
       0,
       0,
       0,
       store::Scope::place("中心校区", "初一", "一班")},
      {"nothing chosen without an all item", {}, noAllItems, 0, -1, 0, std::nullopt},
      {"no class box: every class", {}, noClassBox, 0, 1, -2, store::Scope{{}, "初二", {}}},
      {"the place", teacher, kAllFour, 0, 0, 0, teacher},
      {"the place without all items", teacher, noAllItems, 0, 0, 0, teacher},
      {"no class box: the permitted class", teacher, noClassBox, 0, 0, -2, teacher},
      {"locked unit with nothing chosen", teacher, kAllFour, -1, 0, 0, std::nullopt},
      {"locked grade with nothing chosen", teacher, kAllFour, 0, -1, 0, std::nullopt},
      {"locked class with nothing chosen", teacher, kAllFour, 0, 0, -1, std::nullopt},
      {"locked class past its one item", teacher, kAllFour, 0, 0, 1, std::nullopt},
      {"a place of nobody stays locked", store::Scope::place("", "", ""), kAllFour, 0, 0, 0,
       store::Scope::place("", "", "")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    b.user().login.permitted = c.permitted;
    SelectorPage& page = show(c.look);
    const std::pair<const char*, int> indexes[] = {
        {"unitBox", c.unit}, {"gradeBox", c.grade}, {"classBox", c.cls}};
    for (const auto& [name, index] : indexes) {
      if (index != -2) box(name).ItemIndex = index;
    }
    std::optional<store::Scope> got;
    b.run([&] { got = page.boxes.scope(); });
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(b.message(), c.expected ? "" : web::BadPost::kDefaultMessage);
  }
}

TEST_F(ScopeSelectorTest, ChosenExamIsNoneOnTheAllItem) {
  SelectorPage& page = show(kAllFour);
  const struct {
    int index;
    std::optional<std::string> exam;
  } cases[] = {{0, std::nullopt}, {-1, std::nullopt}, {1, "期中"}, {2, "期末"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    box("examBox").ItemIndex = c.index;
    std::optional<std::string> got = "unread";
    b.run([&] { got = page.boxes.chosenExam(); });
    EXPECT_EQ(got, c.exam);
  }
}

// Choosing in one box submits nothing and leaves the other boxes' lists and choices as they
// were: the boxes are read together when the page acts.
TEST_F(ScopeSelectorTest, ChoosingInOneBoxLeavesTheOthersAsTheyWere) {
  const struct {
    const char* name;
    const char* item;
    int index;
  } cases[] = {{"examBox", "期中", 1},
               {"unitBox", "东校区", 2},
               {"gradeBox", "初三", 3},
               {"classBox", "一班", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    show(kAllFour);
    std::vector<std::pair<Items, int>> before;
    for (const char* name : {"examBox", "unitBox", "gradeBox", "classBox"}) {
      EXPECT_FALSE(box(name).hasEvent());
      before.emplace_back(box(name).Items, box(name).ItemIndex);
    }
    b.choose(c.name, c.item);
    b.submit();
    EXPECT_EQ(b.messages(), std::vector<std::string>{});
    int i = 0;
    for (const char* name : {"examBox", "unitBox", "gradeBox", "classBox"}) {
      const auto& [items, index] = before[static_cast<std::size_t>(i++)];
      EXPECT_EQ(box(name).Items, items) << name;
      EXPECT_EQ(box(name).ItemIndex, name == std::string(c.name) ? c.index : index) << name;
    }
  }
}

}  // namespace
}  // namespace zeziza::testing
