#include "pages/master/list_section.h"

#include <type_traits>

#include "pages/common/rights.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

std::optional<web::Label> makeInto(web::Container& parent, const ListSectionLayout& layout) {
  if (layout.into.empty()) return std::nullopt;
  return std::optional<web::Label>(std::in_place, parent, layout.into);
}

bool mayEdit() {
  return requireRights({rights::kSuperAdmin, rights::kAdmin});
}

}  // namespace

std::function<std::optional<ListChange>(const ListUpdater&, std::string_view)> appendTyped(
    std::string emptyMessage, AppendRules rules) {
  return [emptyMessage = std::move(emptyMessage), rules = std::move(rules)](
             const ListUpdater& store, std::string_view typed) -> std::optional<ListChange> {
    const auto name = typedEntry(typed, emptyMessage);
    if (!name) return std::nullopt;
    return appendEntry(store, *name, rules);
  };
}

template <class Entries>
ListSection<Entries>::ListSection(web::Container& parent, ListSectionLayout layout,
                                  ListSectionRules rules)
    : web::Region(parent, layout.region),
      Heading(*this, layout.heading),
      HelpBox(*this, layout.help),
      Help(HelpBox, layout.help + "Text"),
      Into(makeInto(*this, layout)),
      Name(*this, layout.edit),
      Add(*this, layout.button),
      Items(*this, layout.list),
      Grid(*this, layout.grid),
      nameHeader_(layout.nameHeader),
      entryNoun_(layout.entryNoun),
      rules_(std::move(rules)) {
  Css = "col";
  Heading.Caption = layout.headingCaption;
  Heading.Bold = true;
  HelpBox.Css = "help";
  Help.Lines = layout.helpLines;
  if (Into) Into->Caption = layout.intoCaption;
  Add.Caption = layout.buttonCaption;
  if constexpr (std::is_same_v<Entries, web::ListBox>) Items.Visible = false;
  Grid.Css = "grid qbk";
  Grid.setColumnCount(1 + (rules_.describe ? 1 : 0) + (rules_.removable ? 1 : 0));
  Add.OnClick = [this] { add(); };
  if (rules_.removable) Grid.OnCellClick = [this](int row, int) { remove(row); };
}

template <class Entries>
void ListSection<Entries>::load(std::vector<std::string> items) {
  Items.Items = std::move(items);
  rebuildGrid();
}

template <class Entries>
void ListSection<Entries>::rebuildGrid() {
  const auto& items = Items.Items;
  Grid.clear();
  Grid.setRowCount(static_cast<int>(items.size()) + 1);
  Grid.cell(0, 0).Text = nameHeader_;
  const int removeColumn = rules_.describe ? 2 : 1;
  if (rules_.describe) Grid.cell(0, 1).Text = "说明";
  if (rules_.removable) Grid.cell(0, removeColumn).Text = "点击删除";
  for (std::size_t i = 0; i < items.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    Grid.cell(row, 0).Text = items[i];
    if (rules_.describe) Grid.cell(row, 1).Text = rules_.describe(items, i);
    if (rules_.removable) {
      Grid.cell(row, removeColumn).Text = "删除";
      Grid.cell(row, removeColumn).Clickable = true;
      Grid.cell(row, removeColumn).Confirmation = "确定删除" + entryNoun_ + "“" + items[i] + "”？";
    }
  }
}

// The page and the session's copies show what the store holds after the click.
template <class Entries>
void ListSection<Entries>::takeStored(const ListChange& change) {
  load(change.items);
  if (rules_.stored) rules_.stored(change.items);
  if (!change.refusal.empty()) web::ShowMessage(change.refusal);
}

template <class Entries>
void ListSection<Entries>::add() {
  if (!mayEdit()) return;
  const auto change = rules_.add(rules_.store, Name.Text);
  if (!change) return;
  if (change->written) {
    if (rules_.clearTypedAfterAdd) Name.Text.clear();
    if (rules_.added) rules_.added(change->entry);
  }
  takeStored(*change);
}

template <class Entries>
void ListSection<Entries>::remove(int row) {
  if (!mayEdit()) return;
  const auto index = static_cast<std::size_t>(row - 1);
  if (row < 1 || index >= Items.Items.size()) return;
  const std::string name = Items.Items[index];
  if (rules_.refuseRemovalEarly) {
    const std::string refusal = rules_.refuseRemovalEarly(name);
    if (!refusal.empty()) return web::ShowMessage(refusal);
  }
  std::function<std::string()> refusal;
  if (rules_.refuseRemoval) refusal = [&] { return rules_.refuseRemoval(name); };
  takeStored(removeEntry(rules_.store, name, index, refusal));
}

template class ListSection<web::List>;
template class ListSection<web::ListBox>;

}  // namespace zeziza::pages
