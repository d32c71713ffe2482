#include "pages/master/exams.h"

#include "pages/common/rights.h"
#include "web/user_session.h"

namespace zeziza::pages {

Ttestset::Ttestset() : web::Page("Ttestset") {
  Title = "考试设置";
  Sections.Css = "cols";
  OnCreate = [this] { IWAppFormCreate(); };
  levels_.IWButton2.OnClick = [this] { IWButton2Click(); };
  bands_.IWButton4.OnClick = [this] { IWButton4Click(); };
  bands_.IWGrid1.OnCellClick = [this](int row, int column) { IWGrid1CellClick(row, column); };
  exams_.IWButton3.OnClick = [this] { IWButton3Click(); };
  exams_.IWGrid2.OnCellClick = [this](int row, int column) { IWGrid2CellClick(row, column); };
  subjects_.IWButton5.OnClick = [this] { IWButton5Click(); };
}

void Ttestset::IWAppFormCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin, rights::kAdmin})) return;
  const auto settings = web::UserSession().context().settings().get();
  levels_.load(*settings);
  bands_.load(settings->bands);
  exams_.load(web::UserSession().exams);
  subjects_.load(settings->subjects);
}

}  // namespace zeziza::pages
