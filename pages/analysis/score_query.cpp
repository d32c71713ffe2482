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
#include "pages/common/match_count.h"
#include "pages/common/page_rights.h"
#include "pages/common/rights.h"
#include "pages/common/workbook_download.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kNoResultStatus = "---";

// The users who are offered the query: administrators (0, 1) and 普通用户 (4) land on it at
// sign-in and reach it from the navigation bar, which the other codes never see.
std::function<void()> guarded(std::function<void()> handler) {
  return [handler = std::move(handler)] {
    if (requireRights(page_rights::kAnalysis)) handler();
  };
}

int countRows(store::Connection& connection, const BoundStatement& statement) {
  store::Query query(connection);
  query.open(statement.sql, statement.params);
  return static_cast<int>(query.fieldAt(0, 0).asInt());
}

}  // namespace

ScoreQueryPage::ScoreQueryPage() : web::Page(kName) {
  Title = "Zeziza学生成绩管理系统";
  LockOnSubmit = false;
  OnCreate = [this] { onCreate(); };
  queryButton.OnClick = guarded([this] { onQuery(); });
  resultPager.OnPageChange = guarded([this] { onPageChosen(); });
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
  resultPager.IdleText = kNoResultStatus;
  resultPager.StatusText = matchCountLine;
  resultsGrid.RowLimit = kRowsPerPage;
  resultsGrid.Css = "qbk rowhover iw-keep-3";  // 考试名称, 考号 and 姓名 stay in view
}

void ScoreQueryPage::onCreate() {
  shownRows_.emplace(web::currentSession().dataConnection);
  resultsGrid.DataSource = &*shownRows_;
  if (!requirePageRights(*this, page_rights::kAnalysis)) return;
  History.showFor(hasRights({rights::kSuperAdmin, rights::kAdmin}));
  fillLists();
}

void ScoreQueryPage::fillLists() {
  const auto settings = web::currentSession().context().settings().get();
  scopeBoxes.fill();
  sortBox.Items = sortItems(settings->subjects);
  sortBox.ItemIndex = 0;
  directionBox.Items = {"升序排列", "降序排列"};
  directionBox.ItemIndex = 0;
}

ScoreQueryFilter ScoreQueryPage::chosenFilter() const {
  ScoreQueryFilter filter;
  filter.exam = scopeBoxes.chosenExam();
  filter.scope = scopeBoxes.scope();
  filter.name = nameEdit.Text;
  filter.sortItem = std::max(sortBox.ItemIndex, 0);
  filter.descending = directionBox.ItemIndex == 1;
  filter.averages = sessionAverageBasis();
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
    shownRows_->close();
    showNoResult();
    throw;
  }
  searchedScope_ = {chosenText(examBox), chosenText(unitBox), chosenText(gradeBox),
                    chosenText(classBox)};
  resultsGrid.Columns.clear();
  for (const auto& name : shownRows_->fieldNames()) {
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
  store::Query& shown = *shownRows_;
  ScoreQueryResult(session.login.subjects, {}, filter.averages).read(shown, 0, 0);
  if (!hasEverySubject(shown, subjects)) {
    shown.close();
    showNoResult();
    return false;
  }
  std::vector<std::size_t> columns;
  for (const auto& subject : subjects) columns.push_back(shown.fieldIndex(subject));
  SearchPass pass = stepSearch(session.dataConnection.db(),
                               keyedScoreQueryStatement(filter, session.login.subjects), columns);
  const auto records = filter.exam ? examRecords(filter, subjects, scale, std::move(pass.values))
                                   : recordsPerExam(filter, subjects, columns, scale);
  statisticsPanel.fill(records, scale.sharedBandCaptions(subjects), scale.rateBasis());
  result_.emplace(session.login.subjects, std::move(pass.keys), filter.averages);
  return true;
}

std::vector<SubjectRecord> ScoreQueryPage::examRecords(const ScoreQueryFilter& filter,
                                                       const std::vector<std::string>& subjects,
                                                       const ScoreScale& scale,
                                                       std::vector<std::vector<double>> values) {
  store::Connection& connection = web::currentSession().dataConnection;
  return subjectRecords(
      subjects, values, [&](const std::string& subject) { return scale.limits(subject); },
      [&] { return countRows(connection, enrolledCountStatement(filter)); });
}

// 全部考试: a student sits each exam, so the statistics are made exam by exam, each row named
// by its exam, and the same students are enrolled in each.
std::vector<SubjectRecord> ScoreQueryPage::recordsPerExam(const ScoreQueryFilter& filter,
                                                          const std::vector<std::string>& subjects,
                                                          std::span<const std::size_t> columns,
                                                          const ScoreScale& scale) {
  web::Session& session = web::currentSession();
  std::vector<SubjectRecord> records;
  for (const std::string& exam : session.login.exams) {
    ScoreQueryFilter one = filter;
    one.exam = exam;
    SearchPass pass = stepSearch(session.dataConnection.db(),
                                 keyedScoreQueryStatement(one, session.login.subjects), columns);
    if (pass.keys.empty()) continue;
    for (SubjectRecord& record : examRecords(one, subjects, scale, std::move(pass.values))) {
      record.subject = exam + " " + record.subject;
      records.push_back(std::move(record));
    }
  }
  if (records.empty()) {
    for (const std::string& subject : subjects) records.push_back({subject, std::nullopt});
  }
  return records;
}

void ScoreQueryPage::showNoResult() {
  resultsGrid.Columns.clear();
  statisticsPanel.clear();
  resultPager.reset();
}

void ScoreQueryPage::fillPaging(std::size_t rows) {
  resultPager.show(rows);
  onPageChosen();
}

// The page's rows are read again by key into the grid's query.
void ScoreQueryPage::onPageChosen() {
  if (!result_) return;
  result_->read(*shownRows_, resultPager.span().first(), kRowsPerPage);
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
  web::currentSession().ShowPage<ReportCardsPage>(scopeBoxes.chosenExam().value_or(""),
                                                  scopeBoxes.scope());
}

}  // namespace zeziza::pages
