#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "analysis/score_fit.h"

namespace zeziza::pages {

// A decimal number as typed ("85", "85.5", "-2", "1e2", " 7 "); blanks around it are allowed,
// anything else (letters, commas, "nan", "inf") is not a number.
std::optional<double> parseNumber(std::string_view text);

// Why a score of a student was not stored: "2024016 赵博文 语文 1355 超过满分150".
std::string refusedScoreText(std::string_view number, std::string_view name,
                             std::string_view subject, double value, analysis::ScoreFault fault,
                             int fullMark);

// The second part of an exam number one further, keeping its width: "07" -> "08",
// "9" -> "10", "A09" -> "A10". nullopt when the part does not end in a digit.
std::optional<std::string> nextNumberPart(std::string_view part);

}  // namespace zeziza::pages
