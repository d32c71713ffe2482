#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// A student's card: the row and the ranks by total; no rank without a total above 0.
struct ReportCard {
  const StudentScores* scores = nullptr;
  std::optional<std::uint32_t> classRank;
  std::optional<std::uint32_t> gradeRank;
};

// The cards of one class, with its averages (of the scores above 0; none: 0).
struct ClassCards {
  std::string unit;
  std::string grade;
  std::string cls;
  std::vector<double> subjectAverages;
  double totalAverage = 0;
  double averageAverage = 0;
  std::vector<ReportCard> cards;
};

// Groups `rows` by unit, grade and class (in the order the classes first occur) and ranks each
// student by total within the class and within the unit's grade. Only classes named
// `onlyClass` get cards (empty: every class); the grade ranks count every row of the grade.
// The cards point into `rows`, which must outlive them.
std::vector<ClassCards> reportCards(const std::vector<StudentScores>& rows, RankMode mode,
                                    const std::string& onlyClass = {});

}  // namespace zeziza::analysis
