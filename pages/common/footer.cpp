#include "pages/common/footer.h"

#include "pages/common/site.h"
#include "web/html_sanitizer.h"
#include "web/user_session.h"

namespace zeziza::pages {

Footer::Footer(web::Container& parent) : web::Frame(parent, "footer") {
  Css = "footer";
  IWLabel1.RawText = true;
  homeURL1.Caption = "";
  IWTimer1.Interval = 500000;
  OnCreate = [this] { onCreate(); };
}

void Footer::onCreate() {
  IWLabel1.Caption = web::sanitizeHtml(web::currentSession().footerText);
  homeURL1.URL = siteAddress("/home");
  homeURL1.Visible = !homeURL1.URL.empty();
}

}  // namespace zeziza::pages
