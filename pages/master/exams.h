#pragma once

#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/master/bands_section.h"
#include "pages/master/exam_list_section.h"
#include "pages/master/exam_scores_section.h"
#include "pages/master/full_marks_section.h"
#include "pages/master/levels_section.h"
#include "pages/master/subject_list_section.h"
#include "web/page.h"

namespace zeziza::pages {

// Exams, subjects, score levels and score bands.
class ExamsPage : public web::Page {
 public:
  static constexpr const char* kName = "ExamsPage";
  ExamsPage();

 private:
  void onCreate();
  void onSaveLevels() { levels_.save(); }
  void onAddSubject();

  NavigationBar navigationBar{*this};
  LevelsSection levels_{*this};
  web::Region Sections{*this, "Sections"};
  ListSection<web::ListBox> bands_{Sections, bandsLayout(), bandsRules()};
  ListSection<web::List> exams_{Sections, examListLayout(), examListRules()};
  ExamScoresSection examScores_{exams_};
  ListSection<web::List> subjects_{Sections, subjectListLayout(), subjectListRules()};
  FullMarksSection fullMarks_{Sections};
  Footer footer{*this};
};

}  // namespace zeziza::pages
