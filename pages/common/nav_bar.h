#pragma once

#include <memory>
#include <vector>

#include "pages/common/nav_entries.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// The navigation bar embedded at the top of most pages: who is signed in, one cell per entry of
// navigationEntries() (a link over a bar, the current page's entry marked by its bar), the help
// link. The password and sign-out links and their handlers are public so a page may put its
// own handler in place.
class NavigationBar : public web::Frame {
 public:
  explicit NavigationBar(web::Container& parent);

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

 private:
  // One entry's cell: its link over its bar.
  struct EntryCell {
    EntryCell(web::Container& row, const NavEntry& entry);
    const NavEntry& entry;
    web::Region cell;
    web::Link link;
    web::Rectangle bar;
  };
  static std::vector<std::unique_ptr<EntryCell>> makeEntryCells(web::Container& row);
  // Made here, before the help cell, so the row shows them first.
  std::vector<std::unique_ptr<EntryCell>> entryCells_ = makeEntryCells(LinkRow);

 public:
  web::Region helpCell{LinkRow, "helpCell"};
  web::Url helpLink{helpCell, "helpLink"};
  web::Rectangle helpBar{helpCell, "helpBar"};
  // Takes the rest of the row, so the bars run to its end.
  web::Region fillCell{LinkRow, "fillCell"};
  web::Rectangle fillBar{fillCell, "fillBar"};

 private:
  void onCreate();
  void onRender();
  void enableByRights();
  void markCurrentEntry();
  // Shows the entry's page, or the setup guide while it needs scores and there are none.
  void follow(const NavEntry& entry) const;

  bool scoresExist_ = false;
};

}  // namespace zeziza::pages
