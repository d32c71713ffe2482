#pragma once

#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/master/bands_section.h"
#include "pages/master/exam_list_section.h"
#include "pages/master/full_marks_section.h"
#include "pages/master/levels_section.h"
#include "pages/master/subject_list_section.h"
#include "web/page.h"

namespace zeziza::pages {

// Exams, subjects, score levels and score bands.
class Ttestset : public web::Page {
 public:
  Ttestset();

 private:
  void IWAppFormCreate();
  void IWButton2Click() { levels_.save(); }
  void IWButton4Click() { bands_.add(); }
  void IWGrid1CellClick(int row, int) { bands_.remove(row); }
  void IWButton3Click() { exams_.add(); }
  void IWGrid2CellClick(int row, int) { exams_.remove(row); }
  void IWButton5Click();

  Tmain Tmain1{*this};
  LevelsSection levels_{*this};
  web::Region Sections{*this, "Sections"};
  BandsSection bands_{Sections};
  ExamListSection exams_{Sections};
  SubjectListSection subjects_{Sections};
  FullMarksSection fullMarks_{Sections};
  TIWFrame19 TIWFrame191{*this};
};

}  // namespace zeziza::pages
