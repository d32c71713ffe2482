#include "pages/entry/score_entry.h"

#include <gtest/gtest.h>

#include <latch>
#include <thread>

#include "pages/common/rights.h"
#include "pages/entry/batch_import.h"
#include "pages/entry/class_grid_entry.h"
#include "pages/entry/score_text.h"
#include "pages/signin/login.h"
#include "tests/pages/entry/entry_fixture.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"

namespace zeziza::testing {
namespace {

using pages::ScoreEntryPage;

class ScoreEntryTest : public EntryTest {
 protected:
  ScoreEntryTest() {
    addStudent("801", "张三");
    addStudent("802", "李四");
    addStudent("803", "王五", "东校区", "八年级", "二班");
  }

  void open(const std::string& code = "2", const std::string& user = "boss") {
    signIn(b, code, user);
    b.showPage<ScoreEntryPage>();
  }
  // Direct entry as typed: both parts of the number, the score, then Enter.
  void enter(const std::string& subject, const std::string& first, const std::string& second,
             const std::string& score) {
    b.choose("directSubjectBox", subject);
    b.type("numberPrefixEdit", first);
    b.type("directNumberEdit", second);
    b.type("directScoreEdit", score);
    b.click("directEnterButton");
  }
  std::string text(const std::string& edit) { return b.control<web::Edit>(edit).Text; }
  bool shown(const std::string& name) { return b.page().find(name)->effectivelyVisible(); }
  std::string focus() {
    const std::string& html = b.last().html;
    const auto at = html.find("\"focus\":\"");
    return at == std::string::npos ? "" : html.substr(at + 9, html.find('"', at + 9) - at - 9);
  }

