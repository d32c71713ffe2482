#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "analysis/score_fit.h"
#include "store/score_write.h"

namespace zeziza::pages {

// What a typed score should have been: "“12o”不是有效的成绩，请输入数字，如 85 或 85.5".
std::string notAScoreText(std::string_view typed);
// The same for the full mark of computed entry, which has to be above 0.
std::string notAFullMarkText(std::string_view typed);
// A deduction line that is not a deduction (not a number, or below 0); lines from 1.
std::string notADeductionText(std::size_t line, std::string_view typed);
// The hint the lists of unreadable scores end with.
inline constexpr const char* kScoreHint = "请输入数字，如 85 或 85.5";

// What a batch of scores did: "写入18个成绩，删除1个，未变3个".
std::string writeCountsText(const store::WriteCounts& counts);

// Why a score of a student was not stored: "2024016 赵博文 语文 1355 超过满分150",
// "2024016 赵博文 语文 -5 不能为负数".
std::string refusedScoreText(std::string_view number, std::string_view name,
                             std::string_view subject, double value, analysis::ScoreFault fault,
                             int fullMark);

// The second part of an exam number one further, keeping its width: "07" -> "08",
// "9" -> "10", "A09" -> "A10". nullopt when the part does not end in a digit.
std::optional<std::string> nextNumberPart(std::string_view part);

}  // namespace zeziza::pages
