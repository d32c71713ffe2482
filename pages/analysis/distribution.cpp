#include "pages/analysis/distribution.h"

#include <cstdint>
#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "pages/analysis/analysis_access.h"
#include "pages/analysis/scope_filter.h"
#include "pages/analysis/scope_lists.h"
#include "pages/analysis/score_columns.h"
#include "pages/common/text.h"
#include "store/analysis_statements.h"
#include "store/ranking_rows.h"
#include "store/row_stream.h"
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

DistributionPage::DistributionPage() : web::Page("DistributionPage") {
  Title = "分布情况";
  OnCreate = [this] { onCreate(); };
  IWLabel1.Caption = "统计范围";
  IWLabel2.Caption = "统计科目";
  IWLabel3.Caption = "统计项目";
  IWLabel4.Caption = "X=";
  IWEdit1.Text = "10";
  IWButton1.Caption = "统计班级分布情况";
  IWButton1.OnClick = [this] { IWButton1Click(); };
  IWGrid1.Visible = false;
  IWGrid1.OnCellClick = [this](int row, int column) { IWGrid1CellClick(row, column); };
  IWRegion1.Css = "panel";
  IWRegion1.Visible = false;
  IWLabel5.Caption = kDetailsCaption;
  IWLabel5.Bold = true;
  IWLink1.Caption = "×";
  IWLink1.OnClick = [this] { IWLink1Click(); };
  makeExportLink(ExportLink, [this] { ExportLinkClick(); });
  makeExportLink(DetailsExport, [this] { DetailsExportClick(); });
}

void DistributionPage::onCreate() {
  if (!allowAnalysisPage(*this)) return;
  const auto settings = web::currentSession().context().settings().get();
  fillCombo(IWComboBox1, sessionExams());
  IWComboBox1.select(web::currentSession().defaultExam);
  fillComboWithAll(IWComboBox2, "所有学校", settings->units);
  fillCombo(IWComboBox3, sessionGrades());
  std::vector<std::string> columns = {"平均分", "总分"};
  columns.insert(columns.end(), settings->subjects.begin(), settings->subjects.end());
  fillCombo(IWComboBox4, std::move(columns));
  fillCombo(IWComboBox5, {"名次范围[前X名]", "名次范围[后X名]", "成绩范围[高于等于X分]",
                          "成绩范围[低于等于X分]"});
}

std::string DistributionPage::chosenColumn() const {
  if (IWComboBox4.ItemIndex == 0) return "cj.pj";
  if (IWComboBox4.ItemIndex == 1) return "cj.zf";
  return subjectColumn(IWComboBox4.ItemIndex - 1);
}

bool DistributionPage::rankKind() const {
  return IWComboBox5.ItemIndex == kTopX || IWComboBox5.ItemIndex == kBottomX;
}

std::size_t DistributionPage::readRange(long long x) {
  const std::string column = chosenColumn();
  ScopeFilter scope;
  scope.equals(ScopeColumn::Exam, IWComboBox1.text())
      .unlessFirst(ScopeColumn::Unit, IWComboBox2)
      .equals(ScopeColumn::Grade, IWComboBox3.text());
  // The top (bottom) X keep every row tied with the X-th.
  const store::BoundStatement statement =
      rankKind() ? store::rankedRowsStatement(column, IWComboBox5.ItemIndex == kTopX,
                                              scope.conditions(), static_cast<std::int64_t>(x))
                 : store::rowsWithinStatement(column, IWComboBox5.ItemIndex == kAtLeastX,
                                              scope.conditions(), static_cast<std::int64_t>(x));
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
  showPlaces(places);
  rangeKeys_ = std::move(keys);
  rangePlaces_ = std::move(placeOf);
  return rangeKeys_.size();
}

// One row per unit, grade and class in the order each first occurs in the result.
void DistributionPage::showPlaces(const std::vector<Place>& places) {
  IWGrid1.setColumnCount(5);
  IWGrid1.setRowCount(static_cast<int>(places.size()) + 1);
  setRow(IWGrid1, 0, {"单  位", "年  级", "班  次", "学生人数", "详  情"});
  for (std::size_t i = 0; i < places.size(); ++i) {
    const int r = static_cast<int>(i) + 1;
    const Place& p = places[i];
    setRow(IWGrid1, r, {p.unit, p.grade, p.cls, std::to_string(p.count), kDetailsCaption});
    IWGrid1.cell(r, kDetailsColumn).Clickable = true;
  }
}

