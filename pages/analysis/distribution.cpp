#include "pages/analysis/distribution.h"

#include <cstdint>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "pages/analysis/analysis_access.h"
#include "pages/analysis/scope_filter.h"
#include "pages/analysis/scope_lists.h"
#include "pages/analysis/score_columns.h"
#include "pages/common/text.h"
#include "store/analysis_statements.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kParameterError = "参数错误，请设定参数后操作";
constexpr const char* kTieMessage =
    "分界点位置出现并列成绩，已保留并列学生，将导致符合条件人数大于要求人数！请注意查看！";
constexpr const char* kDetailsCaption = "查看详情";
constexpr int kDetailsColumn = 4;

enum RangeKind { kTopX = 0, kBottomX = 1, kAtLeastX = 2, kAtMostX = 3 };

// X as typed, blanks around it allowed.
std::optional<long long> parseX(std::string_view text) {
  return exactInteger<long long>(analysis::trimmedView(text));
}

std::string placeKey(const std::string& unit, const std::string& grade, const std::string& cls) {
  // Lengths first, so no unit, grade or class text can run into the next one.
  return std::to_string(unit.size()) + ':' + unit + std::to_string(grade.size()) + ':' + grade +
         cls;
}

std::string resultPlaceKey(const store::Query& query, std::size_t row) {
  return placeKey(query.fieldAt(row, query.fieldIndex("学校")).asText(),
                  query.fieldAt(row, query.fieldIndex("年级")).asText(),
                  query.fieldAt(row, query.fieldIndex("班次")).asText());
}

void setRow(web::Grid& grid, int row, const std::vector<std::string>& cells) {
  for (std::size_t c = 0; c < cells.size(); ++c)
    grid.cell(row, static_cast<int>(c)).Text = cells[c];
}

}  // namespace

