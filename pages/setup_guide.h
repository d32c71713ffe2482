#pragma once

#include "pages/footer.h"
#include "pages/nav_bar.h"
#include "web/page.h"

namespace zeziza::pages {

// The setup guide shown while no scores exist.
class TIWForm20 : public web::Page {
 public:
  TIWForm20();

 private:
  void IWAppFormCreate();

  Tmain Tmain1{*this};
  TIWFrame19 TIWFrame191{*this};
};

}  // namespace zeziza::pages
