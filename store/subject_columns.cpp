#include "store/subject_columns.h"

#include <algorithm>
#include <stdexcept>

namespace zeziza::store {

std::vector<SubjectColumn> numberSubjects(const std::vector<std::string>& names) {
  const std::size_t count = std::min(names.size(), static_cast<std::size_t>(kMaxSubjects));
  std::vector<SubjectColumn> subjects;
  subjects.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    subjects.push_back({static_cast<int>(i) + 1, names[i]});
  }
  return subjects;
}

std::string subjectKey(int number) {
  if (number < 1 || number > kMaxSubjects) {
    throw std::out_of_range("科目位置 " + std::to_string(number) + " 没有对应的成绩列");
  }
  std::string key = "k";  // appended: GCC 12 warns falsely on "k" + std::to_string(...)
  key += std::to_string(number);
  return key;
}

std::string subjectColumn(int number) {
  std::string column = "cj.";
  column += subjectKey(number);
  return column;
}

std::string subjectSelectList(const std::vector<SubjectColumn>& subjects) {
  std::string list;
  for (const auto& column : subjects) {
    list += ", " + subjectColumn(column.number) + " as " + subjectKey(column.number);
  }
  return list;
}

namespace {

// "(x.k1>0)+(x.k2>0)" over `table`, each term wrapped by `wrap`.
std::string subjectTerms(const std::vector<SubjectColumn>& subjects, const std::string& table,
                         const char* open, const char* close) {
  std::string terms;
  for (const auto& column : subjects) {
    if (!terms.empty()) terms += "+";
    terms += std::string(open) + table + "." + subjectKey(column.number) + ">0" + close;
  }
  return terms.empty() ? "0" : terms;
}

}  // namespace

std::string classSubjectsSql(const std::vector<SubjectColumn>& subjects) {
  return "(select " + subjectTerms(subjects, "x", "max(", ")") +
         " from ks y join cj x on x.kh=y.bh where y.xx=ks.xx and y.nj=ks.nj and y.bj=ks.bj"
         " and x.ks=cj.ks)";
}

std::string averageSql(analysis::AverageBasis basis, const std::vector<SubjectColumn>& subjects) {
  if (basis == analysis::AverageBasis::SubjectsSat) return "cj.pj";
  return "(cj.zf/max(1," + classSubjectsSql(subjects) + "))";
}

std::string missedMarkSql(const std::vector<SubjectColumn>& subjects) {
  const std::string missed =
      "(" + classSubjectsSql(subjects) + "-(" + subjectTerms(subjects, "cj", "(", ")") + "))";
  return "(case when " + missed + ">0 then '(缺'||" + missed + "||'科)' else '' end)";
}

}  // namespace zeziza::store
