#pragma once

#include <string>

namespace zeziza::web {
class Session;
}

namespace zeziza::pages {

// Fills the session's login state afresh for a signed-in user: name, rights code and the
// permitted scope (a class teacher's class), the exam and grade lists, default exam and work
// mode from `sysset`, the subjects with their score columns from the settings cache, and the
// score query as the navigation entry.
void fillLoginState(web::Session& session, const std::string& userName,
                    const std::string& rightsCode);

}  // namespace zeziza::pages
