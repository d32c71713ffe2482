#include "pages/analysis/scope_filter.h"

#include <utility>

#include "store/row_stream.h"
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

int countEnrolled(store::Database& db, const ScopeFilter& filter) {
  int enrolled = 0;
  store::forEachRow(db, enrolledStatement(filter), [&](const store::Statement& row) {
    enrolled = static_cast<int>(row.columnInt(0));
  });
  return enrolled;
}

}  // namespace zeziza::pages
