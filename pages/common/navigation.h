#pragma once

#include "web/user_session.h"

namespace zeziza::pages {

// Sets the session's page-type code (which navigation entry the page belongs to) and shows
// a page of class P.
template <class P>
void showWithPageType(int pageType) {
  web::Session& session = web::currentSession();
  session.pageType = pageType;
  session.ShowPage<P>();
}

}  // namespace zeziza::pages
