#include "pages/analysis/distribution.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <numeric>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "pages/analysis/analysis_access.h"
#include "pages/analysis/scope_lists.h"
#include "pages/analysis/score_column_box.h"
#include "pages/analysis/score_columns.h"
#include "pages/analysis/score_scale.h"
#include "pages/common/item_lists.h"
#include "pages/common/text.h"
#include "store/analysis_statements.h"
#include "store/ranking_rows.h"
#include "store/row_stream.h"
#include "store/scope_conditions.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kParameterError = "参数错误，请设定参数后操作";
constexpr const char* kTieMessage =
    "分界点位置出现并列成绩，已保留并列学生，将导致符合条件人数大于要求人数！请注意查看！";
constexpr const char* kDetailsCaption = "查看详情";
constexpr int kDetailsColumn = 4;

// Result columns of the range statements.
enum PlaceField : int { kPlaceKey, kPlaceUnit, kPlaceGrade, kPlaceClass };

enum RangeKind { kTopX = 0, kBottomX = 1, kAtLeastX = 2, kAtMostX = 3 };

// X as typed, blanks around it allowed.
std::optional<long long> parseX(std::string_view text) {
  return exactInteger<long long>(base::trimmedView(text));
}

std::string placeKey(const std::string& unit, const std::string& grade, const std::string& cls) {
  // Lengths first, so no unit, grade or class text can run into the next one.
  return std::to_string(unit.size()) + ':' + unit + std::to_string(grade.size()) + ':' + grade +
         cls;
}

// Where `text` stands in one of the school's lists; a text the list lacks goes after all.
std::size_t listPosition(const std::vector<std::string>& list, const std::string& text) {
  return static_cast<std::size_t>(std::find(list.begin(), list.end(), text) - list.begin());
}

void setRow(web::Grid& grid, int row, const std::vector<std::string>& cells) {
  for (std::size_t c = 0; c < cells.size(); ++c)
    grid.cell(row, static_cast<int>(c)).Text = cells[c];
}

// The details of the score rows `keys`, in their order: 学生编号, 姓名, 平均分, 总分, then each
// of `subjects`. A row deleted since the range was read is left out.
std::vector<std::vector<std::string>> detailRows(const std::vector<store::SubjectColumn>& subjects,
                                                 const std::vector<std::int64_t>& keys) {
  std::unordered_map<std::int64_t, std::vector<std::string>> cellsOf;
  store::forEachScoreRowByKey(
      web::currentSession().dataConnection.db(), subjects, keys, [&](const store::Statement& r) {
        std::vector<std::string> cells = {std::string(r.columnText(store::kRowId)),
                                          std::string(r.columnText(store::kRowName))};
        // Scores as stored values show them (85, not 85.0).
        cells.push_back(r.column(store::kRowAverage).asText());
        cells.push_back(r.column(store::kRowTotal).asText());
        for (std::size_t s = 0; s < subjects.size(); ++s) {
          cells.push_back(r.column(store::kFirstSubjectField + static_cast<int>(s)).asText());
        }
        cellsOf.emplace(r.columnInt(store::kRowKey), std::move(cells));
      });
  std::vector<std::vector<std::string>> rows;
  for (const std::int64_t key : keys) {
    if (auto it = cellsOf.find(key); it != cellsOf.end()) rows.push_back(std::move(it->second));
  }
  return rows;
}

}  // namespace

DistributionPage::DistributionPage() : web::Page(kName) {
  Title = "分布情况";
  OnCreate = [this] { onCreate(); };
  detailsGrid.Css = "grid iw-keep-2";  // 学生编号 and 姓名 stay in view
  scopeLabel.Caption = "统计范围";
  columnLabel.Caption = "统计科目";
  limitLabel.Caption = "统计项目";
  xLabel.Caption = "X=";
  xEdit.Text = "10";
  analyseButton.Caption = "统计班级分布情况";
  analyseButton.OnClick = [this] { onAnalyse(); };
  resultGrid.Visible = false;
  resultGrid.OnCellClick = [this](int row, int column) { onShowDetails(row, column); };
  detailsPanel.Css = "panel";
  detailsPanel.Visible = false;
  detailsLabel.Caption = kDetailsCaption;
  detailsLabel.Bold = true;
  closeDetailsLink.Caption = "×";
  closeDetailsLink.OnClick = [this] { onCloseDetails(); };
  makeExportLink(ExportLink, [this] { onExport(); });
  makeExportLink(DetailsExport, [this] { onDetailsExport(); });
}

