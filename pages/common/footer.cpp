#include "pages/common/footer.h"

#include "pages/common/site.h"
#include "web/html_sanitizer.h"
#include "web/user_session.h"

namespace zeziza::pages {

Footer::Footer(web::Container& parent) : web::Frame(parent, "footer") {
  Css = "footer";
  footerText.RawText = true;
  homeLink.Caption = "";
  keepAliveTimer.Interval = 500000;
  OnCreate = [this] { onCreate(); };
}

void Footer::onCreate() {
  footerText.Caption = web::sanitizeHtml(web::currentSession().login.footerText);
  homeLink.URL = siteAddress("/home");
  homeLink.Visible = !homeLink.URL.empty();
}

}  // namespace zeziza::pages
