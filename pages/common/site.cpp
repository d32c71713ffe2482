#include "pages/common/site.h"

#include "web/user_session.h"

namespace zeziza::pages {

std::string siteAddress(std::string_view path) {
  return web::currentSession().context().siteAddress(path);
}

}  // namespace zeziza::pages
