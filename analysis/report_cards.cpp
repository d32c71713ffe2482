#include "analysis/report_cards.h"

#include <algorithm>
#include <iterator>
#include <map>

namespace zeziza::analysis {

namespace {

using Group = std::vector<const StudentScores*>;

// Ranks by total, highest first, equal totals in stored order; totals of 0 get none.
std::map<const StudentScores*, std::uint32_t> ranksByTotal(Group group, RankMode mode) {
  std::erase_if(group, [](const StudentScores* s) { return !(s->total > 0); });
  std::ranges::sort(group, [](const StudentScores* a, const StudentScores* b) {
    return a->total != b->total ? a->total > b->total : a->rowId < b->rowId;
  });
  std::vector<double> totals;
  for (const auto* s : group) totals.push_back(s->total);
  const auto ranks = ranksInOrder(totals, mode);
  std::map<const StudentScores*, std::uint32_t> rankOf;
  for (std::size_t i = 0; i < group.size(); ++i) rankOf[group[i]] = ranks[i];
  return rankOf;
}

double meanAbove0(const Group& group, double (*value)(const StudentScores&)) {
  double sum = 0;
  int n = 0;
  for (const auto* s : group) {
    if (value(*s) > 0) {
      sum += value(*s);
      ++n;
    }
  }
  return n > 0 ? sum / n : 0;
}

ClassCards classCards(const Group& group, RankMode mode,
                      const std::map<const StudentScores*, std::uint32_t>& gradeRanks) {
  const StudentScores& first = *group.front();
  ClassCards out{first.unit, first.grade, first.cls, {}, 0, 0, {}};
  for (std::size_t j = 0; j < first.subjects.size(); ++j) {
    double sum = 0;
    int n = 0;
    for (const auto* s : group) {
      if (j < s->subjects.size() && s->subjects[j] > 0) {
        sum += s->subjects[j];
        ++n;
      }
    }
    out.subjectAverages.push_back(n > 0 ? sum / n : 0);
  }
  out.totalAverage = meanAbove0(group, [](const StudentScores& s) { return s.total; });
  out.averageAverage = meanAbove0(group, [](const StudentScores& s) { return s.average; });
  const auto classRanks = ranksByTotal(group, mode);
  for (const auto* s : group) {
    ReportCard card{s, std::nullopt, std::nullopt};
    if (const auto it = classRanks.find(s); it != classRanks.end()) card.classRank = it->second;
    if (const auto it = gradeRanks.find(s); it != gradeRanks.end()) card.gradeRank = it->second;
    out.cards.push_back(card);
  }
  return out;
}

}  // namespace

std::vector<ClassCards> reportCards(const std::vector<StudentScores>& rows, RankMode mode,
                                    const std::string& onlyClass) {
  std::vector<std::pair<std::string, Group>> classes;  // in order of first occurrence
  std::map<std::string, Group> grades;
  for (const auto& row : rows) {
    grades[row.unit + '\n' + row.grade].push_back(&row);
    const std::string key = row.unit + '\n' + row.grade + '\n' + row.cls;
    auto it = std::ranges::find(classes, key, &std::pair<std::string, Group>::first);
    if (it == classes.end()) {
      classes.emplace_back(key, Group{});
      it = std::prev(classes.end());
    }
    it->second.push_back(&row);
  }
  std::map<const StudentScores*, std::uint32_t> gradeRanks;
  for (const auto& [key, group] : grades) gradeRanks.merge(ranksByTotal(group, mode));
  std::vector<ClassCards> out;
  for (const auto& [key, group] : classes) {
    if (!onlyClass.empty() && group.front()->cls != onlyClass) continue;
    out.push_back(classCards(group, mode, gradeRanks));
  }
  return out;
}

}  // namespace zeziza::analysis
