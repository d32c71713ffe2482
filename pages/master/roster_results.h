#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "pages/common/bound_statement.h"
#include "pages/master/roster_paging.h"
#include "store/query.h"
#include "web/controls/actions.h"
#include "web/controls/db_grid.h"
#include "web/controls/display.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// The roster's result: the count line, the paging links, the page chooser and the data grid
// over the session's grid query, twenty rows a page from the query's cursor.
class RosterResults : public web::Region {
 public:
  explicit RosterResults(web::Container& parent);

  // Binds the grid to the session's grid query; the action columns call back with `bh`.
  void bind(store::Query& query, std::function<void(const std::string&)> onDelete,
            std::function<void(const std::string&)> onChange);
  // Runs `statement` and shows its first page.
  void run(BoundStatement statement);
  // Runs the last statement again and shows page `page` (from 1), or the last page if the
  // result has fewer now.
  void rerun(std::size_t page);
  bool hasRun() const { return last_.has_value() && query_ && query_->isOpen(); }
  std::size_t currentPage() const;

  // Row `row` of the result whose `bh` is `key`; nullopt when the result does not hold it.
  std::optional<std::size_t> findStudent(std::int64_t key) const;
  const store::Query& query() const { return *query_; }

  // Page chooser and links.
  void showChosenPage();
  void firstPage();
  void previousPage();
  void nextPage();
  void lastPage();

  web::Label countLabel{*this, "countLabel"};
  web::Link firstPageLink{*this, "firstPageLink"};
  web::Link previousPageLink{*this, "previousPageLink"};
  web::Link nextPageLink{*this, "nextPageLink"};
  web::Link lastPageLink{*this, "lastPageLink"};
  web::Label GoTo{*this, "GoToLabel"};
  web::ComboBox pageBox{*this, "pageBox"};
  web::Label PageWord{*this, "PageLabel"};
  web::DBGrid resultsGrid{*this, "resultsGrid"};

 private:
  store::Query* query_ = nullptr;
  std::optional<BoundStatement> last_;
};

}  // namespace zeziza::pages
