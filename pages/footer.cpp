#include "pages/footer.h"

namespace zeziza::pages {

TIWFrame19::TIWFrame19(web::Container& parent) : web::Frame(parent, "TIWFrame191") {
  Css = "footer";
  OnCreate = [this] { IWFrameRegionCreate(); };
}

void TIWFrame19::IWFrameRegionCreate() {}

}  // namespace zeziza::pages
