#pragma once

#include <string>
#include <vector>

#include "web/control.h"

namespace zeziza::pages {

// What one slip shows a student.
struct SlipView {
  std::string school;
  std::string cls;  // grade and class
  std::string name;
  std::string student;
  std::string address;  // of the results site's page of the school
  std::string password;
};

// Password slips class by class, laid out for print by /css/password_slips.css: eight slips a
// page to cut apart, each class from a new page.
class PasswordSlipSheet : public web::Control {
 public:
  using web::Control::Control;
  std::vector<std::vector<SlipView>> Classes;

  void render(web::HtmlWriter& out) const override;
};

}  // namespace zeziza::pages