  BrowserSession b = server.browser();
};

TEST_F(ScoreEntryTest, CreationShowsTheExamTheUserAndTheScope) {
  open("3", "clerk");
  EXPECT_EQ(b.control<web::Label>("examCaption").Caption, "期中");
  EXPECT_EQ(b.control<web::Label>("userCaption").Caption, "clerk[成绩录入员]");
  EXPECT_EQ(b.control<web::ComboBox>("unitBox").Items,
            (std::vector<std::string>{"不限学校", "中心校区", "东校区", "西校区"}));
  EXPECT_EQ(b.control<web::ComboBox>("gradeBox").Items,
            (std::vector<std::string>{"不限年级", "七年级", "八年级"}));
  EXPECT_EQ(b.control<web::ComboBox>("classBox").Items.front(), "所有班");
  EXPECT_EQ(b.control<web::ComboBox>("classBox").ItemIndex, 0);
  for (const char* subjects : {"directSubjectBox", "computedSubjectBox", "lastSubjectBox"}) {
    EXPECT_EQ(b.control<web::ComboBox>(subjects).Items,
              (std::vector<std::string>{"数学", "语文", "英语"}));
  }
  EXPECT_TRUE(shown("directPanel"));
  EXPECT_FALSE(shown("computedPanel"));
  EXPECT_FALSE(shown("passwordPanel"));
  // The Enter keys find their targets by lower-case id.
  const std::string& html = b.last().html;
  EXPECT_NE(html.find("id=\"directnumberedit\""), std::string::npos);
  EXPECT_NE(
      html.find("data-iw-enter=\"focus\" data-iw-target=\"directscoreedit\" data-iw-select=\"1\""),
      std::string::npos);
  EXPECT_NE(html.find("data-iw-enter=\"click\" data-iw-target=\"directenterbutton\""),
            std::string::npos);
  b.click("computedModeLink");
  EXPECT_NE(b.last().html.find("data-iw-enter=\"focus\" data-iw-target=\"deductionsmemo\">"),
            std::string::npos);
  // The note on 0 stands once under the panels, whichever panel shows, ending as a sentence.
  for (const char* mode : {"computedModeLink", "directModeLink"}) {
    b.click(mode);
    const std::string& page = b.last().html;
    const std::string note = "本系统将0分认为是缺考";
    const auto first = page.find(note);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(page.find(note, first + 1), std::string::npos) << mode;
    EXPECT_EQ(page.find("代替，"), std::string::npos) << mode;
  }
}

// Direct entries one after another for one student, each checked against the stored row.
TEST_F(ScoreEntryTest, DirectEntryKeepsTotalAndAverage) {
  struct Step {
    const char* what;
    const char* subject;
    const char* score;
    const char* message;
    std::optional<std::vector<double>> after;
    double zf;
    double pj;
  };
  const std::vector<Step> steps = {
      {"first score", "数学", "80", "", scores({80}), 80, 80},
      {"second subject", "语文", "90", "", scores({80, 90}), 170, 85},
      {"third subject", "英语", " 90 ", "", scores({80, 90, 90}), 260, 86.667},
      {"a score changed", "数学", "100", "", scores({100, 90, 90}), 280, 93.333},
      {"0 for another subject", "语文", "0", "", scores({100, 0, 90}), 190, 95},
      {"a decimal score", "英语", "85.5", "", scores({100, 0, 85.5}), 185.5, 92.75},
      {"not a number", "英语", "8O", "“8O”不是有效的成绩，请输入数字，如 85 或 85.5",
       scores({100, 0, 85.5}), 185.5, 92.75},
      {"full-width with 分", "英语", "８５．５分", "", scores({100, 0, 85.5}), 185.5, 92.75},
      {"negative", "英语", "-5", "801 张三 英语 -5 不能为负数", scores({100, 0, 85.5}), 185.5,
       92.75},
      {"0 for the second last", "英语", "0", "", scores({100}), 100, 100},
      {"0 for the only score", "数学", "0", "该学生已经没有有效成绩", std::nullopt, 0, 0},
      {"no score for a student without a row makes none", "数学", "0", "该学生已经没有有效成绩",
       std::nullopt, 0, 0},
      {"a first score again", "英语", "60", "", scores({0, 0, 60}), 60, 60},
      {"above the full mark", "数学", "1355", "801 张三 数学 1355 超过满分100", scores({0, 0, 60}),
       60, 60},
      {"1e308", "英语", "1e308", "801 张三 英语 1E308 超过满分100", scores({0, 0, 60}), 60, 60},
      {"infinity as typed", "英语", "inf", "“inf”不是有效的成绩，请输入数字，如 85 或 85.5",
       scores({0, 0, 60}), 60, 60},
      {"the full mark itself", "数学", "100", "", scores({100, 0, 60}), 160, 80},
  };
  open();
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    enter(s.subject, "80", "1", s.score);
    EXPECT_EQ(b.message(), s.message);
    const auto row = rowOf("801");
    ASSERT_EQ(row.has_value(), s.after.has_value());
    if (!row) continue;
    EXPECT_EQ(row->scores, *s.after);
    EXPECT_DOUBLE_EQ(row->zf, s.zf);
    EXPECT_DOUBLE_EQ(row->pj, s.pj);
  }
}

TEST_F(ScoreEntryTest, ScoresBeyondTheSubjectsCountForNothing) {
  putRow("801", {80, 0, 0, 50}, 80, 80);
  open();
  enter("语文", "801", "", "90");
  const auto row = rowOf("801");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->scores, scores({80, 90, 0, 50}));
  EXPECT_DOUBLE_EQ(row->zf, 170);
  EXPECT_DOUBLE_EQ(row->pj, 85);
  EXPECT_EQ(rowCount(), 1);
}

