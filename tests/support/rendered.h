#pragma once

#include <string>

#include "web/control.h"
#include "web/html.h"

namespace zeziza::testing {

// The markup one control renders, as the page would write it.
inline std::string rendered(const web::Control& control) {
  web::HtmlWriter out;
  control.render(out);
  return out.take();
}

// How often `part` stands in `text`.
inline int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

}  // namespace zeziza::testing
