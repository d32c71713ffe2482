#include "pages/analysis/score_column_box.h"

#include <string>
#include <vector>

#include "pages/analysis/scope_lists.h"
#include "pages/analysis/score_scale.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr int kSummaryItems = 2;

}  // namespace

void fillScoreColumnBox(web::ComboBox& box, SummaryFirst first) {
  std::vector<std::string> items = {"总分", "平均分"};
  if (first == SummaryFirst::average) std::swap(items[0], items[1]);
  const auto settings = web::currentSession().context().settings().get();
  items.insert(items.end(), settings->subjects.begin(), settings->subjects.end());
  fillCombo(box, std::move(items));
}

store::ScoreColumn chosenScoreColumn(const web::ComboBox& box, SummaryFirst first) {
  const int index = box.ItemIndex;
  if (index >= kSummaryItems) return store::ScoreColumn::subject(index - kSummaryItems + 1);
  const bool total = (index == 0) == (first == SummaryFirst::total);
  return total ? store::ScoreColumn::total() : sessionAverageColumn();
}

}  // namespace zeziza::pages
