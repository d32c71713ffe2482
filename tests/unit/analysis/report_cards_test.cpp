#include "analysis/report_cards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zeziza::analysis::AverageBasis;
using zeziza::analysis::CardChoice;
using zeziza::analysis::RankMode;
using zeziza::analysis::reportCards;
using zeziza::analysis::StudentScores;

StudentScores row(const std::string& id, const std::string& unit, const std::string& cls, double k1,
                  double k2, std::int64_t rowId) {
  const double total = k1 + k2;
  const int n = (k1 > 0) + (k2 > 0);
  return {id, "生" + id, unit, "初一", cls, {k1, k2}, total, n ? total / n : 0, rowId};
}

// One grade in two units; 东校区 三班 sat only the second subject.
const std::vector<StudentScores> kRows = {
    row("1", "东校区", "一班", 90, 90, 5),    // 180
    row("2", "东校区", "一班", 80, 70, 2),    // 150
    row("3", "东校区", "一班", 0, 0, 3),      // absent
    row("4", "东校区", "二班", 100, 80, 4),   // 180, stored before 1
    row("5", "东校区", "二班", 60, 0, 1),     // 60, missed the second subject
    row("6", "中心校区", "一班", 95, 95, 6),  // 190
    row("7", "中心校区", "一班", 70, 0, 7),   // 70, missed the second subject
    row("8", "东校区", "三班", 0, 75, 8),     // 75
    row("9", "东校区", "三班", 0, 65, 9),     // 65
};

CardChoice choiceOf(RankMode mode, AverageBasis basis = AverageBasis::SubjectsSat,
                    std::string unit = {}, std::string cls = {}) {
  return {mode, basis, std::move(unit), std::move(cls)};
}

struct Ranks {
  std::string id;
  std::string classRank;
  std::string unitRank;
  std::string gradeRank;
  bool operator==(const Ranks&) const = default;
};

std::string text(const std::optional<std::uint32_t>& rank) {
  return rank ? std::to_string(*rank) : "-";
}

std::vector<Ranks> ranksOf(const CardChoice& choice) {
  std::vector<Ranks> out;
  for (const auto& cls : reportCards(kRows, choice)) {
    for (const auto& card : cls.cards) {
      out.push_back(
          {card.scores->id, text(card.classRank), text(card.unitRank), text(card.gradeRank)});
    }
  }
  return out;
}

// 年级名次 counts the grade over both units, 校内名次 the unit's grade, 班级名次 the class.
TEST(ReportCards, RanksByTotalWithinClassUnitAndGrade) {
  const std::vector<Ranks> sequential = {
      {"1", "1", "2", "3"}, {"2", "2", "3", "4"}, {"3", "-", "-", "-"},
      {"4", "1", "1", "2"}, {"5", "2", "6", "8"}, {"6", "1", "1", "1"},
      {"7", "2", "2", "6"}, {"8", "1", "4", "5"}, {"9", "2", "5", "7"}};
  EXPECT_EQ(ranksOf(choiceOf(RankMode::Sequential)), sequential);
  std::vector<Ranks> shared = sequential;
  shared[0] = {"1", "1", "1", "2"};  // 180 ties with 4 in the unit and the grade
  EXPECT_EQ(ranksOf(choiceOf(RankMode::Shared)), shared);
}

// A chosen unit or class gets cards alone, its ranks still counted over the whole grade.
TEST(ReportCards, AChosenUnitOrClassKeepsTheRanksOfTheWholeGrade) {
  EXPECT_EQ(ranksOf({RankMode::Sequential, AverageBasis::SubjectsSat, "中心校区", ""}),
            (std::vector<Ranks>{{"6", "1", "1", "1"}, {"7", "2", "2", "6"}}));
  EXPECT_EQ(ranksOf({RankMode::Sequential, AverageBasis::SubjectsSat, "", "二班"}),
            (std::vector<Ranks>{{"4", "1", "1", "2"}, {"5", "2", "6", "8"}}));
}

// The subjects missed are those the class sat; the average divides by the subjects sat or by
// the class's subjects.
TEST(ReportCards, MissedSubjectsAndTheAverageByEachBasis) {
  struct Case {
    AverageBasis basis;
    std::string id;
    int missed;
    double average;
  };
  const std::vector<Case> cases = {
      {AverageBasis::SubjectsSat, "1", 0, 90}, {AverageBasis::AllSubjects, "1", 0, 90},
      {AverageBasis::SubjectsSat, "3", 2, 0},  {AverageBasis::AllSubjects, "3", 2, 0},
      {AverageBasis::SubjectsSat, "5", 1, 60}, {AverageBasis::AllSubjects, "5", 1, 30},
      {AverageBasis::SubjectsSat, "7", 1, 70}, {AverageBasis::AllSubjects, "7", 1, 35},
      {AverageBasis::SubjectsSat, "8", 0, 75}, {AverageBasis::AllSubjects, "8", 0, 75},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id + (c.basis == AverageBasis::AllSubjects ? " 全部科目" : " 参考科目"));
    bool found = false;
    for (const auto& cls : reportCards(kRows, choiceOf(RankMode::Sequential, c.basis))) {
      for (const auto& card : cls.cards) {
        if (card.scores->id != c.id) continue;
        found = true;
        EXPECT_EQ(card.missed, c.missed);
        EXPECT_DOUBLE_EQ(card.average, c.average);
      }
    }
    EXPECT_TRUE(found);
  }
}

TEST(ReportCards, ClassAveragesCountScoresAbove0) {
  const auto classes = reportCards(kRows, choiceOf(RankMode::Sequential));
  ASSERT_EQ(classes.size(), 4u);
  EXPECT_EQ(classes[0].cls, "一班");
  EXPECT_EQ(classes[0].subjectAverages, (std::vector<double>{85, 80}));
  EXPECT_EQ(classes[0].totalAverage, 165);
  EXPECT_EQ(classes[1].subjectAverages, (std::vector<double>{80, 80}));
  EXPECT_EQ(classes[1].averageAverage, (90 + 60) / 2.0);
  const auto all = reportCards(kRows, choiceOf(RankMode::Sequential, AverageBasis::AllSubjects));
  EXPECT_EQ(all[1].averageAverage, (90 + 30) / 2.0);
}

}  // namespace
