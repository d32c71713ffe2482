#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zeziza::analysis {

// What a student's 平均分 divides by: the subjects the student sat, or every subject of the
// exam, an absent one counting 0.
enum class AverageBasis { SubjectsSat, AllSubjects };

inline constexpr std::string_view kSubjectsSatText = "参考科目";
inline constexpr std::string_view kAllSubjectsText = "全部科目";

// The stored setting (平均分口径): "全部科目" divides by every subject; anything else, also a
// missing setting, by the subjects sat.
AverageBasis parseAverageBasis(std::string_view text);
std::string_view averageBasisText(AverageBasis basis);

// The subjects of `examSubjects` (the subjects the student's class sat) that the student has
// no score above 0 in; `scores` by subject position, 0 for none.
int missedSubjects(std::span<const double> scores, const std::vector<bool>& examSubjects);

// The student's average: the total over the subjects sat, or over the exam's subjects.
// 0 when the divisor is 0.
double averageOf(double total, int subjectsSat, int examSubjects, AverageBasis basis);

// "(缺2科)" for two missed subjects; empty for none.
std::string missedMark(int missed);

}  // namespace zeziza::analysis
