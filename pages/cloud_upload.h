#pragma once

#include "pages/footer.h"
#include "pages/nav_bar.h"
#include "web/page.h"

namespace zeziza::pages {

// Cloud publishing: account check, preparation and upload.
class TIWFormup : public web::Page {
 public:
  TIWFormup();

 private:
  void IWAppFormCreate();

  Tmain Tmain1{*this};
  TIWFrame19 TIWFrame191{*this};
};

}  // namespace zeziza::pages
