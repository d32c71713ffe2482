#include "pages/analysis/score_scale.h"

#include "analysis/statistics_settings.h"
#include "analysis/statistics_text.h"
#include "store/scale_settings.h"
#include "web/user_session.h"

namespace zeziza::pages {

ScoreScale::ScoreScale(const store::SettingsSnapshot& settings, store::Database& db)
    : subjects_(settings.subjects),
      fullMarks_(analysis::parseFullMarks(store::readFullMarkTexts(db), settings.subjects.size())),
      thresholds_(analysis::parseThresholds(settings.excellent, settings.good, settings.pass)),
      bands_(analysis::parseBands(settings.bands)),
      rates_(analysis::parseRateBasis(store::readRateBasisText(db))) {}

analysis::FullMark ScoreScale::fullMark(std::string_view column) const {
  return analysis::columnFullMark(column, subjects_, fullMarks_);
}

analysis::ScoreLimits ScoreScale::limits(std::string_view column) const {
  analysis::ScoreLimits limits = analysis::scaledLimits(thresholds_, bands_, fullMark(column));
  limits.rates = rates_;
  return limits;
}

std::vector<std::string> ScoreScale::bandCaptions(std::string_view column) const {
  return analysis::bandCaptions(bands_, fullMark(column));
}

std::vector<std::string> ScoreScale::sharedBandCaptions(
    const std::vector<std::string>& subjects) const {
  if (subjects.size() == 1) return bandCaptions(subjects.front());
  return analysis::bandCaptions(bands_);
}

std::string ScoreScale::levelOf(std::string_view column, double value) const {
  if (!(value > 0)) return {};
  const analysis::ScoreLimits l = limits(column);
  if (value >= l.excellent) return "优秀";
  if (value >= l.good) return "良好";
  if (value >= l.pass) return "及格";
  return "不及格";
}

ScoreScale sessionScoreScale() {
  return ScoreScale(*web::currentSession().context().settings().get(),
                    web::currentSession().dataConnection.db());
}

analysis::RankMode sessionRankMode() {
  return analysis::parseRankMode(
      store::readRankModeText(web::currentSession().dataConnection.db()));
}

analysis::AverageBasis sessionAverageBasis() {
  return analysis::parseAverageBasis(
      store::readAverageBasisText(web::currentSession().dataConnection.db()));
}

store::ScoreColumn sessionAverageColumn() {
  return store::ScoreColumn::average(sessionAverageBasis(), web::currentSession().login.subjects);
}

}  // namespace zeziza::pages