void DistributionPage::onCreate() {
  if (!allowAnalysisPage(*this)) return;
  scopeBoxes.fill();
  fillScoreColumnBox(columnBox, SummaryFirst::average);
  fillCombo(limitKindBox, {"名次范围[前X名]", "名次范围[后X名]", "成绩范围[高于等于X分]",
                           "成绩范围[低于等于X分]"});
}

store::ScoreColumn DistributionPage::chosenColumn() const {
  return chosenScoreColumn(columnBox, SummaryFirst::average);
}

bool DistributionPage::rankKind() const {
  return limitKindBox.ItemIndex == kTopX || limitKindBox.ItemIndex == kBottomX;
}

std::size_t DistributionPage::readRange(long long x, const store::Scope& chosen) {
  const store::ScoreColumn column = chosenColumn();
  store::ScopeConditions scope;
  scope.equals(store::ScopeColumn::Exam, examBox.text()).within(chosen);
  // The top (bottom) X keep every row tied with the X-th.
  const store::BoundStatement statement =
      rankKind() ? store::rankedRowsStatement(column, limitKindBox.ItemIndex == kTopX, scope,
                                              static_cast<std::int64_t>(x))
                 : store::rowsWithinStatement(column, limitKindBox.ItemIndex == kAtLeastX, scope,
                                              static_cast<std::int64_t>(x));
  // Read whole before anything is shown or kept.
  std::vector<Place> places;
  std::map<std::string, std::uint32_t> rowOfPlace;  // grid rows from 1
  std::vector<std::int64_t> keys;
  std::vector<std::uint32_t> placeOf;
  store::forEachRow(
      web::currentSession().dataConnection.db(), statement, [&](const store::Statement& row) {
        const Place seen{std::string(row.columnText(kPlaceUnit)),
                         std::string(row.columnText(kPlaceGrade)),
                         std::string(row.columnText(kPlaceClass)), 0};
        const auto [it, added] = rowOfPlace.emplace(placeKey(seen.unit, seen.grade, seen.cls),
                                                    static_cast<std::uint32_t>(places.size() + 1));
        if (added) places.push_back(seen);
        ++places[it->second - 1].count;
        keys.push_back(row.columnInt(kPlaceKey));
        placeOf.push_back(it->second);
      });
  sortPlaces(places, placeOf);
  showPlaces(places);
  rangeKeys_ = std::move(keys);
  rangePlaces_ = std::move(placeOf);
  return rangeKeys_.size();
}

void DistributionPage::sortPlaces(std::vector<Place>& places, std::vector<std::uint32_t>& placeOf) {
  const auto settings = web::currentSession().context().settings().get();
  using Key = std::tuple<std::size_t, const std::string&, const std::string&, std::size_t,
                         const std::string&>;
  const auto key = [&](const Place& p) {
    return Key(listPosition(settings->units, p.unit), p.unit, p.grade,
               listPosition(settings->classes, p.cls), p.cls);
  };
  std::vector<std::uint32_t> order(places.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return key(places[a]) < key(places[b]);
  });
  std::vector<Place> sorted;
  sorted.reserve(places.size());
  std::vector<std::uint32_t> rowOf(places.size());  // old index -> new grid row
  for (std::uint32_t i = 0; i < order.size(); ++i) {
    sorted.push_back(std::move(places[order[i]]));
    rowOf[order[i]] = i + 1;
  }
  places = std::move(sorted);
  for (auto& row : placeOf) row = rowOf[row - 1];
}

// One row per unit, grade and class.
void DistributionPage::showPlaces(const std::vector<Place>& places) {
  resultGrid.setColumnCount(5);
  resultGrid.setRowCount(static_cast<int>(places.size()) + 1);
  setRow(resultGrid, 0, {"单位", "年级", "班次", "学生人数", "详情"});
  for (std::size_t i = 0; i < places.size(); ++i) {
    const int r = static_cast<int>(i) + 1;
    const Place& p = places[i];
    setRow(resultGrid, r, {p.unit, p.grade, p.cls, std::to_string(p.count), kDetailsCaption});
    resultGrid.cell(r, kDetailsColumn).Clickable = true;
  }
}

