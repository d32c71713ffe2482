#include "pages/master/place_column.h"

#include "pages/common/rights.h"
#include "pages/master/list_entries.h"

namespace zeziza::pages {

namespace {

constexpr const char* kStudentsStillListed =
    "该列表项下还有学生，请先删除该列表项下所有学生，然后才能删除列表项！";

}  // namespace

PlaceColumn::PlaceColumn(web::Container& parent, PlaceColumnSpec spec)
    : web::Region(parent, spec.region),
      Title(*this, spec.title),
      HelpBox(*this, spec.region + "Help"),
      Help(HelpBox, spec.region + "HelpText"),
      Items(*this, spec.list),
      Name(*this, spec.edit),
      Add(*this, spec.button),
      Entries(*this, spec.grid),
      spec_(std::move(spec)) {
  Css = "col";
  HelpBox.Css = "help";
  Title.Caption = spec_.titleCaption;
  Title.Bold = true;
  Help.Lines = spec_.help;
  Add.Caption = "增加";
  Entries.Css = "grid qbk";
  Entries.setColumnCount(2);
}

void PlaceColumn::load(std::vector<std::string> items) {
  Items.Items = std::move(items);
  rebuildGrid();
}

void PlaceColumn::rebuildGrid() {
  Entries.clear();
  Entries.setRowCount(static_cast<int>(Items.Items.size()) + 1);
  Entries.cell(0, 0).Text = spec_.nameHeader;
  Entries.cell(0, 1).Text = "点击删除";
  for (std::size_t i = 0; i < Items.Items.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    Entries.cell(row, 0).Text = Items.Items[i];
    Entries.cell(row, 1).Text = "删除";
    Entries.cell(row, 1).Clickable = true;
  }
}

// The page shows what the store holds after the click; the session's copy follows it.
void PlaceColumn::takeStored(const ListChange& change) {
  load(change.items);
  if (spec_.sessionCopy) {
    web::UserSession().*spec_.sessionCopy = change.items;
  }
  if (!change.refusal.empty()) web::ShowMessage(change.refusal);
}

ListUpdater PlaceColumn::updater() const {
  return spec_.sessionCopy ? sessionList(spec_.key) : cachedList(spec_.key);
}

void PlaceColumn::add() {
  if (!requireRights({rights::kSuperAdmin, rights::kAdmin})) return;
  const auto name = typedEntry(Name.Text, spec_.emptyMessage);
  if (!name) return;
  takeStored(appendEntry(updater(), *name, {.duplicateMessage = spec_.duplicateMessage}));
}

bool PlaceColumn::studentsUse(const std::string& name) const {
  auto& tem = web::UserSession().tem;
  tem.open("select 1 from ks where " + std::string(spec_.studentColumn) + "=? limit 1", {name});
  return tem.recordCount() > 0;
}

void PlaceColumn::remove(int row) {
  if (!requireRights({rights::kSuperAdmin, rights::kAdmin})) return;
  const auto index = static_cast<std::size_t>(row - 1);
  if (row < 1 || index >= Items.Items.size()) return;
  const std::string name = Items.Items[index];
  takeStored(removeEntry(updater(), name, index, [&] {
    return studentsUse(name) ? std::string(kStudentsStillListed) : std::string();
  }));
}

}  // namespace zeziza::pages
