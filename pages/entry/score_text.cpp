#include "pages/entry/score_text.h"

#include <charconv>
#include <cmath>

#include "analysis/number_format.h"
#include "pages/common/text.h"

namespace zeziza::pages {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
  const std::string t = trimmed(text);
  std::string_view digits = t;
  const bool negative = !digits.empty() && digits.front() == '-';
  if (!digits.empty() && (digits.front() == '+' || negative)) digits.remove_prefix(1);
  // from_chars would also read "inf" and "nan": a number starts with a digit or a point.
  if (digits.empty() || !(isDigit(digits.front()) || digits.front() == '.')) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::string refusedScoreText(std::string_view number, std::string_view name,
                             std::string_view subject, double value, analysis::ScoreFault fault,
                             int fullMark) {
  std::string text = std::string(number) + " " + std::string(name) + " " + std::string(subject);
  if (fault == analysis::ScoreFault::NotFinite) return text + " 成绩不是有效的数字";
  return text + " " + analysis::formatGeneral(value) + " 超过满分" + std::to_string(fullMark);
}

std::optional<std::string> nextNumberPart(std::string_view part) {
  if (part.empty() || !isDigit(part.back())) return std::nullopt;
  std::string next(part);
  std::size_t i = next.size();
  while (i > 0 && isDigit(next[i - 1])) {
    --i;
    if (next[i] != '9') {
      ++next[i];
      return next;
    }
    next[i] = '0';
  }
  // Every digit carried: "9" -> "10", "A99" -> "A100".
  return std::string(part.substr(0, i)).append("1").append(next, i);
}

}  // namespace zeziza::pages
