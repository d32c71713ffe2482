#include "store/scope_conditions.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "store/row_stream.h"
#include "store/statement.h"

namespace zeziza::store {

namespace {

std::string_view columnName(ScopeColumn column) {
  switch (column) {
    case ScopeColumn::Exam:
      return "cj.ks";
    case ScopeColumn::Unit:
      return "ks.xx";
    case ScopeColumn::Grade:
      return "ks.nj";
    case ScopeColumn::Class:
      return "ks.bj";
  }
  throw std::logic_error("unknown scope column");
}

}  // namespace

ScopeConditions& ScopeConditions::equals(ScopeColumn column, std::string value) {
  sql_ += " and ";
  sql_ += columnName(column);
  sql_ += "=?";
  params_.emplace_back(std::move(value));
  return *this;
}

ScopeConditions& ScopeConditions::exam(const std::optional<std::string>& exam) {
  if (exam) equals(ScopeColumn::Exam, *exam);
  return *this;
}

ScopeConditions& ScopeConditions::within(const Scope& scope) {
  if (scope.unit) equals(ScopeColumn::Unit, *scope.unit);
  if (scope.grade) equals(ScopeColumn::Grade, *scope.grade);
  if (scope.cls) equals(ScopeColumn::Class, *scope.cls);
  return *this;
}

ScopeConditions& ScopeConditions::nameContains(std::string_view part) {
  const bool blank = std::all_of(part.begin(), part.end(),
                                 [](char c) { return static_cast<unsigned char>(c) <= ' '; });
  if (blank) return *this;
  sql_ += " and ks.xm like ? escape '\\'";
  params_.emplace_back(containsPattern(part));
  return *this;
}

BoundStatement enrolledStatement(const ScopeConditions& scope) {
  if (scope.sql().find("cj.") != std::string::npos) {
    throw std::logic_error("the roster count takes no exam condition");
  }
  return {"select count(*) from ks where bh>-1" + scope.sql(), scope.params()};
}

int countEnrolled(Database& db, const ScopeConditions& scope) {
  int enrolled = 0;
  forEachRow(db, enrolledStatement(scope),
             [&](const Statement& row) { enrolled = static_cast<int>(row.columnInt(0)); });
  return enrolled;
}

}  // namespace zeziza::store
