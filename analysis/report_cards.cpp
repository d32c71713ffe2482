#include "analysis/report_cards.h"

#include <algorithm>
#include <iterator>
#include <map>

namespace zeziza::analysis {

namespace {

using Group = std::vector<const StudentScores*>;
using Ranks = std::map<const StudentScores*, std::uint32_t>;

// Ranks by total, highest first, equal totals in stored order; totals of 0 get none.
Ranks ranksByTotal(Group group, RankMode mode) {
  std::erase_if(group, [](const StudentScores* s) { return !(s->total > 0); });
  std::ranges::sort(group, [](const StudentScores* a, const StudentScores* b) {
    return a->total != b->total ? a->total > b->total : a->rowId < b->rowId;
  });
  std::vector<double> totals;
  for (const auto* s : group) totals.push_back(s->total);
  const auto ranks = ranksInOrder(totals, mode);
  Ranks rankOf;
  for (std::size_t i = 0; i < group.size(); ++i) rankOf[group[i]] = ranks[i];
  return rankOf;
}

double meanAbove0(const std::vector<double>& values) {
  double sum = 0;
  int n = 0;
  for (const double v : values) {
    if (v > 0) {
      sum += v;
      ++n;
    }
  }
  return n > 0 ? sum / n : 0;
}

// The subjects any student of the class has a score above 0 in.
std::vector<bool> subjectsSat(const Group& group) {
  std::vector<bool> sat(group.front()->subjects.size(), false);
  for (const auto* s : group) {
    for (std::size_t j = 0; j < sat.size() && j < s->subjects.size(); ++j) {
      if (s->subjects[j] > 0) sat[j] = true;
    }
  }
  return sat;
}

std::optional<std::uint32_t> rankIn(const Ranks& ranks, const StudentScores* s) {
  const auto it = ranks.find(s);
  return it == ranks.end() ? std::nullopt : std::optional<std::uint32_t>(it->second);
}

ReportCard card(const StudentScores* s, const std::vector<bool>& classSubjects,
                AverageBasis basis) {
  ReportCard out{s, std::nullopt, std::nullopt, std::nullopt, 0, 0};
  out.missed = missedSubjects(s->subjects, classSubjects);
  const int sat =
      static_cast<int>(std::ranges::count_if(s->subjects, [](double v) { return v > 0; }));
  const int all = static_cast<int>(std::ranges::count(classSubjects, true));
  out.average =
      basis == AverageBasis::SubjectsSat ? s->average : averageOf(s->total, sat, all, basis);
  return out;
}

struct ScopeRanks {
  Ranks grade;
  Ranks unit;
};

ClassCards classCards(const Group& group, const CardChoice& choice, const ScopeRanks& ranks) {
  const StudentScores& first = *group.front();
  ClassCards out{first.unit, first.grade, first.cls, {}, 0, 0, {}};
  for (std::size_t j = 0; j < first.subjects.size(); ++j) {
    std::vector<double> values;
    for (const auto* s : group) values.push_back(j < s->subjects.size() ? s->subjects[j] : 0);
    out.subjectAverages.push_back(meanAbove0(values));
  }
  std::vector<double> totals, averages;
  const auto classRanks = ranksByTotal(group, choice.ranks);
  const std::vector<bool> classSubjects = subjectsSat(group);
  for (const auto* s : group) {
    ReportCard c = card(s, classSubjects, choice.averages);
    c.classRank = rankIn(classRanks, s);
    c.unitRank = rankIn(ranks.unit, s);
    c.gradeRank = rankIn(ranks.grade, s);
    totals.push_back(s->total);
    averages.push_back(c.average);
    out.cards.push_back(c);
  }
  out.totalAverage = meanAbove0(totals);
  out.averageAverage = meanAbove0(averages);
  return out;
}

}  // namespace

std::vector<ClassCards> reportCards(const std::vector<StudentScores>& rows,
                                    const CardChoice& choice) {
  std::vector<std::pair<std::string, Group>> classes;  // in order of first occurrence
  std::map<std::string, Group> grades, units;
  for (const auto& row : rows) {
    grades[row.grade].push_back(&row);
    units[row.unit + '\n' + row.grade].push_back(&row);
    const std::string key = row.unit + '\n' + row.grade + '\n' + row.cls;
    auto it = std::ranges::find(classes, key, &std::pair<std::string, Group>::first);
    if (it == classes.end()) {
      classes.emplace_back(key, Group{});
      it = std::prev(classes.end());
    }
    it->second.push_back(&row);
  }
  ScopeRanks ranks;
  for (const auto& [key, group] : grades) ranks.grade.merge(ranksByTotal(group, choice.ranks));
  for (const auto& [key, group] : units) ranks.unit.merge(ranksByTotal(group, choice.ranks));
  std::vector<ClassCards> out;
  for (const auto& [key, group] : classes) {
    const StudentScores& first = *group.front();
    if (!choice.unit.empty() && first.unit != choice.unit) continue;
    if (!choice.cls.empty() && first.cls != choice.cls) continue;
    out.push_back(classCards(group, choice, ranks));
  }
  return out;
}

}  // namespace zeziza::analysis
