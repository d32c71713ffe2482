#pragma once

#include <string>

#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/region.h"
#include "web/html_sanitizer.h"

namespace zeziza::pages {

// The footer embedded at the bottom of most pages: the school's footer text (markup of the
// administrator's, shown as markup), the maker's home link and the timer that keeps an open
// page's session alive.
class Footer : public web::Frame {
 public:
  explicit Footer(web::Container& parent);

  // Shows `text` at once (the login page reads the footer text after the frame was built).
  void showText(const std::string& text) { footerText.Caption = web::sanitizeHtml(text); }

 private:
  void onCreate();

  web::HRule rule{*this, "rule"};
  web::Label footerText{*this, "footerText"};
  web::Url homeLink{*this, "homeLink"};
  web::Timer keepAliveTimer{*this, "keepAliveTimer"};
};

}  // namespace zeziza::pages
