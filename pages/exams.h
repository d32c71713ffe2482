#pragma once

#include "pages/footer.h"
#include "pages/nav_bar.h"
#include "web/page.h"

namespace zeziza::pages {

// Exams, subjects, score levels and score bands.
class Ttestset : public web::Page {
 public:
  Ttestset();

 private:
  void IWAppFormCreate();

  Tmain Tmain1{*this};
  TIWFrame19 TIWFrame191{*this};
};

}  // namespace zeziza::pages
