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

}  // namespace zeziza::testing
