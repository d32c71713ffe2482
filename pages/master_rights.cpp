#include "pages/master_rights.h"

#include <algorithm>

#include "web/user_session.h"

namespace zeziza::pages {

bool sessionRightsIn(std::initializer_list<int> allowed) {
  const std::string& code = web::UserSession().rightsCode;
  if (code.size() != 1 || code[0] < '0' || code[0] > '9') return false;
  return std::ranges::find(allowed, code[0] - '0') != allowed.end();
}

}  // namespace zeziza::pages
