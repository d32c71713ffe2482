#include "web/controls/region.h"

namespace zeziza::web {

Frame::Frame(Container& parent, std::string name) : Region(parent, std::move(name)) {
  Control::page().registerFrame(*this);
}

void Region::render(HtmlWriter& out) const {
  out.raw("<div");
  writeIdentity(out, false);
  out.attr("class", Css.empty() ? "region" : "region " + Css);
  if (!LeaveQuestion.empty()) out.attr("data-iw-guard", LeaveQuestion);
  out.raw(">");
  renderChildren(out);
  out.raw("</div>");
}

}  // namespace zeziza::web
