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

}  // namespace zeziza::store