TEST_F(ScoreEntryTest, TheLastScorePanelShowsTheWriteAndTheNextEntryIsReady) {
  open();
  enter("语文", "80", "1", "85.50");
  EXPECT_EQ(b.message(), "");
  EXPECT_EQ(text("rowIdEdit"), std::to_string(rowOf("801")->id));
  EXPECT_EQ(text("lastNumberEdit"), "801");
  EXPECT_EQ(text("lastNameEdit"), "张三");
  EXPECT_EQ(text("lastScoreEdit"), "85.5");
  EXPECT_EQ(b.control<web::ComboBox>("lastSubjectBox").ItemIndex, 1);
  EXPECT_EQ(text("numberPrefixEdit"), "80");  // the first part stays for the next student
  EXPECT_EQ(text("directNumberEdit"), "");
  EXPECT_EQ(text("directScoreEdit"), "85.50");
  EXPECT_EQ(focus(), "directnumberedit");

  // A refused entry leaves the panel as it was.
  enter("语文", "80", "9", "70");
  EXPECT_EQ(b.message(), "考生不存在,请核对后再试！");
  EXPECT_EQ(text("lastNumberEdit"), "801");
  EXPECT_EQ(text("lastScoreEdit"), "85.5");
}

TEST_F(ScoreEntryTest, TickedAutoIncrementAdvancesTheSecondPartKeepingItsWidth) {
  const struct {
    const char* first;
    const char* second;
    const char* next;
    const char* focus;
  } cases[] = {
      {"8", "01", "02", "directscoreedit"},  {"80", "1", "2", "directscoreedit"},
      {"", "801", "802", "directscoreedit"}, {"80", " 1 ", "2", "directscoreedit"},
      {"801", "", "", "directnumberedit"},  // nothing to advance: as unticked
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.first) + "|" + c.second);
    open();
    b.type("autoIncrementBox", "on");
    enter("数学", c.first, c.second, "75");
    EXPECT_EQ(b.message(), "");
    EXPECT_EQ(text("directNumberEdit"), c.next);
    EXPECT_EQ(text("directScoreEdit"), std::string(c.focus) == "directscoreedit" ? "" : "75");
    EXPECT_EQ(focus(), c.focus);
  }
  EXPECT_DOUBLE_EQ(rowOf("801")->scores[0], 75);
}

TEST_F(ScoreEntryTest, TheNumberPartAdvancesLikeACounter) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"07", "08"},
      {"9", "10"},
      {"099", "100"},
      {"999", "1000"},
      {"A09", "A10"},
      {"B9", "B10"},
      {"12345678901234567899", "12345678901234567900"},
  };
  for (const auto& [part, next] : cases) {
    SCOPED_TRACE(part);
    EXPECT_EQ(pages::nextNumberPart(part), next);
  }
  EXPECT_EQ(pages::nextNumberPart(""), std::nullopt);
  EXPECT_EQ(pages::nextNumberPart("7A"), std::nullopt);
}

TEST_F(ScoreEntryTest, AClerkFillsScoresButNeverReplacesOne) {
  open("3", "clerk");
  enter("数学", "80", "1", "80");
  EXPECT_EQ(b.message(), "");
  enter("数学", "80", "1", "95");
  EXPECT_EQ(b.message(), "该科目成绩已存在，您没有修改成绩的权限，请用其它身份登录");
  EXPECT_EQ(text("directNumberEdit"), "");
  EXPECT_EQ(focus(), "directnumberedit");
  EXPECT_EQ(rowOf("801")->scores, scores({80}));
  enter("语文", "80", "1", "70");  // an empty subject of the same row
  EXPECT_EQ(b.message(), "");
  EXPECT_EQ(rowOf("801")->scores, scores({80, 70}));
  // Nor may a clerk clear one with 0.
  enter("语文", "80", "1", "0");
  EXPECT_EQ(b.message(), "该科目成绩已存在，您没有修改成绩的权限，请用其它身份登录");
  EXPECT_EQ(rowOf("801")->scores, scores({80, 70}));

  for (const char* code : {"2", "5"}) {
    SCOPED_TRACE(code);
    addUser(server, std::string("user") + code, "x", std::stoi(code), "中心校区", "七年级", "一班");
    open(code, std::string("user") + code);
    enter("数学", "80", "1", code == std::string("2") ? "91" : "92");
    EXPECT_EQ(b.message(), "");
  }
  EXPECT_DOUBLE_EQ(rowOf("801")->scores[0], 92);
}

