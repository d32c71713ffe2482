#include "pages/analysis/score_query.h"

#include <algorithm>
#include <functional>
#include <initializer_list>

#include "analysis/statistics_settings.h"
#include "export/sheet_layout.h"
#include "export/workbook_file.h"
#include "pages/analysis/report_cards.h"
#include "pages/analysis/score_scale.h"
#include "pages/common/item_lists.h"
#include "pages/common/rights.h"
#include "pages/common/workbook_download.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kNoResultStatus = "---";

// The users who are offered the query: administrators (0, 1) and 普通用户 (4) land on it at
// sign-in and reach it from the navigation bar, which the other codes never see.
constexpr std::initializer_list<int> kQueryRights = {rights::kSuperAdmin, rights::kAdmin,
                                                     rights::kViewer};

std::function<void()> guarded(std::function<void()> handler) {
  return [handler = std::move(handler)] {
    if (requireRights(kQueryRights)) handler();
  };
}

// The chosen item past the first ("all"), if any.
std::optional<std::string> chosenPastFirst(const web::ComboBox& box) {
  if (box.ItemIndex <= 0) return std::nullopt;
  return box.text();
}

std::string shownText(const web::ComboBox& box) {
  return box.ItemIndex < 0 ? std::string() : box.text();
}

std::string statusText(std::size_t rows, std::size_t page, std::size_t pages) {
  return "共有" + std::to_string(rows) + "条符合条件的记录  [第" + std::to_string(page) + "页/共" +
         std::to_string(pages) + "页]";
}

int countRows(store::Query& query, const BoundStatement& statement) {
  query.open(statement.sql, statement.params);
  const int count = static_cast<int>(query.fieldAt(0, 0).asInt());
  query.close();
  return count;
}

}  // namespace

ScoreQueryPage::ScoreQueryPage() : web::Page(kName) {
  Title = "Zeziza学生成绩管理系统";
  LockOnSubmit = false;
  OnCreate = [this] { onCreate(); };
  queryButton.OnClick = guarded([this] { onQuery(); });
  pageBox.OnChange = guarded([this] { onPageChosen(); });
  firstPageLink.OnClick = guarded([this] { onFirstPage(); });
  previousPageLink.OnClick = guarded([this] { onPreviousPage(); });
  nextPageLink.OnClick = guarded([this] { onNextPage(); });
  lastPageLink.OnClick = guarded([this] { onLastPage(); });
  exportLink.OnClick = guarded([this] { onExport(); });
  statisticsLink.OnClick = guarded([this] { onShowStatistics(); });
  PrintCards.OnClick = guarded([this] { onPrintCards(); });

  filterBar.Css = "bar";
  resultBar.Css = "bar";
  scopeLabel.Caption = "查询范围";
  scopeLabel.Bold = true;
  nameLabel.Caption = "姓名：";
  queryButton.Caption = "查询";
  resultLabel.Caption = "查询结果";
  resultLabel.Bold = true;
  exportLink.Caption = "【保存为EXCEL】";
  exportLink.Download = true;
  statisticsLink.Caption = "【查看统计信息】";
  PrintCards.Caption = "【打印成绩单】";
  statusLabel.Caption = kNoResultStatus;
  firstPageLink.Caption = "【首页】";
  previousPageLink.Caption = "【上页】";
  nextPageLink.Caption = "【下页】";
  lastPageLink.Caption = "【末页】";
  goToLabel.Caption = "转到第";
  pageLabel.Caption = "页";
  pagingBar.Visible = false;
  resultsGrid.RowLimit = kRowsPerPage;
  resultsGrid.FromStart = false;
  resultsGrid.Css = "qbk rowhover";
}

void ScoreQueryPage::onCreate() {
  if (!requirePageRights(*this, kQueryRights)) return;
  web::Session& session = web::currentSession();
  // No result of an earlier page is taken for this page's own, whichever way it was reached.
  session.sqla.close();
  resultsGrid.DataSource = &session.sqla;
  History.showFor(hasRights({rights::kSuperAdmin, rights::kAdmin}));
  fillLists();
}

