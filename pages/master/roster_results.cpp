#include "pages/master/roster_results.h"

#include <algorithm>

namespace zeziza::pages {

RosterResults::RosterResults(web::Container& parent) : web::Region(parent, "ResultArea") {
  IWLabel41.Caption = "符合条件记录";
  IWLink8.Caption = "【首页】";
  IWLink9.Caption = "【上页】";
  IWLink10.Caption = "【下页】";
  IWLink11.Caption = "【末页】";
  for (auto* link : {&IWLink8, &IWLink9, &IWLink10, &IWLink11}) link->Visible = false;
  GoTo.Caption = "转到第";
  PageWord.Caption = "页";
  IWComboBox23.NoSelectionText = "";
  IWComboBox23.Css = "srk pages";
  IWDBGrid2.RowLimit = kRosterRowsPerPage;
  IWDBGrid2.FromStart = false;
}

void RosterResults::bind(store::Query& query, std::function<void(const std::string&)> onDelete,
                         std::function<void(const std::string&)> onChange) {
  query_ = &query;
  IWDBGrid2.DataSource = &query;
  IWDBGrid2.Columns.clear();
  for (const char* name : {"学生编号", "姓名", "学校", "年级", "班次"}) {
    IWDBGrid2.Columns.push_back({name, name, "", nullptr, {}});
  }
  web::DBGridColumn remove{"删除该学生", "删除该学生", "bh", std::move(onDelete), {}};
  remove.Confirmation = [](const store::Query& result, std::size_t row) {
    return "确定删除学生 " + result.fieldAt(row, result.fieldIndex("学生编号")).asText() + " " +
           result.fieldAt(row, result.fieldIndex("姓名")).asText() + "？";
  };
  IWDBGrid2.Columns.push_back(std::move(remove));
  IWDBGrid2.Columns.push_back({"修改", "修改", "bh", std::move(onChange), {}});
}

void RosterResults::run(BoundStatement statement) {
  last_ = std::move(statement);
  rerun(1);
}

void RosterResults::rerun(std::size_t page) {
  if (!last_ || !query_) return;
  query_->open(last_->sql, last_->params);
  const std::size_t pages = pageCount(query_->recordCount());
  IWComboBox23.Items.clear();
  for (std::size_t p = 1; p <= pages; ++p) IWComboBox23.Items.push_back(std::to_string(p));
  IWComboBox23.ItemIndex = pages == 0 ? -1 : static_cast<int>(std::min(page, pages)) - 1;
  for (auto* link : {&IWLink8, &IWLink9, &IWLink10, &IWLink11}) link->Visible = true;
  showChosenPage();
  if (pages == 0) IWLabel41.Caption = countLine(0, 1, 0);
}

std::size_t RosterResults::currentPage() const {
  return IWComboBox23.ItemIndex < 0 ? 1 : static_cast<std::size_t>(IWComboBox23.ItemIndex) + 1;
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
  if (!hasRun() || IWComboBox23.ItemIndex < 0) return;
  const std::size_t page = currentPage();
  query_->first();
  query_->moveBy(static_cast<long>(kRosterRowsPerPage * (page - 1)));
  IWLabel41.Caption = countLine(query_->recordCount(), page, IWComboBox23.Items.size());
}

void RosterResults::firstPage() {
  if (IWComboBox23.Items.empty()) return;
  IWComboBox23.ItemIndex = 0;
  showChosenPage();
}

void RosterResults::previousPage() {
  if (IWComboBox23.ItemIndex <= 0) return;
  --IWComboBox23.ItemIndex;
  showChosenPage();
}

void RosterResults::nextPage() {
  if (IWComboBox23.ItemIndex + 1 >= static_cast<int>(IWComboBox23.Items.size())) return;
  ++IWComboBox23.ItemIndex;
  showChosenPage();
}

void RosterResults::lastPage() {
  if (IWComboBox23.Items.empty()) return;
  IWComboBox23.ItemIndex = static_cast<int>(IWComboBox23.Items.size()) - 1;
  showChosenPage();
}

}  // namespace zeziza::pages
