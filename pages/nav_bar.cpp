#include "pages/nav_bar.h"

namespace zeziza::pages {

Tmain::Tmain(web::Container& parent) : web::Frame(parent, "Tmain1") {
  Css = "navbar";
  OnCreate = [this] { IWFrameRegionCreate(); };
  OnRender = [this] { IWFrameRegionRender(); };
}

void Tmain::IWFrameRegionCreate() {}

void Tmain::IWFrameRegionRender() {}

}  // namespace zeziza::pages
