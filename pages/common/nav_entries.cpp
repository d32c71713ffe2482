#include "pages/common/nav_entries.h"

#include <algorithm>

#include "pages/analysis/chart.h"
#include "pages/analysis/class_comparison.h"
#include "pages/analysis/distribution.h"
#include "pages/analysis/progress.h"
#include "pages/analysis/ranking.h"
#include "pages/analysis/score_query.h"
#include "pages/cloud/cloud_upload.h"
#include "pages/common/navigation.h"
#include "pages/common/page_rights.h"
#include "pages/common/rights.h"
#include "pages/entry/score_entry.h"
#include "pages/master/exams.h"
#include "pages/master/roster.h"
#include "pages/master/units.h"
#include "pages/system/accounts.h"
#include "pages/system/backup.h"

namespace zeziza::pages {

namespace {

// The entry `fields` for page P: the bar marks P's name, the link shows P.
template <class P>
constexpr NavEntry to(NavEntry fields) {
  fields.page = P::kName;
  fields.show = &showEntry<P>;
  return fields;
}

constexpr NavEntry kEntries[] = {
    to<ScoreQueryPage>({.name = "query", .caption = "【成绩查询】", .needsScores = true}),
    to<ChartPage>({.name = "chart", .caption = "【图表统计】", .needsScores = true}),
    to<ClassComparisonPage>(
        {.name = "classComparison", .caption = "【班级对比】", .needsScores = true}),
    to<RankingPage>({.name = "ranking", .caption = "【成绩排序】", .needsScores = true}),
    to<ProgressPage>({.name = "progress", .caption = "【进步统计】", .needsScores = true}),
    to<DistributionPage>({.name = "distribution", .caption = "【分布情况】", .needsScores = true}),
    to<UnitsPage>({.name = "units", .caption = "【单位设置】", .reach = Reach::masterData}),
    to<ExamsPage>({.name = "exams", .caption = "【考试设置】", .reach = Reach::masterData}),
    to<RosterPage>({.name = "roster", .caption = "【学生管理】", .reach = Reach::roster}),
    to<AccountsPage>({.name = "accounts", .caption = "【系统设置】", .reach = Reach::system}),
    to<CloudUploadPage>({.name = "upload", .caption = "【上传成绩】", .reach = Reach::masterData}),
    to<BackupPage>({.name = "backup",
                    .caption = "【数据备份】",
                    .reach = Reach::system,
                    .hiddenUnreached = true}),
    // The entry pages carry no bar; a class teacher comes back to them by this one.
    {.name = "entry",
     .caption = "【成绩录入】",
     .reach = Reach::classTeacher,
     .hiddenUnreached = true,
     .page = ScoreEntryPage::kName,
     .show = &showOutsideEntries<ScoreEntryPage>},
};

}  // namespace

std::span<const NavEntry> navigationEntries() {
  return kEntries;
}

bool reaches(Reach reach, std::optional<int> code) {
  const auto within = [code](std::initializer_list<int> codes) {
    return code && std::find(codes.begin(), codes.end(), *code) != codes.end();
  };
  switch (reach) {
    case Reach::analysis:
      return within(page_rights::kAnalysis);
    case Reach::roster:
      return within(page_rights::kRoster);
    case Reach::masterData:
      return within(page_rights::kMasterData);
    case Reach::system:
      return within(page_rights::kSystem);
    case Reach::classTeacher:
      return within({rights::kClassTeacher});
  }
  return false;
}

}  // namespace zeziza::pages