// The checks run in a fixed order; the first that fails is the only message. A student outside
// the scope is named with the class they are in, the scope chosen and what to choose instead.
TEST_F(ScoreEntryTest, LookupScopeAndSubjectAreCheckedInOrder) {
  const std::string kRefused =
      "不能录入考生张三（801）的成绩：该生在中心校区七年级一班，不在所选的录入范围（";
  const std::string kAdvice = "）内，请先在上方选择该生的学校、年级和班级";
  const struct {
    const char* what;
    const char* unit;
    const char* grade;
    const char* cls;
    const char* number;
    const char* subject;  // "" for none chosen
    const char* score;
    std::string message;
  } cases[] = {
      {"unknown number first", "东校区", "不限年级", "所有班", "999", "", "x",
       "考生不存在,请核对后再试！"},
      {"empty number", "不限学校", "不限年级", "所有班", "", "数学", "80",
       "考生不存在,请核对后再试！"},
      {"other unit", "东校区", "七年级", "一班", "801", "", "x",
       kRefused + "东校区七年级一班" + kAdvice},
      {"other grade", "不限学校", "八年级", "所有班", "801", "", "x",
       kRefused + "不限学校八年级所有班" + kAdvice},
      {"other class", "不限学校", "不限年级", "二班", "801", "", "x",
       kRefused + "不限学校不限年级二班" + kAdvice},
      {"unit decides whatever the rest shows", "东校区", "不限年级", "所有班", "801", "数学", "80",
       kRefused + "东校区不限年级所有班" + kAdvice},
      {"no subject", "中心校区", "七年级", "一班", "801", "", "x", "请选择科目"},
      {"score not a number", "不限学校", "不限年级", "所有班", "801", "数学", "abc",
       "“abc”不是有效的成绩，请输入数字，如 85 或 85.5"},
      {"score empty", "不限学校", "不限年级", "所有班", "801", "数学", "",
       "请输入成绩，如 85 或 85.5"},
      {"inside the scope", "中心校区", "七年级", "一班", "801", "数学", "66", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    open();
    b.choose("unitBox", c.unit);
    b.choose("gradeBox", c.grade);
    b.choose("classBox", c.cls);
    if (*c.subject) b.choose("directSubjectBox", c.subject);
    b.type("directNumberEdit", c.number);
    b.type("directScoreEdit", c.score);
    b.click("directEnterButton");
    EXPECT_EQ(b.message(), c.message);
  }
  EXPECT_EQ(rowCount(), 1);
  EXPECT_DOUBLE_EQ(rowOf("801")->zf, 66);
}

TEST_F(ScoreEntryTest, AClassTeacherEntersOnlyInTheOwnClass) {
  addUser(server, "teacher", "x", 5, "中心校区", "七年级", "一班");
  open("5", "teacher");
  EXPECT_EQ(b.control<web::Label>("userCaption").Caption, "teacher[班主任]");
  EXPECT_EQ(b.control<web::ComboBox>("unitBox").Items, std::vector<std::string>{"中心校区"});
  EXPECT_EQ(b.control<web::ComboBox>("classBox").Items, std::vector<std::string>{"一班"});
  enter("数学", "", "803", "70");
  EXPECT_EQ(b.message(),
            "不能录入考生王五（803）的成绩：该生在东校区八年级二班，您只能录入本班"
            "（中心校区七年级一班）学生的成绩，请核对考号");
  // Lists posted with nothing chosen are refused, even for a student of the class.
  for (const char* list : {"unitBox", "gradeBox", "classBox"}) {
    SCOPED_TRACE(list);
    b.type(list, "-1");
    enter("数学", "", "801", "70");
    EXPECT_EQ(b.message(), web::BadPost::kDefaultMessage);
  }
  EXPECT_EQ(rowCount(), 0);
  enter("数学", "", "801", "70");
  EXPECT_EQ(b.message(), "");
  EXPECT_EQ(rowCount(), 1);
}

TEST_F(ScoreEntryTest, ComputedEntrySubtractsTheDeductions) {
  open();
  b.click("computedModeLink");
  EXPECT_TRUE(shown("computedPanel"));
  EXPECT_FALSE(shown("directPanel"));
  const struct {
    const char* what;
    const char* fullMark;
    const char* deductions;
    std::vector<std::string> messages;
    std::optional<double> stored;  // k2 of 801 afterwards; nullopt: no row
  } cases[] = {
      {"deduction lines with a blank one", "100", "5\r\n\r\n2.5", {}, 92.5},
      {"a full mark needs a deduction line 0", "100", "0", {}, 100},
      {"full mark not a number",
       "1OO",
       "5",
       {"“1OO”不是有效的满分，请输入大于0的数字，如 100 或 150"},
       100},
      {"full mark 0", "0", "0", {"“0”不是有效的满分，请输入大于0的数字，如 100 或 150"}, 100},
      {"full mark negative",
       "-100",
       "0",
       {"“-100”不是有效的满分，请输入大于0的数字，如 100 或 150"},
       100},
      {"full mark full-width", "１２０分", "30", {}, 90},
      {"no deductions", "100", " \r\n \r\n", {"请正确录入成绩"}, 90},
      {"deductions beyond the full mark leave no valid score",
       "10",
       "8\r\n4",
       {"扣分合计达到或超过满分10，该科记为没有成绩", "该学生已经没有有效成绩"},
       std::nullopt},
      {"deductions reaching the full mark make no row",
       "10",
       "10",
       {"扣分合计达到或超过满分10，该科记为没有成绩", "该学生已经没有有效成绩"},
       std::nullopt},
      {"more than the subject's full mark",
       "200",
       "10",
       {"801 张三 语文 190 超过满分100"},
       std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    b.choose("computedSubjectBox", "语文");
    b.type("fullMarkEdit", c.fullMark);
    b.type("computedNumberEdit", "801");
    b.type("deductionsMemo", c.deductions);
    b.click("computedEnterButton");
    EXPECT_EQ(b.messages(), c.messages);
    const auto row = rowOf("801");
    ASSERT_EQ(row.has_value(), c.stored.has_value());
    if (!row) continue;
    EXPECT_DOUBLE_EQ(row->scores[1], *c.stored);
    EXPECT_DOUBLE_EQ(row->zf, *c.stored);
    if (!c.messages.empty()) continue;
    EXPECT_EQ(text("computedNumberEdit"), "");
    EXPECT_TRUE(b.control<web::Memo>("deductionsMemo").Lines.empty());
    EXPECT_EQ(text("fullMarkEdit"), c.fullMark);
    EXPECT_EQ(focus(), "computednumberedit");
    EXPECT_EQ(text("lastNumberEdit"), "801");
    EXPECT_EQ(b.control<web::ComboBox>("lastSubjectBox").ItemIndex, 1);
  }
}

// Full mark 100 for a student with 数学 50 and 语文 60: a deduction line that is not a
// deduction is named and nothing is written; deductions that reach the full mark leave no
// score (the 语文 score goes), never a negative one.
TEST_F(ScoreEntryTest, BadDeductionLinesAreNamedAndTooManyLeaveNoScore) {
  const std::string noScore = "扣分合计达到或超过满分100，该科记为没有成绩";
  const auto bad = [](int line, const std::string& typed) {
    return "第" + std::to_string(line) + "行扣分“" + typed +
           "”不是有效的扣分，请每行输入一个不小于0的数字，如 5 或 2.5";
  };
  const struct {
    const char* deductions;
    std::vector<std::string> messages;
    double k2;
  } cases[] = {
      {"5o", {bad(1, "5o")}, 60},
      {"5\n1O", {bad(2, "1O")}, 60},
      {"5\n\nabc", {bad(3, "abc")}, 60},
      {"-5", {bad(1, "-5")}, 60},
      {"NaN", {bad(1, "NaN")}, 60},
      {"1e309", {bad(1, "1e309")}, 60},
      {"３0", {}, 70},
      {"５分", {}, 95},
      {"2.5\n\n2.5", {}, 95},
      {"100", {noScore}, 0},
      {"60\n50", {noScore}, 0},
      {"1e308", {noScore}, 0},
      {"1e308\n1e308", {noScore}, 0},
  };
  open();
  b.click("computedModeLink");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.deductions);
    server.db().execScript("delete from cj");
    putRow("801", {50, 60}, 110, 55);
    b.choose("computedSubjectBox", "语文");
    b.type("fullMarkEdit", "100");
    b.type("computedNumberEdit", "801");
    b.type("deductionsMemo", c.deductions);
    b.click("computedEnterButton");
    EXPECT_EQ(b.messages(), c.messages);
    const auto row = rowOf("801");
    ASSERT_TRUE(row);
    EXPECT_DOUBLE_EQ(row->scores[1], c.k2);
    EXPECT_DOUBLE_EQ(row->zf, 50 + c.k2);
  }
}