void ScoreQueryPage::fillLists() {
  const web::Session& session = web::currentSession();
  const auto settings = web::currentSession().context().settings().get();
  classBox.Items = withFirst("所有班", settings->classes);
  classBox.ItemIndex = 0;
  unitBox.Items = withFirst("所有学校", settings->units);
  unitBox.ItemIndex = 0;
  examBox.Items = withFirst("全部考试", session.exams);
  examBox.ItemIndex = 0;
  const auto exam = std::find(examBox.Items.begin() + 1, examBox.Items.end(), session.defaultExam);
  if (exam != examBox.Items.end()) {
    examBox.ItemIndex = static_cast<int>(exam - examBox.Items.begin());
  }
  gradeBox.Items = withFirst("所有年级", session.grades);
  gradeBox.ItemIndex = 0;
  sortBox.Items = sortItems(settings->subjects);
  sortBox.ItemIndex = 0;
  directionBox.Items = {"升序排列", "降序排列"};
  directionBox.ItemIndex = 0;
}

ScoreQueryFilter ScoreQueryPage::chosenFilter() const {
  ScoreQueryFilter filter;
  filter.exam = chosenPastFirst(examBox);
  filter.unit = chosenPastFirst(unitBox);
  filter.grade = chosenPastFirst(gradeBox);
  filter.className = chosenPastFirst(classBox);
  filter.name = nameEdit.Text;
  filter.sortItem = std::max(sortBox.ItemIndex, 0);
  filter.descending = directionBox.ItemIndex == 1;
  return filter;
}

// The result's subject columns were named at sign-in: a subject added since has none.
bool ScoreQueryPage::hasEverySubject(const store::Query& result,
                                     const std::vector<std::string>& subjects) {
  for (const auto& subject : subjects) {
    if (!result.hasField(subject)) {
      web::ShowMessage("科目“" + subject + "”是在您登录之后增加的，请重新登录后再查询。");
      return false;
    }
  }
  return true;
}

void ScoreQueryPage::onQuery() {
  // Settings first: a bad threshold or band fails the search before anything changes.
  const auto settings = web::currentSession().context().settings().get();
  // Each subject's levels and bands in its own points.
  const ScoreScale scale = sessionScoreScale();
  const ScoreQueryFilter filter = chosenFilter();
  result_.reset();
  try {
    if (!search(filter, settings->subjects, scale)) return;
    fillPaging(result_->rowCount());
  } catch (...) {
    result_.reset();
    web::currentSession().sqla.close();
    showNoResult();
    throw;
  }
  searchedScope_ = {shownText(examBox), shownText(unitBox), shownText(gradeBox),
                    shownText(classBox)};
  resultsGrid.Columns.clear();
  for (const auto& name : web::currentSession().sqla.fieldNames()) {
    web::DBGridColumn column;
    column.DataField = name;
    column.Title = name;
    resultsGrid.Columns.push_back(std::move(column));
  }
}

// Steps the search once (false when a subject has no column): its keys are kept, each subject's
// values only until its statistics are made. The columns are named on an empty read first, so that
// the statistics read the same column a whole result named after the subject would give.
bool ScoreQueryPage::search(const ScoreQueryFilter& filter,
                            const std::vector<std::string>& subjects, const ScoreScale& scale) {
  web::Session& session = web::currentSession();
  ScoreQueryResult(session.subjects, {}).read(session.sqla, 0, 0);
  if (!hasEverySubject(session.sqla, subjects)) {
    session.sqla.close();
    showNoResult();
    return false;
  }
  std::vector<std::size_t> columns;
  for (const auto& subject : subjects) columns.push_back(session.sqla.fieldIndex(subject));
  SearchPass pass = stepSearch(session.dataConnection.db(),
                               keyedScoreQueryStatement(filter, session.subjects), columns);
  const auto records = subjectRecords(
      subjects, pass.values, [&](const std::string& subject) { return scale.limits(subject); },
      [&] { return countRows(session.sql2, enrolledCountStatement(filter)); });
  statisticsPanel.fill(records, scale.sharedBandCaptions(subjects));
  result_.emplace(session.subjects, std::move(pass.keys));
  return true;
}

