#include "pages/place_column.h"

#include <algorithm>

#include "pages/entry_text.h"
#include "pages/master_rights.h"
#include "store/comma_text.h"
#include "store/list_update.h"
#include "store/settings_cache.h"

namespace zeziza::pages {

namespace {

constexpr const char* kStudentsStillListed =
    "该列表项下还有学生，请先删除该列表项下所有学生，然后才能删除列表项！";
constexpr const char* kLineBreakInName = "名称中不能含有换行符，请修改后再试！";

store::Database& sessionData() {
  return web::UserSession().ADOConnection1.db();
}

// Lists the settings cache holds refresh it after the commit; the others have no shared copy.
store::ListUpdate updateList(std::string_view key, bool cached, const store::ListEditor& edit) {
  return cached ? store::updateCachedListSetting(store::settingsCache(), sessionData(), key, edit)
                : store::updateListSetting(sessionData(), key, edit);
}

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
void PlaceColumn::takeStored(const std::vector<std::string>& items) {
  load(items);
  if (spec_.sessionCopy) web::UserSession().*spec_.sessionCopy = store::toCommaText(items);
}

void PlaceColumn::add() {
  if (!sessionRightsIn({0, 1})) return web::ShowMessage(std::string(kNoSettingsRightsMessage));
  const std::string name = trimmed(Name.Text);
  if (name.empty()) return web::ShowMessage(spec_.emptyMessage);
  if (holdsLineBreak(name)) return web::ShowMessage(kLineBreakInName);
  bool duplicate = false;
  const auto update = updateList(spec_.key, !spec_.sessionCopy, [&](auto& items) {
    duplicate = store::findEntry(items, name) != std::string::npos;
    if (duplicate) return store::ListEdit::Keep;
    items.push_back(name);
    return store::ListEdit::Write;
  });
  takeStored(update.items);
  if (duplicate) web::ShowMessage(spec_.duplicateMessage);
}

bool PlaceColumn::studentsUse(const std::string& name) const {
  auto& tem = web::UserSession().tem;
  tem.open("select 1 from ks where " + std::string(spec_.studentColumn) + "=? limit 1", {name});
  return tem.recordCount() > 0;
}

void PlaceColumn::remove(int row) {
  if (!sessionRightsIn({0, 1})) return web::ShowMessage(std::string(kNoSettingsRightsMessage));
  const auto index = static_cast<std::size_t>(row - 1);
  if (row < 1 || index >= Items.Items.size()) return;
  const std::string name = Items.Items[index];
  bool used = false;
  const auto update = updateList(spec_.key, !spec_.sessionCopy, [&](auto& items) {
    const auto at = std::find(items.begin(), items.end(), name);
    if (at == items.end()) return store::ListEdit::Keep;  // another session removed it already
    used = studentsUse(name);
    if (used) return store::ListEdit::Keep;
    items.erase(at);
    return store::ListEdit::Write;
  });
  takeStored(update.items);
  if (used) web::ShowMessage(kStudentsStillListed);
}

}  // namespace zeziza::pages