// Deleting a student's last score takes the row too: the takers counted are those with a score.
TEST_F(ScoreEntryTest, TheDeleteLinkClearsTheShownScoreAndTheLastOneTakesTheRow) {
  open("3", "clerk");
  b.click("deleteLastLink");
  EXPECT_EQ(b.message(), "无学生无法删除！");
  enter("数学", "", "802", "70");
  enter("英语", "", "801", "88");
  b.click("deleteLastLink");
  EXPECT_EQ(b.message(), "该成绩已删除");
  EXPECT_FALSE(rowOf("801"));
  EXPECT_EQ(rowOf("802")->scores, scores({70}));  // the earlier student is untouched
  for (const char* e : {"rowIdEdit", "lastNumberEdit", "lastNameEdit", "lastScoreEdit"})
    EXPECT_EQ(text(e), "");
  b.click("deleteLastLink");
  EXPECT_EQ(b.message(), "无学生无法删除！");

  // The panel's row id and subject are the page's own record, not the browser's.
  enter("数学", "", "801", "60");
  auto form = b.formFor("deleteLastLink");
  setField(form, "rowidedit", std::to_string(rowOf("802")->id));
  setField(form, "lastsubjectbox", "2");
  b.post(form);
  EXPECT_EQ(b.message(), "该成绩已删除");
  EXPECT_EQ(rowOf("802")->scores, scores({70}));
  EXPECT_FALSE(rowOf("801"));
  EXPECT_EQ(rowCount(), 1);
}

