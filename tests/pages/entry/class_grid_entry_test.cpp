#include "pages/entry/class_grid_entry.h"

#include <gtest/gtest.h>

#include "pages/common/rights.h"
#include "tests/pages/entry/entry_fixture.h"
#include "web/controls/actions.h"
#include "web/controls/grid.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"

namespace zeziza::testing {
namespace {

using pages::ClassGridEntryPage;

class ClassGridTest : public EntryTest {
 protected:
  // Students 701 … 70n in 中心校区 七年级 一班, named 学生1 …
  void addClass(int count, const std::string& cls = "一班", int first = 1) {
    for (int i = first; i < first + count; ++i) {
      addStudent(std::to_string(700 + i), "学生" + std::to_string(i), "中心校区", "七年级", cls);
    }
  }
  void open(const std::string& code = "2", const std::string& user = "boss") {
    signIn(b, code, user);
    b.showPage<ClassGridEntryPage>();
  }
  void load(const std::string& cls = "一班", const std::string& subject = "语文") {
    b.choose("unitBox", "中心校区");
    b.choose("gradeBox", "七年级");
    b.choose("classBox", cls);
    b.choose("subjectBox", subject);
    b.click("loadButton");
  }
  web::Grid& grid() { return b.control<web::Grid>("scoresGrid"); }
  web::Edit& box(int n) { return b.control<web::Edit>("scoreBox" + std::to_string(n)); }
  bool enabled(const std::string& button) { return b.control<web::Button>(button).Enabled; }

