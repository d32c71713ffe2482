#include "analysis/report_cards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zeziza::analysis::RankMode;
using zeziza::analysis::reportCards;
using zeziza::analysis::StudentScores;

StudentScores row(const std::string& id, const std::string& cls, double k1, double k2,
                  std::int64_t rowId) {
  const double total = k1 + k2;
  const int n = (k1 > 0) + (k2 > 0);
  return {id, "生" + id, "东校区", "初一", cls, {k1, k2}, total, n ? total / n : 0, rowId};
}

// Two classes of one grade: ranks within the class and within the grade, by total.
const std::vector<StudentScores> kRows = {
    row("1", "一班", 90, 90, 5),   // 180
    row("2", "一班", 80, 70, 2),   // 150
    row("3", "一班", 0, 0, 3),     // absent
    row("4", "二班", 100, 80, 4),  // 180, stored before 1
    row("5", "二班", 60, 0, 1),    // 60
};

struct Ranks {
  std::string id;
  std::string classRank;
  std::string gradeRank;
  bool operator==(const Ranks&) const = default;
};

std::string text(const std::optional<std::uint32_t>& rank) {
  return rank ? std::to_string(*rank) : "-";
}

std::vector<Ranks> ranksOf(RankMode mode, const std::string& onlyClass = {}) {
  std::vector<Ranks> out;
  for (const auto& cls : reportCards(kRows, mode, onlyClass)) {
    for (const auto& card : cls.cards) {
      out.push_back({card.scores->id, text(card.classRank), text(card.gradeRank)});
    }
  }
  return out;
}

TEST(ReportCards, ClassAndGradeRanksByTotalUnderBothModes) {
  EXPECT_EQ(
      ranksOf(RankMode::Sequential),
      (std::vector<Ranks>{
          {"1", "1", "2"}, {"2", "2", "3"}, {"3", "-", "-"}, {"4", "1", "1"}, {"5", "2", "4"}}));
  EXPECT_EQ(
      ranksOf(RankMode::Shared),
      (std::vector<Ranks>{
          {"1", "1", "1"}, {"2", "2", "3"}, {"3", "-", "-"}, {"4", "1", "1"}, {"5", "2", "4"}}));
}

// A class chosen alone still has its grade ranks counted over the whole grade.
TEST(ReportCards, OneClassKeepsItsGradeRanks) {
  EXPECT_EQ(ranksOf(RankMode::Sequential, "二班"),
            (std::vector<Ranks>{{"4", "1", "1"}, {"5", "2", "4"}}));
}

TEST(ReportCards, ClassAveragesCountScoresAbove0) {
  const auto classes = reportCards(kRows, RankMode::Sequential);
  ASSERT_EQ(classes.size(), 2u);
  EXPECT_EQ(classes[0].cls, "一班");
  EXPECT_EQ(classes[0].subjectAverages, (std::vector<double>{85, 80}));
  EXPECT_EQ(classes[0].totalAverage, 165);
  EXPECT_EQ(classes[1].subjectAverages, (std::vector<double>{80, 80}));
  EXPECT_EQ(classes[1].averageAverage, (90 + 60) / 2.0);
}

}  // namespace