TEST_F(ScoreEntryTest, PanelsAndLinks) {
  open("3", "clerk");
  b.click("passwordLink");
  EXPECT_TRUE(shown("passwordPanel"));
  EXPECT_FALSE(shown("directPanel"));
  EXPECT_FALSE(shown("computedPanel"));
  b.click("closePasswordLink");
  EXPECT_FALSE(shown("passwordPanel"));
  EXPECT_FALSE(shown("directPanel"));
  b.click("directModeLink");
  EXPECT_TRUE(shown("directPanel"));
  b.click("importModeLink");
  EXPECT_EQ(b.message(), "您没有权限进行此项操作");
  EXPECT_EQ(b.pageClass(), "ScoreEntryPage");
  b.click("gridModeLink");
  EXPECT_EQ(b.pageClass(), "ClassGridEntryPage");

  open("2");
  b.click("importModeLink");
  EXPECT_EQ(b.pageClass(), "BatchImportPage");
  open("2");
  b.click("signOutLink");
  EXPECT_EQ(b.pageClass(), "LoginPage");
}

TEST_F(ScoreEntryTest, OtherRightsCodesAreRefused) {
  for (const char* code : {"0", "1", "4", ""}) {
    SCOPED_TRACE(code);
    open(code, "someone");
    EXPECT_EQ(b.message(), pages::kNoPageRightsMessage);
    EXPECT_FALSE(shown("directPanel"));
    EXPECT_FALSE(shown("passwordLink"));
    EXPECT_FALSE(shown("importModeLink"));
    EXPECT_TRUE(shown("signOutLink"));
    auto form = b.formFor("");
    setField(form, "IW_Action", "directenterbutton");
    setField(form, "directnumberedit", "801");
    setField(form, "directscoreedit", "80");
    setField(form, "directsubjectbox", "0");
    b.post(form);
  }
  EXPECT_EQ(rowCount(), 0);
}

