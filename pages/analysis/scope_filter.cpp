#include "pages/analysis/scope_filter.h"

#include <algorithm>
#include <stdexcept>

#include "store/query.h"
#include "web/controls/lists.h"

namespace zeziza::pages {

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

ScopeFilter& ScopeFilter::equals(ScopeColumn column, std::string value) {
  sql_ += " and ";
  sql_ += columnName(column);
  sql_ += "=?";
  params_.emplace_back(std::move(value));
  return *this;
}

ScopeFilter& ScopeFilter::unlessFirst(ScopeColumn column, const web::ComboBox& box) {
  if (box.ItemIndex > 0) equals(column, box.text());
  return *this;
}

ScopeFilter& ScopeFilter::unlessText(ScopeColumn column, const web::ComboBox& box,
                                     std::string_view allText) {
  if (box.text() != allText) equals(column, box.text());
  return *this;
}

ScopeFilter& ScopeFilter::nameContains(std::string_view part) {
  const bool blank = std::all_of(part.begin(), part.end(),
                                 [](char c) { return static_cast<unsigned char>(c) <= ' '; });
  if (blank) return *this;
  sql_ += " and ks.xm like ? escape '\\'";
  params_.emplace_back(containsPattern(part));
  return *this;
}

BoundStatement enrolledStatement(const ScopeFilter& filter) {
  if (filter.sql().find("cj.") != std::string::npos) {
    throw std::logic_error("the roster count takes no exam condition");
  }
  return {"select count(*) from ks where bh>-1" + filter.sql(), filter.params()};
}

int countEnrolled(store::Query& query, const ScopeFilter& filter) {
  const BoundStatement count = enrolledStatement(filter);
  query.open(count.sql, count.params);
  return static_cast<int>(query.fieldAt(0, 0).asInt());
}

}  // namespace zeziza::pages
