#pragma once

#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/master/list_section.h"
#include "web/page.h"

namespace zeziza::pages {

// Units (schools), grades and classes: three independent lists that place every student.
class UnitsPage : public web::Page {
 public:
  static constexpr const char* kName = "UnitsPage";
  UnitsPage();

 private:
  void onCreate();

  NavigationBar navigationBar{*this};
  web::Region Columns{*this, "Columns"};
  ListSection<web::List> units_;
  ListSection<web::List> grades_;
  ListSection<web::List> classes_;
  Footer footer{*this};
};

}  // namespace zeziza::pages
