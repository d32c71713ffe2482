// The settings half of the accounts page: work mode, default exam, footer text, banner and
// the system reset.
#include "analysis/averages.h"
#include "analysis/ranks.h"
#include "analysis/statistics_settings.h"
#include "base/reset_answer.h"
#include "pages/common/rights.h"
#include "pages/common/session_data.h"
#include "pages/system/accounts.h"
#include "store/banner_file.h"
#include "store/scale_settings.h"
#include "store/settings.h"
#include "web/html_sanitizer.h"
#include "web/user_session.h"

namespace zeziza::pages {

void AccountsPage::onModeChosen() {
  if (!requireRights({rights::kSuperAdmin})) return;
  const std::string mode = modeBox.text();
  store::writeSetting(data(), store::key::kWorkMode, mode);
  web::currentSession().login.workMode = mode;
  web::currentSession().context().officeSettingsChanged();
  // Class teachers may not work in 统考模式: their sessions end with their next request.
  web::currentSession().context().accountsChanged();
}

void AccountsPage::onExamChosen() {
  if (!requireRights({rights::kSuperAdmin})) return;
  const std::string exam = examBox.text();
  store::writeSetting(data(), store::key::kDefaultExam, exam);
  web::currentSession().login.defaultExam = exam;
  web::currentSession().context().officeSettingsChanged();
}

// Applies to every rank made from now on: the ranking, progress and cloud preparation.
void AccountsPage::onRankModeChosen() {
  if (!requireRights({rights::kSuperAdmin})) return;
  const auto mode = analysis::parseRankMode(RankMode.text());
  store::storeSetting(data(), store::key::kRankMode, analysis::rankModeText(mode));
}

// Applies to every statistic computed from now on: pages, exports and what is published.
void AccountsPage::onRateBasisChosen() {
  if (!requireRights({rights::kSuperAdmin})) return;
  const auto basis = analysis::parseRateBasis(RateBasis.text());
  store::storeSetting(data(), store::key::kRateBasis, analysis::rateBasisText(basis));
}

void AccountsPage::onAverageBasisChosen() {
  if (!requireRights({rights::kSuperAdmin})) return;
  const auto basis = analysis::parseAverageBasis(AverageBasis.text());
  store::storeSetting(data(), store::key::kAverageBasis, analysis::averageBasisText(basis));
}

// The footer of this page keeps the old text until the next page is built.
void AccountsPage::onSaveFooter() {
  if (!requireRights({rights::kSuperAdmin})) return;
  const std::string footer = web::sanitizeHtml(footerEdit.Text);
  store::writeSetting(data(), store::key::kFooterText, footer);
  web::currentSession().login.footerText = footer;
  web::ShowMessage("已保存页脚文字，下一个页面起显示");
}

// Only a JPEG or PNG picture (judged by its content) of a sensible size replaces the banner.
void AccountsPage::onUploadBanner() {
  if (!requireRights({rights::kSuperAdmin})) return;
  const auto& upload = bannerFile.uploaded();
  if (!upload) return;
  if (upload->content.size() > store::kMaxBannerBytes) {
    web::ShowMessage("横幅图片太大，不能超过" + std::to_string(store::kMaxBannerBytes / 1048576) +
                     "MB，请缩小后再上传。");
    return;
  }
  if (store::pictureKind(upload->content) == store::PictureKind::Unknown) {
    web::ShowMessage("上传的文件不是JPG或PNG格式的图片，网站横幅没有改变。");
    return;
  }
  store::saveBanner(web::currentSession().dataFolder().files(), upload->content);
}

// Other idle sessions end and `data` is restored from `empty`; this session is being
// served, so it survives with its login state.
void AccountsPage::onReset() {
  if (!requireRights({rights::kSuperAdmin})) return;
  if (!base::confirmsReset(resetEdit.Text)) {
    web::ShowMessage(
        "系统没有重置，数据未改变。如果需要删除所有数据、重置系统，请在后面的文本框输入“确认”或"
        "yes，再点系统数据重置");
    return;
  }
  web::currentSession().context().runSystemReset();
  reloadUserList();
  web::ShowMessage("已成功完成了系统重置。所有信息数据均已被删除,请重新在浏览器输入地址登录！");
}

}  // namespace zeziza::pages
