#include "pages/entry/score_text.h"

#include "analysis/number_format.h"
#include "analysis/typed_number.h"
#include "pages/common/text.h"

namespace zeziza::pages {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string notAScoreText(std::string_view typed) {
  if (analysis::blankTyped(typed)) return "请输入成绩，如 85 或 85.5";
  return "“" + analysis::quotedTyped(typed) + "”不是有效的成绩，" + kScoreHint;
}

std::string notAFullMarkText(std::string_view typed) {
  if (analysis::blankTyped(typed)) return "请输入满分，如 100 或 150";
  return "“" + analysis::quotedTyped(typed) + "”不是有效的满分，请输入大于0的数字，如 100 或 150";
}

std::string notADeductionText(std::size_t line, std::string_view typed) {
  return "第" + std::to_string(line) + "行扣分“" + analysis::quotedTyped(typed) +
         "”不是有效的扣分，请每行输入一个不小于0的数字，如 5 或 2.5";
}

std::string writeCountsText(const store::WriteCounts& counts) {
  return "写入" + std::to_string(counts.written) + "个成绩，删除" + std::to_string(counts.deleted) +
         "个，未变" + std::to_string(counts.unchanged) + "个";
}

std::string refusedScoreText(std::string_view number, std::string_view name,
                             std::string_view subject, double value, analysis::ScoreFault fault,
                             int fullMark) {
  std::string text = std::string(number) + " " + std::string(name) + " " + std::string(subject);
  if (fault == analysis::ScoreFault::NotFinite) return text + " 成绩不是有效的数字";
  if (fault == analysis::ScoreFault::Negative) {
    return text + " " + analysis::formatGeneral(value) + " 不能为负数";
  }
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