void DistributionPage::IWButton1Click() {
  if (!allowAnalysisAction()) return;
  const auto x = parseX(IWEdit1.Text);
  if (!x || (rankKind() && *x <= 0)) {
    web::ShowMessage(kParameterError);
    return;
  }
  if (!requireChoice(IWComboBox1, "请先选择考试！") ||
      !requireChoice(IWComboBox3, "请先选择年级！")) {
    return;
  }
  // The details of an older query would show students the new one does not hold.
  IWRegion1.Visible = false;
  IWGrid2.setRowCount(0);
  IWGrid1.setRowCount(1);
  IWGrid1.clear();
  rangeKeys_ = {};
  rangePlaces_ = {};
  const std::size_t rows = readRange(*x);
  if (rankKind() && rows > static_cast<std::size_t>(*x)) web::ShowMessage(kTieMessage);
  IWGrid1.Visible = true;
  export_ = {{"统计范围:", IWComboBox1.text(), chosenText(IWComboBox2), IWComboBox3.text(),
              IWComboBox4.text(), IWComboBox5.text(), "X=" + std::to_string(*x)},
             spreadsheet::workbookName("分数段分布",
                                       {IWComboBox1.text(), chosenUnless(IWComboBox2, "所有学校"),
                                        IWComboBox3.text(), IWComboBox4.text()})};
  detailsExport_ = {};
}

void DistributionPage::IWGrid1CellClick(int row, int column) {
  if (!allowAnalysisAction() || row < 1 || column != kDetailsColumn) return;
  const SessionSubjects subjects = SessionSubjects::current();
  // Value columns in the order of the column box: 平均分, 总分, then each subject.
  std::vector<store::SubjectColumn> shownSubjects;
  for (std::size_t i = 2; i < IWComboBox4.Items.size(); ++i) {
    const std::string& item = IWComboBox4.Items[i];
    shownSubjects.push_back({subjects.numberOf(item), item});
  }
  std::vector<std::string> header = {"学生编号", "姓名"};
  header.insert(header.end(), IWComboBox4.Items.begin(), IWComboBox4.Items.end());
  IWGrid2.setRowCount(0);
  IWGrid2.setColumnCount(static_cast<int>(header.size()));
  IWGrid2.setRowCount(1);
  setRow(IWGrid2, 0, header);
  std::vector<std::int64_t> keys;
  for (std::size_t i = 0; i < rangeKeys_.size(); ++i) {
    if (rangePlaces_[i] == static_cast<std::uint32_t>(row)) keys.push_back(rangeKeys_[i]);
  }
  for (const auto& cells : detailRows(shownSubjects, keys)) {
    const int r = IWGrid2.rowCount();
    IWGrid2.setRowCount(r + 1);
    setRow(IWGrid2, r, cells);
  }
  IWRegion1.Visible = true;
  detailsExport_ = export_;
  detailsExport_.scope.insert(
      detailsExport_.scope.end(),
      {IWGrid1.cell(row, 0).Text, IWGrid1.cell(row, 1).Text, IWGrid1.cell(row, 2).Text});
  detailsExport_.fileName = spreadsheet::workbookName(
      "分数段分布明细", {IWComboBox1.text(), IWGrid1.cell(row, 0).Text, IWGrid1.cell(row, 1).Text,
                         IWGrid1.cell(row, 2).Text});
}

void DistributionPage::ExportLinkClick() {
  if (!allowAnalysisAction()) return;
  using spreadsheet::CellKind;
  sendAnalysis(export_, gridTexts(IWGrid1),
               {CellKind::Text, CellKind::Text, CellKind::Text, CellKind::Number, CellKind::Skip});
}

void DistributionPage::DetailsExportClick() {
  if (!allowAnalysisAction()) return;
  using spreadsheet::CellKind;
  sendAnalysis(detailsExport_, gridTexts(IWGrid2), {CellKind::Text, CellKind::Text});
}

void DistributionPage::IWLink1Click() {
  IWRegion1.Visible = false;
}

}  // namespace zeziza::pages
