#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "pages/common/bound_statement.h"
#include "store/query.h"
#include "web/controls/db_grid.h"
#include "web/controls/pager.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// The roster's result: the pager line and the data grid over this region's own query,
// twenty rows a page from the query's cursor.
class RosterResults : public web::Region {
 public:
  static constexpr std::size_t kRowsPerPage = 20;

  explicit RosterResults(web::Container& parent);

  // Gives the grid its query on `connection`; the action columns call back with `bh`.
  void bind(store::Connection& connection, std::function<void(const std::string&)> onDelete,
            std::function<void(const std::string&)> onChange);
  // Runs `statement` and shows its first page.
  void run(BoundStatement statement);
  // Runs the last statement again and shows page `page` (from 1), or the last page if the
  // result has fewer now.
  void rerun(std::size_t page);
  bool hasRun() const { return last_.has_value() && query_ && query_->isOpen(); }
  std::size_t currentPage() const { return resultPager.span().index + 1; }

  // Row `row` of the result whose `bh` is `key`; nullopt when the result does not hold it.
  std::optional<std::size_t> findStudent(std::int64_t key) const;
  // The result; closed before the first run.
  const store::Query& query() const { return *query_; }

  web::Pager resultPager{*this, "resultPager", kRowsPerPage};
  web::DBGrid resultsGrid{*this, "resultsGrid"};

 private:
  // Moves the cursor to the first row of the page the pager shows.
  void showPage();

  std::optional<store::Query> query_;
  std::optional<BoundStatement> last_;
};

}  // namespace zeziza::pages
