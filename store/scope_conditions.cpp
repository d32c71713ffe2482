#include "store/scope_conditions.h"

#include <algorithm>
#include <stdexcept>

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

void ScopeConditions::equals(ScopeColumn column, std::string value) {
  sql_ += " and ";
  sql_ += columnName(column);
  sql_ += "=?";
  params_.emplace_back(std::move(value));
}

void ScopeConditions::nameContains(std::string_view part) {
  const bool blank = std::all_of(part.begin(), part.end(),
                                 [](char c) { return static_cast<unsigned char>(c) <= ' '; });
  if (blank) return;
  sql_ += " and ks.xm like ? escape '\\'";
  params_.emplace_back(containsPattern(part));
}

BoundStatement enrolledStatement(const ScopeConditions& scope) {
  if (scope.sql().find("cj.") != std::string::npos) {
    throw std::logic_error("the roster count takes no exam condition");
  }
  return {"select count(*) from ks where bh>-1" + scope.sql(), scope.params()};
}

}  // namespace zeziza::store
