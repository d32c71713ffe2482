#include "pages/analysis/ranking.h"

#include <string>
#include <vector>

#include "pages/analysis/analysis_access.h"
#include "pages/analysis/scope_lists.h"
#include "pages/analysis/score_columns.h"
#include "pages/analysis/score_scale.h"
#include "pages/common/item_lists.h"
#include "store/ranking_rows.h"
#include "store/scope_conditions.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr int kFixedColumns = 9;  // 序号 … 平均分
constexpr int kTotalColumn = 7;

void writeHeader(web::Grid& grid, const std::vector<std::string>& subjects) {
  grid.setRowCount(0);
  grid.setColumnCount(kFixedColumns + static_cast<int>(subjects.size()));
  grid.setRowCount(1);
  const char* header[] = {"序号", "考号",     "姓名", "学校",  "年级",
                          "班次", "考试名称", "总分", "平均分"};
  for (int c = 0; c < kFixedColumns; ++c) grid.cell(0, c).Text = header[c];
  for (std::size_t s = 0; s < subjects.size(); ++s) {
    grid.cell(0, kFixedColumns + static_cast<int>(s)).Text = subjects[s];
  }
}

// The shown subjects the session has a column for, up to the first it has none for (set up
// after the user signed in): the passes stop there.
std::vector<store::SubjectColumn> rankedSubjects(const SessionSubjects& session,
                                                 const std::vector<std::string>& shown) {
  std::vector<store::SubjectColumn> ranked;
  for (const auto& name : shown) {
    const auto number = session.find(name);
    if (!number) break;
    ranked.push_back({*number, name});
  }
  return ranked;
}

}  // namespace

RankingPage::RankingPage() : web::Page(kName) {
  Title = "成绩排序";
  OnCreate = [this] { onCreate(); };
  resultGrid.Css = "grid iw-keep-3";  // 序号, 考号 and 姓名 stay in view
  scopeLabel.Caption = "排序范围";
  analyseButton.Caption = "排序";
  analyseButton.OnClick = [this] { onAnalyse(); };
  makeExportLink(ExportLink, [this] { onExport(); });
  resultGrid.Visible = false;
}

void RankingPage::onCreate() {
  if (!allowAnalysisPage(*this)) return;
  scopeBoxes.fill();
}

void RankingPage::onAnalyse() {
  if (!allowAnalysisAction()) return;
  // A student has a row in each exam: ranked together, his rows would rank against each other.
  const std::optional<std::string> chosenExam = scopeBoxes.chosenExam();
  if (!chosenExam) {
    return web::ShowMessage("请选择一个考试后再排序，不同考试的成绩不能放在一起排名。");
  }
  store::ScopeConditions scope;
  scope.exam(chosenExam).within(scopeBoxes.scope());
  const auto settings = web::currentSession().context().settings().get();
  const SessionSubjects subjects = SessionSubjects::current();

  ranking_ = RankingTable();  // nothing of an earlier ranking is shown or saved after a failure
  writeHeader(resultGrid, settings->subjects);
  const auto ranked = rankedSubjects(subjects, settings->subjects);
  // One statement; the page keeps only keys and ranks, the grid reads its rows by key.
  store::Connection& connection = web::currentSession().dataConnection;
  ranking_ = RankingTable(connection.db(), ranked, settings->subjects.size(), scope,
                          sessionRankMode(), sessionAverageBasis());
  resultGrid.setRowSource(static_cast<int>(ranking_.size()), [this, &connection](int first, int n) {
    return ranking_.texts(connection.db(), static_cast<std::size_t>(first),
                          static_cast<std::size_t>(n));
  });
  if (ranked.size() < settings->subjects.size()) {
    subjects.numberOf(settings->subjects[ranked.size()]);  // says which
  }
  resultGrid.Visible = true;
  const std::string& exam = *chosenExam;
  export_ = {{"排序范围:", exam, chosenText(unitBox), chosenText(gradeBox), chosenText(classBox)},
             spreadsheet::workbookName("成绩排序", {exam, chosenUnless(unitBox, "所有学校"),
                                                    chosenUnless(gradeBox, "全部年级"),
                                                    chosenUnless(classBox, "所有班")})};
}

void RankingPage::onExport() {
  if (!allowAnalysisAction()) return;
  using spreadsheet::CellKind;
  // 序号, then 考号 … 考试名称 as texts; every score column as its rank and its value.
  std::vector<CellKind> kinds = {CellKind::Number};
  kinds.resize(kTotalColumn, CellKind::Text);
  kinds.resize(static_cast<std::size_t>(resultGrid.columnCount()), CellKind::Ranked);
  store::Database& db = web::currentSession().dataConnection.db();
  // Every row, not only the page shown, a chunk at a time.
  sendAnalysisStream(export_, headerTexts(resultGrid), kinds, [&](const AnalysisRowSink& put) {
    for (std::size_t first = 0; first < ranking_.size(); first += store::kMaxKeysPerRead) {
      for (const auto& row : ranking_.texts(db, first, store::kMaxKeysPerRead)) put(row);
    }
  });
}

}  // namespace zeziza::pages
