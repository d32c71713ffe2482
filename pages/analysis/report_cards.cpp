#include "pages/analysis/report_cards.h"

#include "analysis/averages.h"
#include "analysis/number_format.h"
#include "analysis/report_cards.h"
#include "pages/analysis/analysis_access.h"
#include "pages/analysis/analysis_export.h"
#include "pages/analysis/scope_lists.h"
#include "pages/analysis/score_scale.h"
#include "store/exam_score_rows.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

std::string scoreText(double value) {
  return value > 0 ? analysis::formatGeneral(value) : "缺考";
}

std::string averageText(double value) {
  return value > 0 ? analysis::formatFixed(value, 2) : "";
}

std::string rankText(const std::optional<std::uint32_t>& rank) {
  return rank ? std::to_string(*rank) : "-";
}

CardView cardView(const analysis::ReportCard& card, const analysis::ClassCards& cls,
                  const std::string& exam, const std::vector<std::string>& subjects,
                  const ScoreScale& scale) {
  const analysis::StudentScores& s = *card.scores;
  CardView view{s.unit + " " + exam + " 成绩单",
                s.grade + s.cls,
                s.name,
                s.id,
                {},
                rankText(card.classRank),
                rankText(card.unitRank),
                rankText(card.gradeRank)};
  for (std::size_t j = 0; j < subjects.size(); ++j) {
    const double score = j < s.subjects.size() ? s.subjects[j] : 0;
    view.lines.push_back({subjects[j], scoreText(score), scale.levelOf(subjects[j], score),
                          averageText(cls.subjectAverages[j])});
  }
  view.lines.push_back(
      {"总分", scoreText(s.total), scale.levelOf("总分", s.total), averageText(cls.totalAverage)});
  // A student who missed subjects of the class is marked where the average stands.
  view.lines.push_back({"平均分", scoreText(card.average) + analysis::missedMark(card.missed),
                        scale.levelOf("平均分", card.average), averageText(cls.averageAverage)});
  return view;
}

}  // namespace

ReportCardsPage::ReportCardsPage(std::string exam, store::Scope scope)
    : web::Page("ReportCardsPage"), exam_(std::move(exam)), scope_(std::move(scope)) {
  Title = "打印成绩单";
  OnCreate = [this] { onCreate(); };
  scopeBar.Css = "bar noprint";
  scopeLabel.Caption = "成绩单范围";
  makeButton.Caption = "生成成绩单";
  makeButton.OnClick = [this] { onMake(); };
  countLabel.Caption = "请选择考试和范围，然后点击“生成成绩单”。";
  CardsBox.Css = "report-cards-box";
}

void ReportCardsPage::onCreate() {
  if (!allowAnalysisPage(*this)) return;
  scopeBoxes.fill();
  if (!exam_.empty()) examBox.select(exam_);
  if (scope_.unit) unitBox.select(*scope_.unit);
  if (scope_.grade) gradeBox.select(*scope_.grade);
  if (scope_.cls) classBox.select(*scope_.cls);
  if (!exam_.empty() && examBox.ItemIndex >= 0) onMake();
}

void ReportCardsPage::onMake() {
  if (!allowAnalysisAction() || !requireChoice(examBox, "请先选择考试！")) return;
  const store::Scope chosen = scopeBoxes.scope();
  const auto settings = web::currentSession().context().settings().get();
  const ScoreScale scale = sessionScoreScale();
  const std::string exam = examBox.text();
  // Every unit of the grade is read: the grade ranks count them all.
  const auto rows = store::readExamScoreRows(web::currentSession().dataConnection.db(), exam, {},
                                             chosen.grade.value_or(""), settings->subjects.size());
  const analysis::CardChoice choice{sessionRankMode(), sessionAverageBasis(),
                                    chosen.unit.value_or(""), chosen.cls.value_or("")};
  const auto classes = analysis::reportCards(rows, choice);
  Cards.Classes.clear();
  std::size_t count = 0;
  for (const auto& cls : classes) {
    std::vector<CardView> views;
    for (const auto& card : cls.cards) {
      views.push_back(cardView(card, cls, exam, settings->subjects, scale));
    }
    count += views.size();
    Cards.Classes.push_back(std::move(views));
  }
  countLabel.Caption = count == 0 ? "没有符合条件的成绩。"
                                  : "共" + std::to_string(count) +
                                        "张成绩单，每张占半张A4纸，每班从新的一页开始。"
                                        "请使用浏览器的打印功能（Ctrl+P）打印或另存为PDF。";
}

}  // namespace zeziza::pages
