#include "pages/master/exams.h"

#include "pages/common/rights.h"
#include "web/user_session.h"

namespace zeziza::pages {

Ttestset::Ttestset() : web::Page("Ttestset") {
  Title = "考试设置";
  Sections.Css = "cols";
  OnCreate = [this] { IWAppFormCreate(); };
  levels_.IWButton2.OnClick = [this] { IWButton2Click(); };
  // A new subject is out of 100 until its full mark is set: the full marks follow the list.
  subjects_.Add.OnClick = [this] { IWButton5Click(); };
  fullMarks_.Save.OnClick = [this] { fullMarks_.save(); };
}

void Ttestset::IWAppFormCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin, rights::kAdmin})) return;
  const auto settings = web::UserSession().context().settings().get();
  levels_.load(*settings);
  bands_.load(settings->bands);
  exams_.load(web::UserSession().exams);
  subjects_.load(settings->subjects);
  fullMarks_.load(settings->subjects);
}

// A new subject is out of 100 until its full mark is set.
void Ttestset::IWButton5Click() {
  subjects_.add();
  fullMarks_.load(web::UserSession().context().settings().get()->subjects);
}

}  // namespace zeziza::pages
