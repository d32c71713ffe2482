#include "pages/common/nav_entries.h"

#include "pages/analysis/chart.h"
#include "pages/analysis/class_comparison.h"
#include "pages/analysis/distribution.h"
#include "pages/analysis/progress.h"
#include "pages/analysis/ranking.h"
#include "pages/analysis/score_query.h"
#include "pages/cloud/cloud_upload.h"
#include "pages/common/navigation.h"
#include "pages/common/rights.h"
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
    to<UnitsPage>({.name = "units", .caption = "【单位设置】", .reach = Reach::admins}),
    to<ExamsPage>({.name = "exams", .caption = "【考试设置】", .reach = Reach::admins}),
    to<RosterPage>({.name = "roster", .caption = "【学生管理】"}),
    to<AccountsPage>({.name = "accounts", .caption = "【系统设置】", .reach = Reach::superAdmin}),
    to<CloudUploadPage>({.name = "upload", .caption = "【上传成绩】", .reach = Reach::admins}),
    to<BackupPage>({.name = "backup",
                    .caption = "【数据备份】",
                    .reach = Reach::superAdmin,
                    .hiddenUnreached = true}),
};

}  // namespace

std::span<const NavEntry> navigationEntries() {
  return kEntries;
}

bool reaches(Reach reach, std::optional<int> code) {
  switch (reach) {
    case Reach::everyone:
      return true;
    case Reach::admins:
      return code == rights::kSuperAdmin || code == rights::kAdmin;
    case Reach::superAdmin:
      return code == rights::kSuperAdmin;
  }
  return false;
}

}  // namespace zeziza::pages
