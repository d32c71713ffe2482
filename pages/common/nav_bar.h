#pragma once

#include <array>

#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// The navigation bar embedded at the top of most pages: who is signed in, one link per page
// (the settings links enabled by rights code), the current page's entry marked by its bar.
// Links and their click handlers are public so a page may put its own handler in place.
class NavigationBar : public web::Frame {
 public:
  explicit NavigationBar(web::Container& parent);

  void onScoreQuery();
  void onChart();
  void onClassComparison();
  void onRanking();
  void onProgress();
  void onDistribution();
  void onUnits();
  void onExams();
  void onRoster();
  void onAccounts();
  void onUpload();
  void onBackup();
  void onChangePassword();
  void onSignOut();

  // Whether `cj` held a score when this bar was built. The analysis links send the user to
  // the setup guide while it is false.
  bool scoresExist() const { return scoresExist_; }

  web::Region TopRow{*this, "TopRow"};
  web::ImageFile bannerImage{TopRow, "bannerImage"};
  web::Label userCaption{TopRow, "userCaption"};
  web::Link passwordLink{TopRow, "passwordLink"};
  web::Link signOutLink{TopRow, "signOutLink"};

  web::Region LinkRow{*this, "LinkRow"};
  web::Region cell1{LinkRow, "cell1"};
  web::Link queryLink{cell1, "queryLink"};
  web::Rectangle d1{cell1, "d1"};
  web::Region cell2{LinkRow, "cell2"};
  web::Link chartLink{cell2, "chartLink"};
  web::Rectangle d2{cell2, "d2"};
  web::Region cell3{LinkRow, "cell3"};
  web::Link classComparisonLink{cell3, "classComparisonLink"};
  web::Rectangle d3{cell3, "d3"};
  web::Region cell4{LinkRow, "cell4"};
  web::Link rankingLink{cell4, "rankingLink"};
  web::Rectangle d4{cell4, "d4"};
  web::Region cell5{LinkRow, "cell5"};
  web::Link progressLink{cell5, "progressLink"};
  web::Rectangle d5{cell5, "d5"};
  web::Region cell6{LinkRow, "cell6"};
  web::Link distributionLink{cell6, "distributionLink"};
  web::Rectangle d6{cell6, "d6"};
  web::Region cell7{LinkRow, "cell7"};
  web::Link unitsLink{cell7, "unitsLink"};
  web::Rectangle d7{cell7, "d7"};
  web::Region cell8{LinkRow, "cell8"};
  web::Link examsLink{cell8, "examsLink"};
  web::Rectangle d8{cell8, "d8"};
  web::Region cell9{LinkRow, "cell9"};
  web::Link rosterLink{cell9, "rosterLink"};
  web::Rectangle d9{cell9, "d9"};
  web::Region cell10{LinkRow, "cell10"};
  web::Link accountsLink{cell10, "accountsLink"};
  web::Rectangle d10{cell10, "d10"};
  web::Region cell11{LinkRow, "cell11"};
  web::Link uploadLink{cell11, "uploadLink"};
  web::Rectangle d11{cell11, "d11"};
  // Shown to super administrators only.
  web::Region backupCell{LinkRow, "backupCell"};
  web::Link backupLink{backupCell, "backupLink"};
  web::Rectangle backupBar{backupCell, "backupBar"};
  web::Region cell12{LinkRow, "cell12"};
  web::Url helpLink{cell12, "helpLink"};
  web::Rectangle d12{cell12, "d12"};
  web::Region cell13{LinkRow, "cell13"};
  web::Rectangle d13{cell13, "d13"};

 private:
  void onCreate();
  void onRender();
  void enableByRights();
  void markCurrentEntry();
  // Shows analysis page P, or the setup guide while there are no scores.
  template <class P>
  void goAnalysis() const;

  // The bars under the entry links, d1 to d11 and the backup link's.
  std::array<web::Rectangle*, 12> bars_{&d1, &d2, &d3, &d4,  &d5,  &d6,
                                        &d7, &d8, &d9, &d10, &d11, &backupBar};
  bool scoresExist_ = false;
};

}  // namespace zeziza::pages