  BrowserSession b = server.browser();
};

TEST_F(ClassGridTest, LoadingNineStudentsGivesFourRows) {
  addClass(9);
  addClass(2, "二班", 20);
  putRow("702", {0, 85.5}, 85.5, 85.5);
  putRow("703", {90}, 90, 90);  // another subject: the box stays empty
  open();
  EXPECT_FALSE(grid().Visible);
  EXPECT_TRUE(enabled("loadButton"));
  EXPECT_FALSE(enabled("saveButton"));
  load();
  EXPECT_EQ(b.message(), "");
  EXPECT_TRUE(grid().Visible);
  EXPECT_EQ(grid().rowCount(), 4);
  EXPECT_EQ(grid().cell(0, 9).Text, "考号");
  EXPECT_EQ(grid().cell(0, 11).Text, "成绩");
  EXPECT_EQ(grid().cell(1, 1).Text, "学生1");
  EXPECT_EQ(grid().cell(1, 3).Text, "702");  // the exam number the school knows
  EXPECT_EQ(grid().cell(3, 0).Text, "709");
  for (int column : {3, 4, 5, 9, 10, 11}) EXPECT_EQ(grid().cell(3, column).Text, "");
  EXPECT_EQ(grid().cell(3, 5).Content, nullptr);
  EXPECT_EQ(grid().cell(1, 5).Content, &box(2));
  EXPECT_EQ(box(2).Text, "85.5");
  EXPECT_EQ(box(3).Text, "");
  EXPECT_EQ(b.control<web::Label>("loadedCaption").Caption,
            "中心校区七年级一班语文中共有9条符合条件的记录");
  EXPECT_FALSE(enabled("loadButton"));
  EXPECT_TRUE(enabled("saveButton"));
  EXPECT_NE(b.last().html.find("id=\"scorebox9\""), std::string::npos);
  EXPECT_EQ(b.last().html.find("id=\"scorebox10\""), std::string::npos);
}

TEST_F(ClassGridTest, ThreeStudentsFillOneRow) {
  addClass(3);
  open();
  load();
  EXPECT_EQ(grid().rowCount(), 2);
  EXPECT_EQ(grid().cell(1, 6).Text, "703");
  EXPECT_EQ(grid().cell(1, 9).Text, "");
  EXPECT_TRUE(enabled("saveButton"));
}

TEST_F(ClassGridTest, SavingStoresValidBoxesAndListsTheOthers) {
  addClass(6);
  putRow("704", {70, 60}, 130, 65);  // 0 for 语文 leaves 数学
  putRow("705", {0, 60}, 60, 60);    // 0 for the only score deletes the row
  putRow("702", {50}, 50, 50);       // a blank where there is no 语文 changes nothing
  open();
  load();
  const std::vector<std::string> typed = {"88", "", "8O", "0", "0", " 77.5 "};
  for (std::size_t i = 0; i < typed.size(); ++i)
    b.type("scoreBox" + std::to_string(i + 1), typed[i]);
  b.click("saveButton");
  EXPECT_EQ(b.messages(),
            (std::vector<std::string>{"703[学生3]“8O” 成绩格式有误，请输入数字，如 85 或 85.5",
                                      "已保存：写入2个成绩，删除2个，未变1个"}));
  EXPECT_EQ(rowOf("701")->scores, scores({0, 88}));
  EXPECT_EQ(rowOf("702")->scores, scores({50}));
  EXPECT_FALSE(rowOf("703"));
  EXPECT_EQ(rowOf("704")->scores, scores({70}));
  EXPECT_DOUBLE_EQ(rowOf("704")->zf, 70);
  EXPECT_DOUBLE_EQ(rowOf("704")->pj, 70);
  EXPECT_FALSE(rowOf("705"));
  EXPECT_EQ(rowOf("706")->scores, scores({0, 77.5}));
  // The grid stays loaded and 保存成绩 stays on, so the wrong boxes can be mended.
  EXPECT_FALSE(enabled("loadButton"));
  EXPECT_TRUE(enabled("saveButton"));
  EXPECT_EQ(box(1).Text, "88");  // the grid keeps what was typed

  // Loaded anew, the boxes show what is stored.
  b.click("cancelButton");  // 取消
  load();
  EXPECT_EQ(box(1).Text, "88");
  EXPECT_EQ(box(4).Text, "");
  EXPECT_EQ(box(6).Text, "77.5");
}

// A blank box is no score: a stored score emptied goes (with the row, when it was the last);
// a box above the full mark is listed by student, subject and value and not saved.
TEST_F(ClassGridTest, BlankBoxesMeanNoScoreAndOverFullBoxesAreListed) {
  addClass(4);
  putRow("702", {0, 80}, 80, 80);
  putRow("703", {60, 70}, 130, 65);
  open();
  load();
  for (const auto& [n, typed] :
       std::vector<std::pair<int, std::string>>{{1, "200"}, {2, ""}, {3, " "}, {4, "1e308"}}) {
    b.type("scoreBox" + std::to_string(n), typed);
  }
  b.click("saveButton");
  EXPECT_EQ(b.messages(), (std::vector<std::string>{"701 学生1 语文 200 超过满分100\n"
                                                    "704 学生4 语文 1E308 超过满分100\n"
                                                    "以上成绩未保存，请检查！",
                                                    "已保存：写入0个成绩，删除2个，未变0个"}));
  EXPECT_FALSE(rowOf("701"));
  EXPECT_FALSE(rowOf("702"));
  EXPECT_EQ(rowOf("703")->scores, scores({60}));
  EXPECT_FALSE(rowOf("704"));
  EXPECT_EQ(rowCount(), 1);
}

// While the boxes are edited the panel asks the browser to guard what was typed.
TEST_F(ClassGridTest, TheGridAsksBeforeTypedScoresAreLeft) {
  addClass(2);
  open();
  const std::string guard = "data-iw-guard=\"表格中有尚未保存的成绩，确定要离开本页吗？\"";
  EXPECT_EQ(b.last().html.find(guard), std::string::npos);
  load();
  EXPECT_NE(b.last().html.find(guard), std::string::npos);
  // 取消 empties the grid: it asks its own question when something was typed.
  const std::string discard = "data-iw-discard=\"表格中有尚未保存的成绩，确定要取消吗？\"";
  EXPECT_NE(b.last().html.find(discard), std::string::npos);
  b.click("cancelButton");
  EXPECT_EQ(b.last().html.find(guard), std::string::npos);
  EXPECT_EQ(b.last().html.find(discard), std::string::npos);
}

TEST_F(ClassGridTest, AClerkCannotChangeAStoredScore) {
  addClass(3);
  putRow("701", {0, 80}, 80, 80);
  open("3", "clerk");
  load();
  EXPECT_FALSE(box(1).Enabled);
  EXPECT_TRUE(box(2).Enabled);
  const std::string& html = b.last().html;
  const auto tag = html.find("id=\"scorebox1\"");
  ASSERT_NE(tag, std::string::npos);
  EXPECT_NE(html.substr(tag, html.find('>', tag) - tag).find(" disabled"), std::string::npos);
  // Someone else stores a score after the load: the clerk's save does not replace it.
  putRow("703", {0, 91}, 91, 91);
  b.type("scoreBox1", "99");  // a forged value for the locked box
  b.type("scoreBox2", "70");
  b.type("scoreBox3", "66");
  b.click("saveButton");
  EXPECT_EQ(b.message(), "该科目成绩已存在，您没有修改成绩的权限，请用其它身份登录");
  EXPECT_EQ(rowOf("701")->scores, scores({0, 80}));
  EXPECT_EQ(rowOf("702")->scores, scores({0, 70}));
  EXPECT_EQ(rowOf("703")->scores, scores({0, 91}));
}

// Enter goes from one open box to the next, past the locked ones, and from the last to 保存.
TEST_F(ClassGridTest, EnterMovesThroughTheOpenBoxesToTheSaveButton) {
  addClass(4);
  putRow("702", {0, 80}, 80, 80);
  putRow("704", {0, 70}, 70, 70);
  open("3", "clerk");
  load();
  struct Step {
    int box;
    std::string next;  // element id Enter moves to; "" for a locked box
  };
  const std::vector<Step> steps = {{1, "scorebox3"}, {2, ""}, {3, "savebutton"}, {4, ""}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.box);
    const web::KeyAction& enter = box(step.box).EnterKey;
    EXPECT_EQ(enter.kind,
              step.next.empty() ? web::KeyAction::Kind::None : web::KeyAction::Kind::Focus);
    EXPECT_EQ(enter.target, step.next);
    EXPECT_EQ(enter.selectText, !step.next.empty());
  }
  EXPECT_NE(b.last().html.find(
                "data-iw-enter=\"focus\" data-iw-target=\"scorebox3\" data-iw-select=\"1\""),
            std::string::npos);
}

TEST_F(ClassGridTest, ASaveStoresTheSubjectThatWasLoaded) {
  addClass(2);
  open();
  load("一班", "语文");
  EXPECT_FALSE(b.control<web::ComboBox>("subjectBox").Enabled);
  b.type("subjectBox", "2");  // ignored while the class is loaded
  b.type("scoreBox1", "60");
  b.type("scoreBox2", "61");
  b.click("saveButton");
  EXPECT_EQ(rowOf("701")->scores, scores({0, 60}));
  EXPECT_EQ(rowOf("702")->scores, scores({0, 61}));
  EXPECT_EQ(b.message(), "已保存：写入2个成绩，删除0个，未变0个");
  EXPECT_FALSE(b.control<web::ComboBox>("subjectBox").Enabled);  // still the loaded class
}

TEST_F(ClassGridTest, EmptyClassesMissingSubjectAndCancel) {
  addClass(2);
  open();
  b.click("loadButton");
  EXPECT_EQ(b.message(), "请选择科目");
  load();
  EXPECT_EQ(grid().rowCount(), 2);
  b.click("cancelButton");  // 取消
  EXPECT_EQ(grid().rowCount(), 2);
  EXPECT_TRUE(grid().Visible);
  EXPECT_EQ(grid().cell(1, 0).Text, "");
  EXPECT_EQ(grid().cell(1, 2).Content, nullptr);
  EXPECT_TRUE(enabled("loadButton"));
  EXPECT_FALSE(enabled("saveButton"));
  load("三班");  // nobody in it
  EXPECT_EQ(b.message(), "");
  EXPECT_FALSE(grid().Visible);
  EXPECT_TRUE(enabled("loadButton"));
  EXPECT_FALSE(enabled("saveButton"));
  EXPECT_EQ(b.control<web::Label>("loadedCaption").Caption,
            "中心校区七年级一班语文中共有2条符合条件的记录");
  // A save of nothing cannot be posted: the button is disabled.
  auto form = b.formFor("");
  setField(form, "IW_Action", "savebutton");
  b.post(form);
  EXPECT_EQ(rowCount(), 0);
  b.click("backLink");
  EXPECT_EQ(b.pageClass(), "ScoreEntryPage");
}

TEST_F(ClassGridTest, ALargeClassFitsTheGrid) {
  addClass(330);
  open();
  load();
  EXPECT_EQ(grid().rowCount(), 84);
  for (int i = 1; i <= 330; ++i)
    b.type("scoreBox" + std::to_string(i), std::to_string(i % 100 + 1));
  b.click("saveButton");
  EXPECT_EQ(b.message(), "已保存：写入330个成绩，删除0个，未变0个");
  EXPECT_EQ(rowCount(), 330);
  EXPECT_DOUBLE_EQ(rowOf("1030")->scores[1], 31);
}

// Every box is a part of the save's post; a class beyond what one post can carry is
// refused at the load, before anything is typed.
TEST_F(ClassGridTest, AClassBeyondOnePostIsRefusedAtTheLoad) {
  server.db().execScript("BEGIN");
  addClass(1001);
  server.db().execScript("COMMIT");
  open();
  load();
  EXPECT_EQ(b.message(), "该班共有1001名学生，超过表格录入的上限1000人，请用其它模式录入");
  EXPECT_FALSE(grid().Visible);
  EXPECT_TRUE(enabled("loadButton"));
}

TEST_F(ClassGridTest, AClassTeacherLoadsTheOwnClassOnly) {
  addClass(2);
  addClass(3, "二班", 10);
  addUser(server, "teacher", "x", 5, "中心校区", "七年级", "二班");
  open("5", "teacher");
  EXPECT_EQ(b.control<web::Label>("userCaption").Caption, "teacher[班主任]");
  EXPECT_EQ(b.control<web::ComboBox>("classBox").Items, std::vector<std::string>{"二班"});
  b.type("classBox", "-1");
  b.choose("subjectBox", "数学");
  b.click("loadButton");
  EXPECT_EQ(b.message(), web::BadPost::kDefaultMessage);
  EXPECT_FALSE(grid().Visible);
  b.choose("subjectBox", "数学");
  b.click("loadButton");
  EXPECT_EQ(grid().rowCount(), 2);
  EXPECT_EQ(grid().cell(1, 1).Text, "学生10");
}

TEST_F(ClassGridTest, OtherRightsCodesAreRefused) {
  addClass(2);
  open("4", "viewer");
  EXPECT_EQ(b.message(), pages::kNoPageRightsMessage);
  EXPECT_FALSE(b.page().find("loadButton")->effectivelyVisible());
  EXPECT_TRUE(b.page().find("backLink")->effectivelyVisible());
}

}  // namespace
}  // namespace zeziza::testing
