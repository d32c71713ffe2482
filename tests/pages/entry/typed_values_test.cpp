// One table of typed score values driven through every entry path: direct entry, computed
// entry (the value as the full mark, one deduction line 0), the class grid and both imports.
#include <gtest/gtest.h>

#include <functional>

#include "pages/entry/batch_import.h"
#include "pages/entry/class_grid_entry.h"
#include "pages/entry/score_entry.h"
#include "tests/pages/entry/entry_fixture.h"

namespace zeziza::testing {
namespace {

// How a typed value is read.
enum class Reading {
  Score,       // a score: stored
  NoScore,     // 0: the stored score goes
  Unreadable,  // not a number
  Negative,    // a typing slip
  AboveFull,   // more than the subject's full mark (100)
  Blank,
};

struct Typed {
  const char* typed;
  Reading reading;
  double value = 0;        // the score read, for Score
  const char* shown = "";  // the value as a refusal shows it
};

const Typed kTyped[] = {
    {"85", Reading::Score, 85},
    {"８５", Reading::Score, 85},
    {"８５．５", Reading::Score, 85.5},
    {"85分", Reading::Score, 85},
    {"８５分", Reading::Score, 85},
    {" 85 ", Reading::Score, 85},
    {"\u3000８５\u3000", Reading::Score, 85},
    {"85 分", Reading::Score, 85},
    {"0.5", Reading::Score, 0.5},
    {"100", Reading::Score, 100},
    {"8 5", Reading::Unreadable, 0, "8 5"},
    {"12o", Reading::Unreadable, 0, "12o"},
    {"1O", Reading::Unreadable, 0, "1O"},
    {"abc", Reading::Unreadable, 0, "abc"},
    {"分", Reading::Unreadable, 0, "分"},
    {"85分分", Reading::Unreadable, 0, "85分分"},
    {"85.5.5", Reading::Unreadable, 0, "85.5.5"},
    {"8,5", Reading::Unreadable, 0, "8,5"},
    {"NaN", Reading::Unreadable, 0, "NaN"},
    {"ＮａＮ", Reading::Unreadable, 0, "ＮａＮ"},
    {"Infinity", Reading::Unreadable, 0, "Infinity"},
    {"inf", Reading::Unreadable, 0, "inf"},
    {"1e309", Reading::Unreadable, 0, "1e309"},
    {"-5", Reading::Negative, 0, "-5"},
    {"－５", Reading::Negative, 0, "-5"},
    {"-0.5", Reading::Negative, 0, "-0.5"},
    {"0", Reading::NoScore},
    {"０", Reading::NoScore},
    {"0分", Reading::NoScore},
    {"101", Reading::AboveFull, 0, "101"},
    {"１０１", Reading::AboveFull, 0, "101"},
    {"1e308", Reading::AboveFull, 0, "1E308"},
    {"", Reading::Blank},
    {"  ", Reading::Blank},
};

constexpr double kStored = 60;  // 语文 of 801 before each entry (数学 holds 50)

// What a path leaves in 语文 and the messages it shows.
struct Expected {
  double k2;
  std::vector<std::string> messages;
};

const std::string kScoreHint = "请输入数字，如 85 或 85.5";

std::string typedText(const Typed& t) {
  return std::string("“") + t.shown + "”";
}

// Refusals that name the student, the subject and the value, as every path lists them.
std::string refusedText(const Typed& t) {
  const std::string value = std::string("801 张三 语文 ") + t.shown;
  return t.reading == Reading::Negative ? value + " 不能为负数" : value + " 超过满分100";
}

Expected direct(const Typed& t) {
  switch (t.reading) {
    case Reading::Score:
      return {t.value, {}};
    case Reading::NoScore:
      return {0, {}};
    case Reading::Unreadable:
      return {kStored, {typedText(t) + "不是有效的成绩，" + kScoreHint}};
    case Reading::Blank:
      return {kStored, {"请输入成绩，如 85 或 85.5"}};
    default:
      return {kStored, {refusedText(t)}};
  }
}

// The typed value is the full mark: it has to be above 0.
Expected computed(const Typed& t) {
  switch (t.reading) {
    case Reading::Score:
      return {t.value, {}};
    case Reading::Blank:
      return {kStored, {"请输入满分，如 100 或 150"}};
    case Reading::AboveFull:
      return {kStored, {refusedText(t)}};
    default:  // quoted as typed
      return {kStored,
              {std::string("“") + t.typed + "”不是有效的满分，请输入大于0的数字，如 100 或 150"}};
  }
}

// A blank box is no score.
Expected grid(const Typed& t) {
  switch (t.reading) {
    case Reading::Score:
      return {t.value, {"已保存：写入1个成绩，删除0个，未变0个"}};
    case Reading::NoScore:
    case Reading::Blank:
      return {0, {"已保存：写入0个成绩，删除1个，未变0个"}};
    case Reading::Unreadable:
      return {kStored,
              {"801[张三]" + typedText(t) + " 成绩格式有误，" + kScoreHint,
               "已保存：写入0个成绩，删除0个，未变0个"}};
    default:
      return {
          kStored,
          {refusedText(t) + "\n以上成绩未保存，请检查！", "已保存：写入0个成绩，删除0个，未变0个"}};
  }
}

// A blank line is refused by its own check.
Expected columnImport(const Typed& t) {
  switch (t.reading) {
    case Reading::Score:
      return {t.value, {"操作成功！写入1个成绩，删除0个，未变0个"}};
    case Reading::NoScore:
      return {0, {"操作成功！写入0个成绩，删除1个，未变0个"}};
    case Reading::Blank:  // an empty memo has no line at all
      return {kStored,
              {*t.typed ? "分数不能有空值，操作失败  |1行为空"
                        : "考号[学号]的数量与学生姓名个数不相符，不能导入"}};
    case Reading::Unreadable:
      return {kStored, {"分数值非法，操作失败  |1" + typedText(t) + "行非法，" + kScoreHint}};
    default:
      return {kStored, {"以下成绩不能录入，操作失败：\n" + refusedText(t)}};
  }
}

// A blank cell is no score.
Expected tableImport(const Typed& t) {
  switch (t.reading) {
    case Reading::Score:
      return {t.value, {"操作成功！写入1个成绩，删除0个，未变0个"}};
    case Reading::NoScore:
    case Reading::Blank:
      return {0, {"操作成功！写入0个成绩，删除1个，未变0个"}};
    case Reading::Unreadable:
      return {kStored, {"分数值非法，操作失败  |2语文" + typedText(t) + "非法，" + kScoreHint}};
    default:
      return {kStored, {"以下成绩不能录入，操作失败：\n" + refusedText(t)}};
  }
}

class TypedValuesTest : public EntryTest {
 protected:
  TypedValuesTest() { addStudent("801", "张三"); }

