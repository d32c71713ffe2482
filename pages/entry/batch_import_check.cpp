#include "pages/entry/batch_import_check.h"

#include "analysis/typed_number.h"
#include "pages/common/text.h"
#include "pages/entry/score_text.h"

namespace zeziza::pages {

namespace {

// Adds "|" and the item to a list of a message.
void listItem(std::string& list, const std::string& item) {
  list.append("|").append(item);
}

// Each message ends with two blanks before its list.
std::string checkNumbers(const std::vector<std::string>& numbers,
                         const std::function<bool(const std::string&)>& exists) {
  std::string empty;
  std::string missing;
  for (std::size_t n = 0; n < numbers.size(); ++n) {
    if (trimmed(numbers[n]).empty()) {
      listItem(empty, std::to_string(n + 1));
    } else if (!exists(numbers[n])) {
      listItem(missing, numbers[n]);
    }
  }
  if (!empty.empty()) return "考号[学号]不能有空值，操作失败  " + empty + "行为空";
  if (!missing.empty()) return "学生编号不存在，操作失败  " + missing + "不存在";
  return {};
}

// An unreadable score is listed with what was typed: |2“8O”.
std::string checkScores(const std::vector<std::string>& scores) {
  std::string empty;
  std::string invalid;
  for (std::size_t n = 0; n < scores.size(); ++n) {
    const std::string line = std::to_string(n + 1);
    if (analysis::blankTyped(scores[n])) {
      listItem(empty, line);
    } else if (!analysis::typedNumber(scores[n])) {
      listItem(invalid, line + "“" + analysis::quotedTyped(scores[n]) + "”");
    }
  }
  if (!empty.empty()) return "分数不能有空值，操作失败  " + empty + "行为空";
  if (!invalid.empty()) return "分数值非法，操作失败  " + invalid + "行非法，" + kScoreHint;
  return {};
}

}  // namespace

ImportCheck checkImport(const std::vector<std::string>& numbers,
                        const std::vector<std::string>& scores,
                        const std::function<bool(const std::string&)>& exists) {
  if (numbers.size() != scores.size()) {
    return {"考号[学号]的数量与学生姓名个数不相符，不能导入", {}};
  }
  if (auto refusal = checkNumbers(numbers, exists); !refusal.empty()) return {refusal, {}};
  if (auto refusal = checkScores(scores); !refusal.empty()) return {refusal, {}};
  ImportCheck check;
  check.lines.reserve(numbers.size());
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    check.lines.push_back({numbers[k], *analysis::typedNumber(scores[k])});
  }
  return check;
}

}  // namespace zeziza::pages
