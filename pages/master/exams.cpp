#include "pages/master/exams.h"

#include "pages/common/rights.h"
#include "store/comma_text.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

Ttestset::Ttestset() : web::Page("Ttestset") {
  Title = "考试设置";
  Sections.Css = "cols";
  OnCreate = [this] { IWAppFormCreate(); };
  levels_.IWButton2.OnClick = [this] { IWButton2Click(); };
}

void Ttestset::IWAppFormCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin, rights::kAdmin})) return;
  const auto settings = store::settingsCache().get();
  levels_.load(*settings);
  bands_.load(settings->bands);
  exams_.load(store::parseCommaText(web::UserSession().examList));
  subjects_.load(settings->subjects);
}

}  // namespace zeziza::pages
