#include "pages/analysis/analysis_access.h"

#include "pages/common/page_rights.h"

namespace zeziza::pages {

bool allowAnalysisPage(web::Page& page) {
  return requirePageRights(page, page_rights::kAnalysis);
}

bool allowAnalysisAction() {
  return requireRights(page_rights::kAnalysis);
}

}  // namespace zeziza::pages
