#include "pages/common/session_data.h"

#include "web/user_session.h"

namespace zeziza::pages {

store::Database& data() {
  return web::currentSession().dataConnection.db();
}

}  // namespace zeziza::pages
