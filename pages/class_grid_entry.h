#pragma once

#include "pages/footer.h"
#include "web/page.h"

namespace zeziza::pages {

// Score entry for a whole class in a grid.
class TIWForm6 : public web::Page {
 public:
  TIWForm6();

 private:
  void IWAppFormCreate();

  TIWFrame19 TIWFrame191{*this};
};

}  // namespace zeziza::pages
