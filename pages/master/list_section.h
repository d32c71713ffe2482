#pragma once

#include <cstddef>
#include <functional>
#include <optional>
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

namespace zeziza::pages {

// Where the browser and the tests find a section's controls, and what the section shows.
struct ListSectionLayout {
  std::string region;
  std::string heading;
  std::string help;  // the help box; its text is named help + "Text"
  std::string edit;
  std::string button;
  std::string list;
  std::string grid;
  std::string headingCaption;
  std::vector<std::string> helpLines;
  std::string nameHeader;  // title of the grid's name column
  std::string entryNoun;   // what an entry is, in the question before a removal ("单位")
  std::string buttonCaption = "增加";
  std::string into{};  // name of a label before the edit; empty: none
  std::string intoCaption{};
};

// How a section's list is stored and checked.
struct ListSectionRules {
  ListUpdater store;
  // The change an add makes of the typed text; nullopt when the text was refused (the page
  // has said why). appendTyped() gives the usual one.
  std::function<std::optional<ListChange>(const ListUpdater&, std::string_view typed)> add;
  bool clearTypedAfterAdd = false;
  // Whether the grid has a "点击删除" column; a list without it is only ever appended to.
  bool removable = true;
  // Asked before the store is touched: a refusal is shown and nothing else happens.
  std::function<std::string(const std::string& name)> refuseRemovalEarly{};
  // Asked inside the removal's transaction.
  std::function<std::string(const std::string& name)> refuseRemoval{};
  // A second grid column describing entry i (the score bands); null: none.
  std::function<std::string(const std::vector<std::string>&, std::size_t)> describe{};
  // Told the list as stored after every change, and the entry a stored add appended.
  std::function<void(const std::vector<std::string>&)> stored{};
  std::function<void(const std::string&)> added{};
};

// An add that appends the typed name under `rules`; `emptyMessage` when nothing was typed.
std::function<std::optional<ListChange>(const ListUpdater&, std::string_view)> appendTyped(
    std::string emptyMessage, AppendRules rules);

// A list of names edited on a page: an edit and a button add an entry, a grid shows the
// entries and its "删除" cells remove one. Every change runs in one transaction on the
// stored list; the page then shows what was stored. `Entries` keeps the list with the page:
// a web::List, or a hidden web::ListBox.
template <class Entries>
class ListSection : public web::Region {
 public:
  ListSection(web::Container& parent, ListSectionLayout layout, ListSectionRules rules);

  void load(std::vector<std::string> items);
  // Adds what is typed in the edit.
  void add();
  // Removes the entry shown in grid row `row`.
  void remove(int row);

  web::Label Heading;
  web::Region HelpBox;
  web::Text Help;
  std::optional<web::Label> Into;
  web::Edit Name;
  web::Button Add;
  Entries Items;
  web::Grid Grid;

 private:
  void rebuildGrid();
  void takeStored(const ListChange& change);

  std::string nameHeader_;
  std::string entryNoun_;
  ListSectionRules rules_;
};

extern template class ListSection<web::List>;
extern template class ListSection<web::ListBox>;

}  // namespace zeziza::pages
