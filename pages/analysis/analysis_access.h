#pragma once

namespace zeziza::web {
class Page;
}

namespace zeziza::pages {

// The analysis pages serve rights codes 0 (超级管理员), 1 (管理员), 4 (普通用户) and 5
// (班主任, who sees the own class alone: ScopeSelector keeps every page within the session's
// permitted scope); codes 2 and 3 work on the score entry pages only. Reaching a page by
// another path grants nothing.

// For a page's OnCreate: a refused page hides everything of its own (its frames stay, so the
// user can navigate away), says why and returns false.
bool allowAnalysisPage(web::Page& page);
// For handlers: a refused action says why and returns false.
bool allowAnalysisAction();

}  // namespace zeziza::pages
