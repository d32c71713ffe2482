#include "pages/analysis/score_columns.h"

#include <stdexcept>

#include "web/user_session.h"

namespace zeziza::pages {

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

SessionSubjects SessionSubjects::current() {
  return SessionSubjects(web::UserSession().subjects);
}

std::optional<int> SessionSubjects::find(std::string_view name) const {
  for (const auto& column : columns_) {
    if (column.name == name) return column.number;
  }
  return std::nullopt;
}

int SessionSubjects::numberOf(std::string_view name) const {
  if (const auto number = find(name)) return *number;
  throw std::runtime_error("科目“" + std::string(name) +
                           "”是登录之后才设置的，没有成绩列，请重新登录后再操作");
}

std::string SessionSubjects::selectList() const {
  std::string list;
  for (const auto& column : columns_) {
    list += ", " + subjectColumn(column.number) + " as " + subjectKey(column.number);
  }
  return list;
}

}  // namespace zeziza::pages
