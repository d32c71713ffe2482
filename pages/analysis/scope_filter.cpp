#include "pages/analysis/scope_filter.h"

#include <utility>

#include "store/query.h"
#include "web/controls/lists.h"

namespace zeziza::pages {

ScopeFilter& ScopeFilter::equals(ScopeColumn column, std::string value) {
  conditions_.equals(column, std::move(value));
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
  conditions_.nameContains(part);
  return *this;
}

BoundStatement enrolledStatement(const ScopeFilter& filter) {
  return store::enrolledStatement(filter.conditions());
}

int countEnrolled(store::Query& query, const ScopeFilter& filter) {
  const BoundStatement count = enrolledStatement(filter);
  query.open(count.sql, count.params);
  return static_cast<int>(query.fieldAt(0, 0).asInt());
}

}  // namespace zeziza::pages
