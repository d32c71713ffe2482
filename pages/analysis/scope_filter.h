#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/common/bound_statement.h"
#include "store/value.h"

namespace zeziza::store {
class Query;
}
namespace zeziza::web {
class ComboBox;
}

namespace zeziza::pages {

// The columns a scope can be narrowed by.
enum class ScopeColumn { Exam, Unit, Grade, Class };

// The conditions of an analysis page's scope: one " and <column>=?" per condition, in the
// order added, each value bound. Column names are the program's own text; a user's value
// never becomes part of the statement.
class ScopeFilter {
 public:
  ScopeFilter& equals(ScopeColumn column, std::string value);
  // A condition for the chosen item, unless it is the box's first item (which means "all")
  // or nothing is chosen.
  ScopeFilter& unlessFirst(ScopeColumn column, const web::ComboBox& box);
  // A condition for the chosen item unless its text is `allText`.
  ScopeFilter& unlessText(ScopeColumn column, const web::ComboBox& box, std::string_view allText);
  // Students whose name holds `part` as plain text (its %, _ and \ match only themselves);
  // no condition when `part` holds only blanks.
  ScopeFilter& nameContains(std::string_view part);

  const std::string& sql() const { return sql_; }
  const std::vector<store::Value>& params() const { return params_; }

 private:
  std::string sql_;
  std::vector<store::Value> params_;
};

// One row with the number of students in the roster that match the unit, grade, class and
// name conditions of `filter` (an exam condition has no place here).
BoundStatement enrolledStatement(const ScopeFilter& filter);
int countEnrolled(store::Query& query, const ScopeFilter& filter);

}  // namespace zeziza::pages