void DistributionPage::onAnalyse() {
  if (!allowAnalysisAction()) return;
  const auto x = parseX(xEdit.Text);
  if (!x || (rankKind() && *x <= 0)) {
    web::ShowMessage(kParameterError);
    return;
  }
  if (!requireChoice(examBox, "请先选择考试！") || !requireChoice(gradeBox, "请先选择年级！")) {
    return;
  }
  const store::Scope chosen = scopeBoxes.scope();  // before anything changes: it may refuse
  // The details of an older query would show students the new one does not hold.
  detailsPanel.Visible = false;
  detailsGrid.setRowCount(0);
  resultGrid.setRowCount(1);
  resultGrid.clear();
  rangeKeys_ = {};
  rangePlaces_ = {};
  const std::size_t rows = readRange(*x, chosen);
  if (rankKind() && rows > static_cast<std::size_t>(*x)) web::ShowMessage(kTieMessage);
  resultGrid.Visible = true;
  export_ = {
      {"统计范围:", examBox.text(), chosenText(unitBox), gradeBox.text(), columnBox.text(),
       limitKindBox.text(), "X=" + std::to_string(*x)},
      spreadsheet::workbookName("分数段分布", {examBox.text(), chosenUnless(unitBox, "所有学校"),
                                               gradeBox.text(), columnBox.text()})};
  detailsExport_ = {};
}

void DistributionPage::onShowDetails(int row, int column) {
  if (!allowAnalysisAction() || row < 1 || column != kDetailsColumn) return;
  const SessionSubjects subjects = SessionSubjects::current();
  // Value columns in the order of the column box: 平均分, 总分, then each subject.
  std::vector<store::SubjectColumn> shownSubjects;
  for (std::size_t i = 2; i < columnBox.Items.size(); ++i) {
    const std::string& item = columnBox.Items[i];
    shownSubjects.push_back({subjects.numberOf(item), item});
  }
  std::vector<std::string> header = {"学生编号", "姓名"};
  header.insert(header.end(), columnBox.Items.begin(), columnBox.Items.end());
  detailsGrid.setRowCount(0);
  detailsGrid.setColumnCount(static_cast<int>(header.size()));
  detailsGrid.setRowCount(1);
  setRow(detailsGrid, 0, header);
  std::vector<std::int64_t> keys;
  for (std::size_t i = 0; i < rangeKeys_.size(); ++i) {
    if (rangePlaces_[i] == static_cast<std::uint32_t>(row)) keys.push_back(rangeKeys_[i]);
  }
  for (const auto& cells : detailRows(shownSubjects, keys)) {
    const int r = detailsGrid.rowCount();
    detailsGrid.setRowCount(r + 1);
    setRow(detailsGrid, r, cells);
  }
  detailsPanel.Visible = true;
  detailsExport_ = export_;
  detailsExport_.scope.insert(
      detailsExport_.scope.end(),
      {resultGrid.cell(row, 0).Text, resultGrid.cell(row, 1).Text, resultGrid.cell(row, 2).Text});
  detailsExport_.fileName = spreadsheet::workbookName(
      "分数段分布明细", {examBox.text(), resultGrid.cell(row, 0).Text, resultGrid.cell(row, 1).Text,
                         resultGrid.cell(row, 2).Text});
}

void DistributionPage::onExport() {
  if (!allowAnalysisAction()) return;
  using spreadsheet::CellKind;
  sendAnalysis(export_, gridTexts(resultGrid),
               {CellKind::Text, CellKind::Text, CellKind::Text, CellKind::Number, CellKind::Skip});
}

void DistributionPage::onDetailsExport() {
  if (!allowAnalysisAction()) return;
  using spreadsheet::CellKind;
  sendAnalysis(detailsExport_, gridTexts(detailsGrid), {CellKind::Text, CellKind::Text});
}

void DistributionPage::onCloseDetails() {
  detailsPanel.Visible = false;
}

}  // namespace zeziza::pages
