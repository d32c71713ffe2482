#include "analysis/averages.h"

namespace zeziza::analysis {

AverageBasis parseAverageBasis(std::string_view text) {
  return text == kAllSubjectsText ? AverageBasis::AllSubjects : AverageBasis::SubjectsSat;
}

std::string_view averageBasisText(AverageBasis basis) {
  return basis == AverageBasis::AllSubjects ? kAllSubjectsText : kSubjectsSatText;
}

int missedSubjects(std::span<const double> scores, const std::vector<bool>& examSubjects) {
  int missed = 0;
  for (std::size_t j = 0; j < examSubjects.size(); ++j) {
    const bool sat = j < scores.size() && scores[j] > 0;
    if (examSubjects[j] && !sat) ++missed;
  }
  return missed;
}

double averageOf(double total, int subjectsSat, int examSubjects, AverageBasis basis) {
  const int divisor = basis == AverageBasis::AllSubjects ? examSubjects : subjectsSat;
  return divisor > 0 ? total / divisor : 0;
}

std::string missedMark(int missed) {
  return missed > 0 ? "(缺" + std::to_string(missed) + "科)" : std::string();
}

}  // namespace zeziza::analysis
