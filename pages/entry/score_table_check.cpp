#include "pages/entry/score_table_check.h"

#include <algorithm>
#include <optional>

#include "analysis/typed_number.h"
#include "pages/common/text.h"
#include "pages/entry/score_text.h"

namespace zeziza::pages {

namespace {

using Cells = std::vector<std::string>;

Cells splitCells(const std::string& line) {
  Cells cells;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    cells.push_back(line.substr(start, tab - start));
  }
  cells.push_back(line.substr(start));
  return cells;
}

bool isNumberHeading(const std::string& heading) {
  return heading == "考号" || heading == "学号" || heading == "考号[学号]";
}

// Columns of the roster that a score table often carries along: the import has no use for
// them (the number says who the student is).
bool isRosterHeading(const std::string& heading) {
  for (const char* roster : {"姓名", "学校", "单位", "年级", "班级", "班次"}) {
    if (heading == roster) return true;
  }
  return false;
}

// A column the import passes over.
constexpr int kIgnored = -1;

// Where the student number stands, and which subject (1-based) each other column holds.
struct Heading {
  std::size_t numberColumn = 0;
  std::vector<int> subjectOf;  // per column; 0 for the number column, kIgnored for the roster's
  std::vector<std::string> ignored;
  std::string refusal;
};

Heading readHeading(const std::string& line, const std::vector<std::string>& subjects) {
  Heading heading;
  std::optional<std::size_t> numberColumn;
  const Cells cells = splitCells(line);
  for (std::size_t c = 0; c < cells.size(); ++c) {
    const std::string name = trimmed(cells[c]);
    if (isNumberHeading(name) && !numberColumn) {
      numberColumn = c;
      heading.subjectOf.push_back(0);
      continue;
    }
    if (isRosterHeading(name)) {
      heading.subjectOf.push_back(kIgnored);
      heading.ignored.push_back(name);
      continue;
    }
    const auto it = std::find(subjects.begin(), subjects.end(), name);
    const int subject = it == subjects.end() ? 0 : static_cast<int>(it - subjects.begin()) + 1;
    if (subject == 0) return {0, {}, {}, "首行的列名“" + name + "”不是考号，也不是已设置的科目"};
    if (std::count(heading.subjectOf.begin(), heading.subjectOf.end(), subject) > 0) {
      return {0, {}, {}, "科目“" + name + "”在首行出现了两次"};
    }
    heading.subjectOf.push_back(subject);
  }
  if (!numberColumn) return {0, {}, {}, "首行须列出“考号”和要导入的科目，各列以制表符分隔"};
  if (std::ranges::none_of(heading.subjectOf, [](int s) { return s > 0; })) {
    return {0, {}, {}, "首行没有列出要导入的科目"};
  }
  heading.numberColumn = *numberColumn;
  return heading;
}

void listItem(std::string& list, const std::string& item) {
  list.append("|").append(item);
}

// The one-subject import's checks and messages, over every row and column; a score names
// its line, subject and what was typed ("|3数学“8O”"). A blank score is no score, not a fault.
std::string checkCells(const std::vector<Cells>& rows, const Heading& heading,
                       const std::vector<std::string>& subjects,
                       const std::function<bool(const std::string&)>& exists) {
  std::string ragged, emptyNumber, missing, invalid;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::string line = std::to_string(r + 2);
    if (rows[r].size() != heading.subjectOf.size()) {
      listItem(ragged, line);
      continue;
    }
    const std::string& number = rows[r][heading.numberColumn];
    if (trimmed(number).empty()) {
      listItem(emptyNumber, line);
    } else if (!exists(number)) {
      listItem(missing, number);
    }
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const std::string& cell = rows[r][c];
      if (heading.subjectOf[c] <= 0 || analysis::blankTyped(cell)) continue;
      if (!analysis::typedNumber(cell)) {
        listItem(invalid, line + subjects[heading.subjectOf[c] - 1] + "“" +
                              analysis::quotedTyped(cell) + "”");
      }
    }
  }
  if (!ragged.empty()) return "列数与首行不一致，操作失败  " + ragged + "行";
  if (!emptyNumber.empty()) return "考号[学号]不能有空值，操作失败  " + emptyNumber + "行为空";
  if (!missing.empty()) return "学生编号不存在，操作失败  " + missing + "不存在";
  if (!invalid.empty()) return "分数值非法，操作失败  " + invalid + "非法，" + kScoreHint;
  return {};
}

}  // namespace

ScoreTableCheck checkScoreTable(const std::vector<std::string>& lines,
                                const std::vector<std::string>& subjects,
                                const std::function<bool(const std::string&)>& exists) {
  std::size_t end = lines.size();
  while (end > 0 && trimmed(lines[end - 1]).empty()) --end;
  if (end < 2) return {"请粘贴带有首行列名（考号和科目）的成绩表，至少一行成绩", {}, {}};
  const Heading heading = readHeading(lines[0], subjects);
  if (!heading.refusal.empty()) return {heading.refusal, {}, {}};
  std::vector<Cells> rows;
  for (std::size_t i = 1; i < end; ++i) rows.push_back(splitCells(lines[i]));
  if (auto refusal = checkCells(rows, heading, subjects, exists); !refusal.empty()) {
    return {refusal, {}, {}};
  }
  ScoreTableCheck check;
  check.ignoredColumns = heading.ignored;
  for (const Cells& cells : rows) {
    store::ImportRow row{cells[heading.numberColumn], {}};
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (heading.subjectOf[c] <= 0) continue;
      // A blank cell is no score, as 0 is: a stored score of that subject goes.
      const std::string& cell = cells[c];
      row.values.push_back(
          {heading.subjectOf[c], analysis::blankTyped(cell) ? 0 : *analysis::typedNumber(cell)});
    }
    check.rows.push_back(std::move(row));
  }
  return check;
}

}  // namespace zeziza::pages
