#include "pages/analysis/score_statistics.h"

#include <charconv>
#include <stdexcept>
#include <string_view>

#include "base/text.h"

namespace zeziza::pages {

namespace {

double parseScoreText(const std::string& text) {
  const std::string_view digits = base::trimmedView(text);
  if (digits.empty()) return 0;
  double value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc{} || end != digits.data() + digits.size()) {
    throw std::runtime_error("成绩\"" + text + "\"不是有效的数字");
  }
  return value;
}

}  // namespace

double scoreValue(const store::Value& value) {
  return value.isText() ? parseScoreText(value.asText()) : value.asDouble();
}

namespace {

std::vector<double> columnValues(const store::Query& result, std::size_t column) {
  std::vector<double> values;
  values.reserve(result.recordCount());
  for (const auto& row : result.rows()) values.push_back(scoreValue(row[column]));
  return values;
}

}  // namespace

std::vector<SubjectRecord> subjectRecords(const store::Query& result,
                                          const std::vector<std::string>& subjects,
                                          const analysis::LevelThresholds& thresholds,
                                          std::span<const int> bands,
                                          const std::function<int()>& countEnrolled) {
  const analysis::ScoreLimits limits{static_cast<double>(thresholds.excellent),
                                     static_cast<double>(thresholds.good),
                                     static_cast<double>(thresholds.pass),
                                     {bands.begin(), bands.end()},
                                     analysis::kLastBandUpperLimit};
  return subjectRecords(
      result, subjects, [&](const std::string&) { return limits; }, countEnrolled);
}

std::vector<SubjectRecord> subjectRecords(
    const store::Query& result, const std::vector<std::string>& subjects,
    const std::function<analysis::ScoreLimits(const std::string&)>& limitsOf,
    const std::function<int()>& countEnrolled) {
  std::vector<std::vector<double>> values;
  for (const auto& subject : subjects) {
    values.push_back(columnValues(result, result.fieldIndex(subject)));
  }
  return subjectRecords(subjects, values, limitsOf, countEnrolled);
}

std::vector<SubjectRecord> subjectRecords(
    const std::vector<std::string>& subjects, const std::vector<std::vector<double>>& values,
    const std::function<analysis::ScoreLimits(const std::string&)>& limitsOf,
    const std::function<int()>& countEnrolled) {
  if (values.size() != subjects.size()) {
    throw std::invalid_argument("one list of values per subject");
  }
  std::vector<SubjectRecord> records;
  std::optional<int> enrolled;
  for (std::size_t i = 0; i < subjects.size(); ++i) {
    auto stats = analysis::computeStatistics(values[i], 0, limitsOf(subjects[i]));
    if (stats) {
      if (!enrolled) enrolled = countEnrolled();
      stats->enrolled = *enrolled;
    }
    records.push_back({subjects[i], std::move(stats)});
  }
  return records;
}

}  // namespace zeziza::pages
