#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/common/bound_statement.h"
#include "store/scope_conditions.h"
#include "store/value.h"

namespace zeziza::store {
class Database;
}
namespace zeziza::web {
class ComboBox;
}

namespace zeziza::pages {

using store::ScopeColumn;

// The conditions of an analysis page's scope, as its boxes choose them.
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

  const store::ScopeConditions& conditions() const { return conditions_; }
  const std::string& sql() const { return conditions_.sql(); }
  const std::vector<store::Value>& params() const { return conditions_.params(); }

 private:
  store::ScopeConditions conditions_;
};

// One row with the number of students in the roster that match the unit, grade, class and
// name conditions of `filter` (an exam condition has no place here).
BoundStatement enrolledStatement(const ScopeFilter& filter);
int countEnrolled(store::Database& db, const ScopeFilter& filter);

}  // namespace zeziza::pages
