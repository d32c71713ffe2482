#include "pages/analysis/score_columns.h"

#include <stdexcept>

#include "web/user_session.h"

namespace zeziza::pages {

SessionSubjects SessionSubjects::current() {
  return SessionSubjects(web::currentSession().login.subjects);
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

}  // namespace zeziza::pages
