#include "pages/master/roster_results.h"

#include <algorithm>

namespace zeziza::pages {

RosterResults::RosterResults(web::Container& parent) : web::Region(parent, "ResultArea") {
  countLabel.Caption = "符合条件记录";
  firstPageLink.Caption = "【首页】";
  previousPageLink.Caption = "【上页】";
  nextPageLink.Caption = "【下页】";
  lastPageLink.Caption = "【末页】";
  for (auto* link : {&firstPageLink, &previousPageLink, &nextPageLink, &lastPageLink})
    link->Visible = false;
  GoTo.Caption = "转到第";
  PageWord.Caption = "页";
  pageBox.NoSelectionText = "";
  pageBox.Css = "srk pages";
  resultsGrid.RowLimit = kRosterRowsPerPage;
  resultsGrid.FromStart = false;
}

void RosterResults::bind(store::Query& query, std::function<void(const std::string&)> onDelete,
                         std::function<void(const std::string&)> onChange) {
  query_ = &query;
  resultsGrid.DataSource = &query;
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
  const std::size_t pages = pageCount(query_->recordCount());
  pageBox.Items.clear();
  for (std::size_t p = 1; p <= pages; ++p) pageBox.Items.push_back(std::to_string(p));
  pageBox.ItemIndex = pages == 0 ? -1 : static_cast<int>(std::min(page, pages)) - 1;
  for (auto* link : {&firstPageLink, &previousPageLink, &nextPageLink, &lastPageLink})
    link->Visible = true;
  showChosenPage();
  if (pages == 0) countLabel.Caption = countLine(0, 1, 0);
}

std::size_t RosterResults::currentPage() const {
  return pageBox.ItemIndex < 0 ? 1 : static_cast<std::size_t>(pageBox.ItemIndex) + 1;
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

void RosterResults::showChosenPage() {
  if (!hasRun() || pageBox.ItemIndex < 0) return;
  const std::size_t page = currentPage();
  query_->first();
  query_->moveBy(static_cast<long>(kRosterRowsPerPage * (page - 1)));
  countLabel.Caption = countLine(query_->recordCount(), page, pageBox.Items.size());
}

void RosterResults::firstPage() {
  if (pageBox.Items.empty()) return;
  pageBox.ItemIndex = 0;
  showChosenPage();
}

void RosterResults::previousPage() {
  if (pageBox.ItemIndex <= 0) return;
  --pageBox.ItemIndex;
  showChosenPage();
}

void RosterResults::nextPage() {
  if (pageBox.ItemIndex + 1 >= static_cast<int>(pageBox.Items.size())) return;
  ++pageBox.ItemIndex;
  showChosenPage();
}

void RosterResults::lastPage() {
  if (pageBox.Items.empty()) return;
  pageBox.ItemIndex = static_cast<int>(pageBox.Items.size()) - 1;
  showChosenPage();
}

}  // namespace zeziza::pages
