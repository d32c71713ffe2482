#include "pages/analysis/score_statistics_panel.h"

#include <string>

#include "analysis/statistics_text.h"

namespace zeziza::pages {

namespace {

void setRow(web::Grid& grid, int row, const std::vector<std::string>& texts) {
  for (std::size_t c = 0; c < texts.size(); ++c)
    grid.cell(row, static_cast<int>(c)).Text = texts[c];
}

std::vector<std::string> summaryHeader(analysis::RateBasis rates) {
  std::vector<std::string> header{"科目"};
  analysis::ScoreStatistics none;
  none.rates = rates;
  for (const auto& row : analysis::statisticsRows(none)) {
    header.emplace_back(row.caption);
  }
  return header;
}

std::vector<std::string> summaryRow(const SubjectRecord& record) {
  std::vector<std::string> texts{record.subject};
  if (!record.stats) return texts;
  for (auto& row : analysis::statisticsRows(*record.stats)) texts.push_back(std::move(row.text));
  return texts;
}

std::vector<std::string> bandHeader(const std::vector<std::string>& captions) {
  std::vector<std::string> header{"科目", std::string(analysis::caption::kEnrolled),
                                  std::string(analysis::caption::kParticipants)};
  header.insert(header.end(), captions.begin(), captions.end());
  return header;
}

std::vector<std::string> bandRow(const SubjectRecord& record) {
  std::vector<std::string> texts{record.subject};
  if (!record.stats) return texts;
  texts.push_back(std::to_string(record.stats->enrolled));
  texts.push_back(std::to_string(record.stats->participants));
  for (auto& count : analysis::bandCountTexts(*record.stats)) texts.push_back(std::move(count));
  return texts;
}

void reset(web::Grid& grid, int rows, int columns) {
  grid.setRowCount(0);
  grid.setColumnCount(columns);
  grid.setRowCount(rows);
}

}  // namespace

ScoreStatisticsPanel::ScoreStatisticsPanel(web::Container& parent)
    : web::Region(parent, "statisticsPanel") {
  Css = "panel";
  Visible = false;
  statisticsLabel.Caption = " 成绩统计信息 ";
  statisticsLabel.Bold = true;
  closeStatisticsLink.Caption = "×";
  closeStatisticsLink.OnClick = [this] { onClose(); };
}

void ScoreStatisticsPanel::fill(const std::vector<SubjectRecord>& records,
                                std::span<const int> bands) {
  fill(records, analysis::bandCaptions(bands), analysis::RateBasis::Bands);
}

void ScoreStatisticsPanel::fill(const std::vector<SubjectRecord>& records,
                                const std::vector<std::string>& bandCaptions,
                                analysis::RateBasis rates) {
  const auto summary = summaryHeader(rates);
  const auto bandTitles = bandHeader(bandCaptions);
  const int rows = static_cast<int>(records.size()) + 1;
  reset(summaryGrid, rows, static_cast<int>(summary.size()));
  reset(bandsGrid, rows, static_cast<int>(bandTitles.size()));
  setRow(summaryGrid, 0, summary);
  setRow(bandsGrid, 0, bandTitles);
  for (std::size_t i = 0; i < records.size(); ++i) {
    setRow(summaryGrid, static_cast<int>(i) + 1, summaryRow(records[i]));
    setRow(bandsGrid, static_cast<int>(i) + 1, bandRow(records[i]));
  }
}

void ScoreStatisticsPanel::clear() {
  reset(summaryGrid, 0, 0);
  reset(bandsGrid, 0, 0);
}

}  // namespace zeziza::pages
