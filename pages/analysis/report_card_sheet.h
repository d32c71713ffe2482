#pragma once

#include <string>
#include <vector>

#include "web/control.h"

namespace zeziza::pages {

// One line of a report card: a subject, 总分 or 平均分.
struct CardLine {
  std::string subject;
  std::string score;
  std::string level;
  std::string classAverage;
  bool operator==(const CardLine&) const = default;
};

struct CardView {
  std::string title;  // school and exam
  std::string cls;    // grade and class
  std::string name;
  std::string id;
  std::vector<CardLine> lines;
  std::string classRank;  // 班级名次
  std::string unitRank;   // 校内名次: within the unit's grade
  std::string gradeRank;  // 年级名次: within the grade over every unit
};

// The report cards of a page, class by class, laid out for print by the program's print
// style sheet (/css/report_cards.css): one card per half A4 page, each class from a new page.
class ReportCardSheet : public web::Control {
 public:
  using web::Control::Control;
  std::vector<std::vector<CardView>> Classes;

  void render(web::HtmlWriter& out) const override;
};

}  // namespace zeziza::pages