void ScoreQueryPage::showNoResult() {
  resultsGrid.Columns.clear();
  statisticsPanel.clear();
  pageBox.Items.clear();
  pageBox.ItemIndex = -1;
  pagingBar.Visible = false;
  statusLabel.Caption = kNoResultStatus;
}

void ScoreQueryPage::fillPaging(std::size_t rows) {
  const std::size_t pages = (rows + kRowsPerPage - 1) / kRowsPerPage;
  pageBox.Items.clear();
  for (std::size_t p = 1; p <= pages; ++p) pageBox.Items.push_back(std::to_string(p));
  pageBox.ItemIndex = pages > 0 ? 0 : -1;
  pagingBar.Visible = rows >= 1;
  result_->read(web::currentSession().sqla, 0, kRowsPerPage);
  statusLabel.Caption = statusText(rows, 1, pages);
}

// The chosen page's rows are read again by key into the grid's query.
void ScoreQueryPage::onPageChosen() {
  const int index = pageBox.ItemIndex;
  if (!result_ || index < 0) return;
  result_->read(web::currentSession().sqla, kRowsPerPage * static_cast<std::size_t>(index),
                kRowsPerPage);
  statusLabel.Caption =
      statusText(result_->rowCount(), static_cast<std::size_t>(index) + 1, pageBox.Items.size());
}

void ScoreQueryPage::choosePage(int index) {
  pageBox.ItemIndex = index;
  onPageChosen();
}

void ScoreQueryPage::onFirstPage() {
  if (!pageBox.Items.empty()) choosePage(0);
}

void ScoreQueryPage::onPreviousPage() {
  if (pageBox.ItemIndex > 0) choosePage(pageBox.ItemIndex - 1);
}

void ScoreQueryPage::onNextPage() {
  const int last = static_cast<int>(pageBox.Items.size()) - 1;
  if (pageBox.ItemIndex >= 0 && pageBox.ItemIndex < last) {
    choosePage(pageBox.ItemIndex + 1);
  }
}

void ScoreQueryPage::onLastPage() {
  if (!pageBox.Items.empty()) choosePage(static_cast<int>(pageBox.Items.size()) - 1);
}

void ScoreQueryPage::onShowStatistics() {
  if (!result_) {
    web::ShowMessage("请先进行查询，才能查看统计信息！");
    return;
  }
  statisticsPanel.Visible = true;
}

// The sheet's scope row names the filters of the search that made the result, even when the
// boxes were changed since. Its rows are read again in order, a few hundred at a time.
void ScoreQueryPage::onExport() {
  if (!result_) {
    web::ShowMessage(std::string(kExportNoQueryMessage));
    return;
  }
  web::Session& session = web::currentSession();
  const auto subjects = session.context().settings().get()->subjects;
  store::Query columns(session.dataConnection);
  result_->read(columns, 0, 0);
  if (!hasEverySubject(columns, subjects)) return;
  const ScoreQueryResult& result = *result_;
  sendWorkbook([&](const auto& onPiece) { result.forEachPiece(session.dataConnection, onPiece); },
               spreadsheet::scoreQueryLayout(searchedScope_, subjects),
               spreadsheet::workbookDownloadName("成绩查询",
                                                 {searchedScope_.begin(), searchedScope_.end()}));
}

// The cards of the exam and scope chosen here, on a page of their own.
void ScoreQueryPage::onPrintCards() {
  web::currentSession().ShowPage<ReportCardsPage>(ReportCardScope{
      chosenPastFirst(examBox).value_or(""), chosenPastFirst(unitBox).value_or(""),
      chosenPastFirst(gradeBox).value_or(""), chosenPastFirst(classBox).value_or("")});
}

}  // namespace zeziza::pages
