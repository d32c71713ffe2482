#include "pages/analysis/analysis_access.h"

#include "pages/common/rights.h"

namespace zeziza::pages {

namespace {
constexpr std::initializer_list<int> kAnalysisRights = {rights::kSuperAdmin, rights::kAdmin,
                                                        rights::kViewer};
}

bool allowAnalysisPage(web::Page& page) {
  return requirePageRights(page, kAnalysisRights);
}

bool allowAnalysisAction() {
  return requireRights(kAnalysisRights);
}

}  // namespace zeziza::pages