  void reset() {
    server.db().execScript("delete from cj");
    putRow("801", {50, kStored}, 50 + kStored, (50 + kStored) / 2);
    signIn(b, "2", "boss");
  }

  void enterDirect(const std::string& typed) {
    b.showPage<pages::ScoreEntryPage>();
    b.choose("directSubjectBox", "语文");
    b.type("directNumberEdit", "801");
    b.type("directScoreEdit", typed);
    b.click("directEnterButton");
  }
  void enterComputed(const std::string& typed) {
    b.showPage<pages::ScoreEntryPage>();
    b.click("computedModeLink");
    b.choose("computedSubjectBox", "语文");
    b.type("fullMarkEdit", typed);
    b.type("computedNumberEdit", "801");
    b.type("deductionsMemo", "0");
    b.click("computedEnterButton");
  }
  void enterGrid(const std::string& typed) {
    b.showPage<pages::ClassGridEntryPage>();
    b.choose("unitBox", "中心校区");
    b.choose("gradeBox", "七年级");
    b.choose("classBox", "一班");
    b.choose("subjectBox", "语文");
    b.click("loadButton");
    b.type("scoreBox1", typed);
    b.click("saveButton");
  }
  void importColumn(const std::string& typed) {
    b.showPage<pages::BatchImportPage>();
    b.choose("subjectBox", "语文");
    b.type("numbersMemo", "801");
    b.type("scoresMemo", typed);
    b.click("importButton");
  }
  void importTable(const std::string& typed) {
    b.showPage<pages::BatchImportPage>();
    b.type("tableMemo", "考号\t语文\n801\t" + typed);
    b.click("tableButton");
  }

  BrowserSession b = server.browser();
};

TEST_F(TypedValuesTest, EveryEntryPathReadsATypedValueTheSameWay) {
  struct Path {
    const char* name;
    std::function<void(const std::string&)> enter;
    Expected (*expected)(const Typed&);
  };
  const Path paths[] = {
      {"direct entry", [this](const std::string& t) { enterDirect(t); }, direct},
      {"computed entry", [this](const std::string& t) { enterComputed(t); }, computed},
      {"class grid", [this](const std::string& t) { enterGrid(t); }, grid},
      {"one-subject import", [this](const std::string& t) { importColumn(t); }, columnImport},
      {"several-subject import", [this](const std::string& t) { importTable(t); }, tableImport},
  };
  for (const Path& path : paths) {
    for (const Typed& t : kTyped) {
      SCOPED_TRACE(std::string(path.name) + " “" + t.typed + "”");
      reset();
      path.enter(t.typed);
      const Expected expected = path.expected(t);
      EXPECT_EQ(b.messages(), expected.messages);
      const auto row = rowOf("801");
      ASSERT_TRUE(row);  // 数学 keeps the row
      EXPECT_DOUBLE_EQ(row->scores[1], expected.k2);
      EXPECT_DOUBLE_EQ(row->zf, 50 + std::max(expected.k2, 0.0));
    }
  }
}

}  // namespace
}  // namespace zeziza::testing
