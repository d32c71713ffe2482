#pragma once

#include <string>
#include <vector>

namespace zeziza::web {
class TIWUserSession;
}

namespace zeziza::pages {

// Fills the session's login state afresh for a signed-in user: name and rights code, the
// exam and grade lists, default exam and work mode from `sysset`, the subject keys and
// column fragment from the settings cache, and page type 1.
void fillLoginState(web::TIWUserSession& session, const std::string& userName,
                    const std::string& rightsCode);

// The select-list fragment naming each subject's score column after the subject:
// ,cj.k1 as "数学" ,cj.k2 as "语文" (names quoted as identifiers, at most 12 subjects).
std::string subjectColumnsFor(const std::vector<std::string>& subjects);
std::vector<std::string> subjectKeysFor(const std::vector<std::string>& subjects);

}  // namespace zeziza::pages
