#include "pages/analysis/report_cards.h"

#include "pages/analysis/score_query.h"
#include "store/scale_settings.h"
#include "store/settings.h"
#include "tests/pages/analysis/analysis_fixture.h"

namespace zeziza::testing {
namespace {

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// A class of 45 in 中心校区 初一 一班 (totals 45 × 2 … 1 × 2) and one student of 二班.
class ReportCardsTest : public AnalysisTest {
 protected:
  ReportCardsTest() {
    for (int i = 1; i <= 45; ++i) {
      score("期中", student(std::to_string(2000 + i), "学生" + std::to_string(i)), 100 - i,
            i == 45 ? 0 : 50 + i);
    }
    score("期中", student("3001", "邻班生", "中心校区", "初一", "二班"), 99, 99);
  }
  const pages::ReportCardSheet& sheet() { return b.control<pages::ReportCardSheet>("Cards"); }
};

TEST_F(ReportCardsTest, OneCardPerStudentOfTheChosenClass) {
  store::storeFullMarkTexts(server.db(), {"150", "100"});
  b.showPage<pages::ReportCardsPage>();
  b.choose("classBox", "一班");
  b.click("makeButton");
  ASSERT_EQ(b.messages(), std::vector<std::string>{});
  ASSERT_EQ(sheet().Classes.size(), 1u);
  const auto& cards = sheet().Classes[0];
  ASSERT_EQ(cards.size(), 45u);
  EXPECT_EQ(b.control<web::Label>("countLabel").Caption,
            "共45张成绩单，每张占半张A4纸，每班从新的一页开始。"
            "请使用浏览器的打印功能（Ctrl+P）打印或另存为PDF。");
  // Every total is 150 but the last: ranks shared or not, in stored order by default.
  const pages::CardView& first = cards[0];
  EXPECT_EQ(first.title, "中心校区 期中 成绩单");
  EXPECT_EQ(first.cls, "初一一班");
  EXPECT_EQ(first.name, "学生1");
  EXPECT_EQ(first.id, "2001");
  EXPECT_EQ(first.classRank, "1");
  EXPECT_EQ(first.unitRank, "2");   // 邻班生's 198 is first in the unit
  EXPECT_EQ(first.gradeRank, "2");  // and in the grade
  const std::vector<pages::CardLine> lines = {
      {"数学", "99", "及格", "77.00"},  // out of 150: 及格 from 90, 良好 from 120
      {"语文", "51", "不及格", "72.50"},
      {"总分", "150", "及格", "147.89"},  // out of 250: 及格 from 150
      {"平均分", "75", "及格", "74.56"},  // out of 125: 及格 from 75
  };
  EXPECT_EQ(first.lines, lines);
  const pages::CardView& last = cards[44];
  EXPECT_EQ(last.lines[1], (pages::CardLine{"语文", "缺考", "", "72.50"}));
  EXPECT_EQ(last.lines[3].score, "55(缺1科)");  // the class sat 语文
  EXPECT_EQ(last.classRank, "45");
  EXPECT_EQ(cards[1].classRank, "2");

  const std::string& html = b.last().html;
  EXPECT_EQ(occurrences(html, "class=\"report-card\""), 45u);
  EXPECT_EQ(occurrences(html, "class=\"report-class\""), 1u);
  EXPECT_NE(html.find("href=\"/css/report_cards.css"), std::string::npos);
  EXPECT_EQ(html.find("<style"), std::string::npos);  // laid out by the served sheet only
}

TEST_F(ReportCardsTest, SharedRanksFollowTheSetting) {
  store::storeSetting(server.db(), store::key::kRankMode, "并列名次");
  b.showPage<pages::ReportCardsPage>();
  b.click("makeButton");
  ASSERT_EQ(sheet().Classes.size(), 2u);
  const auto& cards = sheet().Classes[0];
  for (std::size_t i = 0; i < 44; ++i) {
    EXPECT_EQ(cards[i].classRank, "1");
    EXPECT_EQ(cards[i].gradeRank, "2");
  }
  EXPECT_EQ(cards[44].classRank, "45");
  EXPECT_EQ(sheet().Classes[1][0].gradeRank, "1");
}

// 年级名次 counts every unit of the grade, 校内名次 the card's own unit; both are named.
TEST_F(ReportCardsTest, EachRankIsNamedByItsScope) {
  score("期中", student("4001", "东校区生", "东校区", "初一", "一班"), 100, 100);
  b.showPage<pages::ReportCardsPage>();
  b.choose("unitBox", "中心校区");
  b.choose("classBox", "一班");
  b.click("makeButton");
  ASSERT_EQ(sheet().Classes.size(), 1u);
  const pages::CardView& first = sheet().Classes[0][0];
  EXPECT_EQ(first.classRank, "1");
  EXPECT_EQ(first.unitRank, "2");
  EXPECT_EQ(first.gradeRank, "3");
  const std::string& html = b.last().html;
  for (const char* caption : {"班级名次：1", "校内名次：2", "年级名次：3"}) {
    EXPECT_NE(html.find(caption), std::string::npos) << caption;
  }
}

TEST_F(ReportCardsTest, TheScoreQueryOpensTheCardsOfItsChosenScope) {
  b.showPage<pages::ScoreQueryPage>();
  b.choose("classBox", "二班");
  b.click("PrintCards");
  ASSERT_EQ(b.pageClass(), "ReportCardsPage");
  EXPECT_EQ(b.control<web::ComboBox>("examBox").text(), "期中");
  EXPECT_EQ(b.control<web::ComboBox>("classBox").text(), "二班");
  ASSERT_EQ(sheet().Classes.size(), 1u);
  ASSERT_EQ(sheet().Classes[0].size(), 1u);
  EXPECT_EQ(sheet().Classes[0][0].name, "邻班生");
}

}  // namespace
}  // namespace zeziza::testing
