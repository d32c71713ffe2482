#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "store/query.h"
#include "store/roster_query.h"
#include "web/controls/db_grid.h"
#include "web/controls/pager.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// The roster's result: the pager line and the data grid. The students found are kept as their
// keys (8 bytes each); the rows of the page shown, twenty, are read again by key into this
// region's own query.
class RosterResults : public web::Region {
 public:
  static constexpr std::size_t kRowsPerPage = 20;

  explicit RosterResults(web::Container& parent);

  // Gives the grid its query on `connection`; the action columns call back with `bh`.
  void bind(store::Connection& connection, std::function<void(const std::string&)> onDelete,
            std::function<void(const std::string&)> onChange);
  // Finds the students of `filter` and shows the first page.
  void run(store::RosterFilter filter);
  // Finds them again and shows page `page` (from 1), or the last page if there are fewer now.
  void rerun(std::size_t page);
  bool hasRun() const { return filter_.has_value(); }
  std::size_t currentPage() const { return resultPager.span().index + 1; }
  const std::vector<std::int64_t>& keys() const { return keys_; }

  // The row of the page shown whose `bh` is `key`; nullopt when it shows no such row.
  std::optional<std::size_t> findStudent(std::int64_t key) const;
  // The rows of the page shown; closed before the first run.
  const store::Query& shownRows() const { return *shown_; }
  // Every student found, in order, a few hundred at a time; no students give one empty piece.
  void forEachPiece(const std::function<void(const store::Query& piece)>& onPiece) const;

  web::Pager resultPager{*this, "resultPager", kRowsPerPage};
  web::DBGrid resultsGrid{*this, "resultsGrid"};

 private:
  void showPage();

  store::Connection* connection_ = nullptr;
  std::optional<store::Query> shown_;
  std::optional<store::RosterFilter> filter_;
  std::vector<std::int64_t> keys_;
};

}  // namespace zeziza::pages
