#pragma once

#include "web/controls/actions.h"
#include "web/page.h"

namespace zeziza::testing {

// The start page of the analysis journeys: signs the session in as an administrator, stores
// a small school's scores once, and opens the analysis pages, so the journeys do not depend
// on the login page.
class AnalysisJourneyPage : public web::Page {
 public:
  AnalysisJourneyPage();

  web::Button Chart{*this, "Chart"};
  web::Button Ranking{*this, "Ranking"};
  web::Button Distribution{*this, "Distribution"};
  web::Button Cards{*this, "Cards"};  // report cards of 期末: a class of 45 and one of 3
};

}  // namespace zeziza::testing