TEST_F(ScoreEntryTest, ThePasswordPanelChecksAndStoresHashes) {
  addUser(server, "clerk", "old", 3);
  open("3", "clerk");
  b.click("passwordLink");
  const struct {
    const char* old;
    const char* fresh;
    const char* repeat;
    const char* message;
  } cases[] = {
      {"old", "new pw", "neW pw", "重复密码错误"},
      {"OLD", "new pw", "new pw", "原有密码错误！请检查。"},
      {"old", "new pw", "new pw", "修改成功！"},
      {"old", "x pw 2", "x pw 2", "原有密码错误！请检查。"},
      {"new pw", "", "", "新设密码不能为空！"},  // the same rules as the password page's
      {"new pw", " ", " ", "新设密码不能为空！"},
      {"new pw", "short", "short", "密码至少需要6个字符！"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    b.type("oldPasswordEdit", c.old);
    b.type("newPasswordEdit", c.fresh);
    b.type("repeatPasswordEdit", c.repeat);
    b.click("changePasswordButton");
    EXPECT_EQ(b.message(), c.message);
  }
  store::Query q(connection);
  q.open("select pass from yh where user='clerk'");
  const std::string stored = q.field("pass").asText();
  EXPECT_EQ(stored.rfind("$argon2id$", 0), 0u);
  auth::PasswordHasher& hasher = server.context().passwordHasher();
  EXPECT_TRUE(hasher.verify(stored, "new pw"));
  EXPECT_FALSE(hasher.verify(stored, ""));
}

// Two sessions on two threads write the same new students' two subjects at once: each
// student ends with one row holding both scores.
TEST_F(ScoreEntryTest, ConcurrentSessionsMeetInOneRow) {
  constexpr int kStudents = 12;
  for (int i = 0; i < kStudents; ++i) addStudent("9" + std::to_string(100 + i), "学生");
  BrowserSession other = server.browser();
  open();
  signIn(other, "2", "other");
  other.showPage<ScoreEntryPage>();
  std::latch start(2);
  auto clerk = [&](BrowserSession& session, const char* subject, const char* score) {
    session.choose("directSubjectBox", subject);
    start.arrive_and_wait();
    for (int i = 0; i < kStudents; ++i) {
      session.type("directNumberEdit", "9" + std::to_string(100 + i));
      session.type("directScoreEdit", score);
      session.click("directEnterButton");
    }
  };
  const std::size_t queued = server.controller().store().writer().submitted();
  std::thread first([&] { clerk(b, "数学", "81"); });
  std::thread second([&] { clerk(other, "英语", "92.5"); });
  first.join();
  second.join();
  // Every entry went to the one writer; between requests no session holds a connection.
  EXPECT_GE(server.controller().store().writer().submitted() - queued, 2u * kStudents);
  EXPECT_EQ(server.controller().store().data().lent(), 0u);
  EXPECT_EQ(rowCount(), kStudents);
  for (int i = 0; i < kStudents; ++i) {
    const auto row = rowOf("9" + std::to_string(100 + i));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->scores, scores({81, 0, 92.5}));
    EXPECT_DOUBLE_EQ(row->zf, 173.5);
    EXPECT_DOUBLE_EQ(row->pj, 86.75);
  }
}

}  // namespace
}  // namespace zeziza::testing
