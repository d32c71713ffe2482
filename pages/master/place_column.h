#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/master/list_entries.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/grid.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/user_session.h"

namespace zeziza::pages {

// What tells the three columns of the units page apart.
struct PlaceColumnSpec {
  std::string region;  // names of the column's controls on the page
  std::string title;
  std::string list;
  std::string edit;
  std::string button;
  std::string grid;
  std::string titleCaption;
  std::vector<std::string> help;
  std::string nameHeader;          // header of the grid's name column
  std::string_view key;            // settings key of the list
  std::string_view studentColumn;  // column of `ks` that names an entry
  std::string emptyMessage;
  std::string duplicateMessage;
  // The session's own copy of the list (grades); null when the settings cache holds it.
  std::vector<std::string> web::TIWUserSession::*sessionCopy = nullptr;
};

// One column of the units page: a list of places (units, grades or classes) with its edit,
// its add button and a grid whose "删除" cells remove entries. Changes re-read the stored list
// in one transaction; the page's list and the list's cache follow what was stored.
class PlaceColumn : public web::Region {
 public:
  PlaceColumn(web::Container& parent, PlaceColumnSpec spec);

  void load(std::vector<std::string> items);
  // Adds the name typed in the edit.
  void add();
  // Removes the entry shown in grid row `row`.
  void remove(int row);

  web::Label Title;
  web::Region HelpBox;
  web::Text Help;
  web::List Items;
  web::Edit Name;
  web::Button Add;
  web::Grid Entries;

 private:
  void rebuildGrid();
  void takeStored(const ListChange& change);
  ListUpdater updater() const;
  bool studentsUse(const std::string& name) const;

  PlaceColumnSpec spec_;
};

}  // namespace zeziza::pages
