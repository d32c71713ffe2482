#pragma once

#include "web/controls/region.h"

namespace zeziza::pages {

// The footer embedded at the bottom of most pages.
class TIWFrame19 : public web::Frame {
 public:
  explicit TIWFrame19(web::Container& parent);

 private:
  void IWFrameRegionCreate();
};

}  // namespace zeziza::pages
