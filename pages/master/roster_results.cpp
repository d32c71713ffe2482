#include "pages/master/roster_results.h"

#include <algorithm>
#include <span>

#include "pages/common/match_count.h"
#include "store/connection.h"
#include "store/row_stream.h"
#include "store/statement.h"

namespace zeziza::pages {

namespace {

void openRows(store::Query& query, std::span<const std::int64_t> keys) {
  const store::BoundStatement statement = store::rosterRowsByKeyStatement(keys);
  query.open(statement.sql, statement.params);
}

}  // namespace

RosterResults::RosterResults(web::Container& parent) : web::Region(parent, "ResultArea") {
  resultPager.IdleText = "符合条件记录";
  resultPager.StatusText = matchCountLine;
  resultPager.OnPageChange = [this] { showPage(); };
}

void RosterResults::bind(store::Connection& connection,
                         std::function<void(const std::string&)> onDelete,
                         std::function<void(const std::string&)> onChange) {
  connection_ = &connection;
  shown_.emplace(connection);
  resultsGrid.DataSource = &*shown_;
  resultsGrid.Columns.clear();
  for (const char* name : {"学生编号", "姓名", "学校", "年级", "班次"}) {
    resultsGrid.Columns.push_back({name, name, "", nullptr, {}});
  }
  web::DBGridColumn remove{"删除该学生", "删除该学生", "bh", std::move(onDelete), {}};
  remove.Confirmation = [](const store::Query& result, std::size_t row) {
    return "确定删除学生 " + result.fieldAt(row, result.fieldIndex("学生编号")).asText() + " " +
           result.fieldAt(row, result.fieldIndex("姓名")).asText() + "？";
  };
  resultsGrid.Columns.push_back(std::move(remove));
  resultsGrid.Columns.push_back({"修改", "修改", "bh", std::move(onChange), {}});
}

void RosterResults::run(store::RosterFilter filter) {
  filter_ = std::move(filter);
  rerun(1);
}

void RosterResults::rerun(std::size_t page) {
  if (!filter_ || !connection_) return;
  keys_.clear();
  store::forEachRow(connection_->db(), store::rosterKeysStatement(*filter_),
                    [this](const store::Statement& row) { keys_.push_back(row.columnInt(0)); });
  keys_.shrink_to_fit();
  resultPager.show(keys_.size(), page == 0 ? 0 : page - 1);
  showPage();
}

std::optional<std::size_t> RosterResults::findStudent(std::int64_t key) const {
  if (!hasRun()) return std::nullopt;
  const std::size_t column = shown_->fieldIndex("bh");
  const auto& rows = shown_->rows();
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (rows[row][column].asInt() == key) return row;
  }
  return std::nullopt;
}

void RosterResults::showPage() {
  if (!hasRun()) return;
  const web::PageSpan span = resultPager.span();
  openRows(*shown_, std::span(keys_).subspan(span.first(), span.end() - span.first()));
}

void RosterResults::forEachPiece(
    const std::function<void(const store::Query& piece)>& onPiece) const {
  store::Query piece(*connection_);
  std::size_t first = 0;
  do {
    const std::size_t count = std::min(store::kMaxKeysPerRead, keys_.size() - first);
    openRows(piece, std::span(keys_).subspan(first, count));
    onPiece(piece);
    first += store::kMaxKeysPerRead;
  } while (first < keys_.size());
}

}  // namespace zeziza::pages
