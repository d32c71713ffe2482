#include "pages/master/roster_results.h"

#include "pages/common/match_count.h"

namespace zeziza::pages {

RosterResults::RosterResults(web::Container& parent) : web::Region(parent, "ResultArea") {
  resultPager.IdleText = "符合条件记录";
  resultPager.StatusText = matchCountLine;
  resultPager.OnPageChange = [this] { showPage(); };
  resultsGrid.RowLimit = kRowsPerPage;
  resultsGrid.FromStart = false;
}

void RosterResults::bind(store::Connection& connection,
                         std::function<void(const std::string&)> onDelete,
                         std::function<void(const std::string&)> onChange) {
  query_.emplace(connection);
  resultsGrid.DataSource = &*query_;
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

void RosterResults::run(BoundStatement statement) {
  last_ = std::move(statement);
  rerun(1);
}

void RosterResults::rerun(std::size_t page) {
  if (!last_ || !query_) return;
  query_->open(last_->sql, last_->params);
  resultPager.show(query_->recordCount(), page == 0 ? 0 : page - 1);
  showPage();
}

std::optional<std::size_t> RosterResults::findStudent(std::int64_t key) const {
  if (!hasRun()) return std::nullopt;
  const std::size_t column = query_->fieldIndex("bh");
  const auto& rows = query_->rows();
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (rows[row][column].asInt() == key) return row;
  }
  return std::nullopt;
}

void RosterResults::showPage() {
  if (!hasRun()) return;
  query_->first();
  query_->moveBy(static_cast<long>(resultPager.span().first()));
}

}  // namespace zeziza::pages
