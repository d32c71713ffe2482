#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/averages.h"
#include "analysis/ranks.h"

namespace zeziza::analysis {

// One student's score row of one exam.
struct StudentScores {
  std::string id;  // 考号
  std::string name;
  std::string unit;
  std::string grade;
  std::string cls;
  std::vector<double> subjects;  // by position in the subject list; 0 is absent
  double total = 0;
  double average = 0;
  std::int64_t rowId = 0;  // stored order: consecutive ranks of equal totals follow it
};

// A student's card: the row, the ranks by total (no rank without a total above 0) within the
// class, within the unit's grade (校内) and within the grade over every unit (年级), the
// subjects the class sat that the student missed, and the average by the chosen basis.
struct ReportCard {
  const StudentScores* scores = nullptr;
  std::optional<std::uint32_t> classRank;
  std::optional<std::uint32_t> unitRank;
  std::optional<std::uint32_t> gradeRank;
  int missed = 0;
  double average = 0;
};

// The cards of one class, with its averages (of the scores above 0; none: 0).
struct ClassCards {
  std::string unit;
  std::string grade;
  std::string cls;
  std::vector<double> subjectAverages;
  double totalAverage = 0;
  double averageAverage = 0;  // of the cards' averages
  std::vector<ReportCard> cards;
};

struct CardChoice {
  RankMode ranks = RankMode::Sequential;
  AverageBasis averages = AverageBasis::SubjectsSat;
  std::string unit;  // only this unit's cards (empty: every unit)
  std::string cls;   // only classes of this name (empty: every class)
};

// Groups `rows` by unit, grade and class (in the order the classes first occur) and ranks each
// student by total. Only the chosen unit and class get cards; the ranks count every row of
// their scope, so `rows` should hold the whole grade. A class's subjects are those any of its
// students has a score above 0 in. The cards point into `rows`, which must outlive them.
std::vector<ClassCards> reportCards(const std::vector<StudentScores>& rows,
                                    const CardChoice& choice);

}  // namespace zeziza::analysis
