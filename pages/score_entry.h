#pragma once

#include "pages/footer.h"
#include "web/page.h"

namespace zeziza::pages {

// Score entry, one score at a time.
class TIWForm2 : public web::Page {
 public:
  TIWForm2();

 private:
  void IWAppFormCreate();

  TIWFrame19 TIWFrame191{*this};
};

}  // namespace zeziza::pages
