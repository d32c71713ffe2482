#pragma once

#include "web/controls/region.h"

namespace zeziza::pages {

// The navigation bar embedded at the top of most pages.
class Tmain : public web::Frame {
 public:
  explicit Tmain(web::Container& parent);

 private:
  void IWFrameRegionCreate();
  void IWFrameRegionRender();
};

}  // namespace zeziza::pages
