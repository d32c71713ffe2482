#include "pages/master/bands_section.h"

#include "pages/common/rights.h"
#include "pages/common/text.h"
#include "pages/master/list_entries.h"
#include "store/settings.h"
#include "web/user_session.h"

namespace zeziza::pages {

void insertBoundary(std::vector<std::string>& bands, int value) {
  auto at = bands.begin();
  for (; at != bands.end(); ++at) {
    const auto boundary = wholeNumber(*at);
    if (boundary && *boundary > value) break;
  }
  bands.insert(at, std::to_string(value));
}

std::string bandDescription(const std::vector<std::string>& bands, std::size_t i) {
  std::string text = "成绩大于等于(零除外)" + bands.at(i);
  if (i + 1 < bands.size()) text += "小于" + bands[i + 1];
  return text;
}

BandsSection::BandsSection(web::Container& parent) : web::Region(parent, "BandsSection") {
  Css = "col";
  Heading.Caption = "分数段划分";
  Heading.Bold = true;
  HelpBox.Css = "help";
  Help.Lines = {"此处设置统计分数段的分界点,输入一个正整数", "",
                "点击添加到分数段按钮，则该数将自动添加到分", "", "数段列表中。"};
  Into.Caption = "将";
  IWButton4.Caption = "添加到分数段";
  fenshuduan.Visible = false;
  IWGrid1.Css = "grid qbk";
  IWGrid1.setColumnCount(3);
}

void BandsSection::load(std::vector<std::string> bands) {
  fenshuduan.Items = std::move(bands);
  rebuildGrid();
}

void BandsSection::rebuildGrid() {
  const auto& bands = fenshuduan.Items;
  IWGrid1.clear();
  IWGrid1.setRowCount(static_cast<int>(bands.size()) + 1);
  IWGrid1.cell(0, 0).Text = "分界点";
  IWGrid1.cell(0, 1).Text = "说明";
  IWGrid1.cell(0, 2).Text = "点击删除";
  for (std::size_t i = 0; i < bands.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    IWGrid1.cell(row, 0).Text = bands[i];
    IWGrid1.cell(row, 1).Text = bandDescription(bands, i);
    IWGrid1.cell(row, 2).Text = "删除";
    IWGrid1.cell(row, 2).Clickable = true;
  }
}

void BandsSection::add() {
  if (!requireRights({rights::kSuperAdmin, rights::kAdmin})) return;
  const auto value = wholeNumber(IWEdit8.Text);
  if (!value) return web::ShowMessage("分数分界点格式错误，请检查！");
  auto update = cachedList(store::key::kBands)([&](std::vector<std::string>& bands) {
    insertBoundary(bands, *value);
    return store::ListEdit::Write;
  });
  load(std::move(update.items));
}

void BandsSection::remove(int row) {
  if (!requireRights({rights::kSuperAdmin, rights::kAdmin})) return;
  const auto index = static_cast<std::size_t>(row - 1);
  if (row < 1 || index >= fenshuduan.Items.size()) return;
  const std::string boundary = fenshuduan.Items[index];
  load(removeEntry(cachedList(store::key::kBands), boundary, index).items);
}

}  // namespace zeziza::pages
