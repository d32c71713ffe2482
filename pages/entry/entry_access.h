#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "pages/common/rights.h"

namespace zeziza::web {
class Control;
class Page;
class Region;
}  // namespace zeziza::web

namespace zeziza::pages::entry {

// The refusal of the score entry page's import link (the import serves supervisors only).
inline constexpr std::string_view kImportRefusal = "您没有权限进行此项操作";

bool isSupervisor();
bool isClerk();
bool isClassTeacher();

// For a score entry page's creation, as requirePageRights; since these pages have no
// navigation bar, a refused page keeps `wayOut` (in `bar`) as the one thing shown.
bool requirePage(web::Page& page, std::initializer_list<int> allowed, web::Region& bar,
                 web::Control& wayOut);
// For the handlers of the score entry pages: supervisors, score clerks, class teachers.
bool requireEntryRights();

// The session user name followed by the role tag, "张三[成绩录入员]".
std::string userCaption();

}  // namespace zeziza::pages::entry