TIWForm13::TIWForm13() : web::Page("TIWForm13") {
  Title = "分布情况";
  OnCreate = [this] { IWAppFormCreate(); };
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

void TIWForm13::IWAppFormCreate() {
  if (!allowAnalysisPage(*this)) return;
  const auto settings = web::UserSession().context().settings().get();
  fillCombo(IWComboBox1, sessionExams());
  IWComboBox1.select(web::UserSession().defaultExam);
  fillComboWithAll(IWComboBox2, "所有学校", settings->units);
  fillCombo(IWComboBox3, sessionGrades());
  std::vector<std::string> columns = {"平均分", "总分"};
  columns.insert(columns.end(), settings->subjects.begin(), settings->subjects.end());
  fillCombo(IWComboBox4, std::move(columns));
  fillCombo(IWComboBox5, {"名次范围[前X名]", "名次范围[后X名]", "成绩范围[高于等于X分]",
                          "成绩范围[低于等于X分]"});
}

std::string TIWForm13::chosenColumn() const {
  if (IWComboBox4.ItemIndex == 0) return "cj.pj";
  if (IWComboBox4.ItemIndex == 1) return "cj.zf";
  return subjectColumn(IWComboBox4.ItemIndex - 1);
}

bool TIWForm13::rankKind() const {
  return IWComboBox5.ItemIndex == kTopX || IWComboBox5.ItemIndex == kBottomX;
}

void TIWForm13::openRange(long long x) {
  const SessionSubjects subjects = SessionSubjects::current();
  const std::string column = chosenColumn();
  ScopeFilter scope;
  scope.equals(ScopeColumn::Exam, IWComboBox1.text())
      .unlessFirst(ScopeColumn::Unit, IWComboBox2)
      .equals(ScopeColumn::Grade, IWComboBox3.text());
  // The top (bottom) X keep every row tied with the X-th.
  const store::BoundStatement statement =
      rankKind()
          ? store::rankedRowsStatement(subjects.columns(), column, IWComboBox5.ItemIndex == kTopX,
                                       scope.conditions(), static_cast<std::int64_t>(x))
          : store::rowsWithinStatement(subjects.columns(), column,
                                       IWComboBox5.ItemIndex == kAtLeastX, scope.conditions(),
                                       static_cast<std::int64_t>(x));
  web::UserSession().sqla.open(statement.sql, statement.params);
}

void TIWForm13::IWButton1Click() {
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
  openRange(*x);
  const store::Query& result = web::UserSession().sqla;
  if (rankKind() && result.recordCount() > static_cast<std::size_t>(*x)) {
    web::ShowMessage(kTieMessage);
  }
  countPlaces(result);
  IWGrid1.Visible = true;
  export_ = {{"统计范围:", IWComboBox1.text(), chosenText(IWComboBox2), IWComboBox3.text(),
              IWComboBox4.text(), IWComboBox5.text(), "X=" + std::to_string(*x)},
             spreadsheet::workbookName("分数段分布",
                                       {IWComboBox1.text(), chosenUnless(IWComboBox2, "所有学校"),
                                        IWComboBox3.text(), IWComboBox4.text()})};
  detailsExport_ = {};
}

// One row per unit, grade and class in the order each first occurs in the result.
void TIWForm13::countPlaces(const store::Query& result) {
  IWGrid1.setColumnCount(5);
  setRow(IWGrid1, 0, {"单  位", "年  级", "班  次", "学生人数", "详  情"});
  std::map<std::string, int> rowOfPlace;
  for (std::size_t i = 0; i < result.recordCount(); ++i) {
    const auto [it, added] = rowOfPlace.emplace(resultPlaceKey(result, i), IWGrid1.rowCount());
    if (!added) {
      auto& count = IWGrid1.cell(it->second, 3).Text;
      count = std::to_string(std::stoi(count) + 1);
      continue;
    }
    const int r = IWGrid1.rowCount();
    IWGrid1.setRowCount(r + 1);
    setRow(IWGrid1, r,
           {result.fieldAt(i, result.fieldIndex("学校")).asText(),
            result.fieldAt(i, result.fieldIndex("年级")).asText(),
            result.fieldAt(i, result.fieldIndex("班次")).asText(), "1", kDetailsCaption});
    IWGrid1.cell(r, kDetailsColumn).Clickable = true;
  }
}

void TIWForm13::IWGrid1CellClick(int row, int column) {
  if (!allowAnalysisAction() || row < 1 || column != kDetailsColumn) return;
  const store::Query& result = web::UserSession().sqla;
  if (!result.isOpen()) return;
  const SessionSubjects subjects = SessionSubjects::current();
  // Result columns in the order of the column box: 平均分, 总分, then each subject.
  std::vector<std::size_t> valueColumns;
  for (std::size_t i = 0; i < IWComboBox4.Items.size(); ++i) {
    const std::string& item = IWComboBox4.Items[i];
    valueColumns.push_back(result.fieldIndex(i < 2 ? item : subjectKey(subjects.numberOf(item))));
  }
  std::vector<std::string> header = {"学生编号", "姓名"};
  header.insert(header.end(), IWComboBox4.Items.begin(), IWComboBox4.Items.end());
  IWGrid2.setRowCount(0);
  IWGrid2.setColumnCount(static_cast<int>(header.size()));
  IWGrid2.setRowCount(1);
  setRow(IWGrid2, 0, header);
  const std::string key =
      placeKey(IWGrid1.cell(row, 0).Text, IWGrid1.cell(row, 1).Text, IWGrid1.cell(row, 2).Text);
  for (std::size_t i = 0; i < result.recordCount(); ++i) {
    if (resultPlaceKey(result, i) != key) continue;
    std::vector<std::string> cells = {result.fieldAt(i, result.fieldIndex("考号")).asText(),
                                      result.fieldAt(i, result.fieldIndex("姓名")).asText()};
    for (const std::size_t c : valueColumns) cells.push_back(result.fieldAt(i, c).asText());
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

void TIWForm13::ExportLinkClick() {
  if (!allowAnalysisAction()) return;
  using spreadsheet::CellKind;
  sendAnalysis(export_, gridTexts(IWGrid1),
               {CellKind::Text, CellKind::Text, CellKind::Text, CellKind::Number, CellKind::Skip});
}

void TIWForm13::DetailsExportClick() {
  if (!allowAnalysisAction()) return;
  using spreadsheet::CellKind;
  sendAnalysis(detailsExport_, gridTexts(IWGrid2), {CellKind::Text, CellKind::Text});
}

void TIWForm13::IWLink1Click() {
  IWRegion1.Visible = false;
}

}  // namespace zeziza::pages
