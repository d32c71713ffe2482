#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/bound_statement.h"
#include "store/scope.h"
#include "store/value.h"

namespace zeziza::store {

class Database;

// The columns a scope can be narrowed by.
enum class ScopeColumn { Exam, Unit, Grade, Class };

// The conditions of an exam and a Scope over `ks` and `cj`, as statements bind them: one
// " and <column>=?" per condition, in the order added, each value bound. Column names are the
// program's own text; a user's value never becomes part of the statement.
class ScopeConditions {
 public:
  ScopeConditions& equals(ScopeColumn column, std::string value);
  // A condition for the exam; none for all exams.
  ScopeConditions& exam(const std::optional<std::string>& exam);
  // A condition for each part of `scope` that has a value.
  ScopeConditions& within(const Scope& scope);
  // Students whose name holds `part` as plain text (its %, _ and \ match only themselves);
  // no condition when `part` holds only blanks.
  ScopeConditions& nameContains(std::string_view part);

  const std::string& sql() const { return sql_; }
  const std::vector<Value>& params() const { return params_; }

 private:
  std::string sql_;
  std::vector<Value> params_;
};

// One row with the number of students in the roster that match the unit, grade, class and
// name conditions (an exam condition has no place here).
BoundStatement enrolledStatement(const ScopeConditions& scope);
// That number.
int countEnrolled(Database& db, const ScopeConditions& scope);

}  // namespace zeziza::store
