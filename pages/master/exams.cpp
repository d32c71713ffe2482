#include "pages/master/exams.h"

#include "pages/common/rights.h"
#include "web/user_session.h"

namespace zeziza::pages {

ExamsPage::ExamsPage() : web::Page(kName) {
  Title = "考试设置";
  Sections.Css = "cols";
  OnCreate = [this] { onCreate(); };
  levels_.saveLevelsButton.OnClick = [this] { onSaveLevels(); };
  // A new subject is out of 100 until its full mark is set: the full marks follow the list.
  subjects_.Add.OnClick = [this] { onAddSubject(); };
  fullMarks_.Save.OnClick = [this] { fullMarks_.save(); };
}

void ExamsPage::onCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin, rights::kAdmin})) return;
  const auto settings = web::currentSession().context().settings().get();
  levels_.load(*settings);
  bands_.load(settings->bands);
  exams_.load(web::currentSession().login.exams);
  examScores_.load();
  subjects_.load(settings->subjects);
  fullMarks_.load(settings->subjects);
}

// A new subject is out of 100 until its full mark is set.
void ExamsPage::onAddSubject() {
  subjects_.add();
  fullMarks_.load(web::currentSession().context().settings().get()->subjects);
}

}  // namespace zeziza::pages
