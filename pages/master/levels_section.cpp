#include "pages/master/levels_section.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "pages/common/rights.h"
#include "pages/common/text.h"
#include "store/list_update.h"
#include "store/settings.h"
#include "web/user_session.h"

namespace zeziza::pages {

LevelsSection::LevelsSection(web::Container& parent) : web::Region(parent, "LevelsSection") {
  Css = "section";
  Heading.Caption = "分数等级设置";
  Heading.Bold = true;
  for (auto* bound : {&topEdit, &bottomEdit}) {
    bound->Enabled = false;
    bound->Css = "srk level";
  }
  for (auto* level : {&excellentEdit, &goodEdit, &passEdit}) level->Css = "srk level";
  topEdit.Text = "1000";
  bottomEdit.Text = std::string(1, '0');  // a plain "0" trips a false -Wrestrict in GCC 12
  ExcellentSign.Caption = ">优秀>=";
  GoodSign.Caption = ">良好>=";
  PassSign.Caption = ">及格>=";
  FailSign.Caption = ">不及格>";
  saveLevelsButton.Caption = "保存分数分级设置";
}

void LevelsSection::load(const store::SettingsSnapshot& settings) {
  excellentEdit.Text = settings.excellent;
  goodEdit.Text = settings.good;
  passEdit.Text = settings.pass;
}

void LevelsSection::save() {
  if (!requireRights({rights::kSuperAdmin, rights::kAdmin})) return;
  const std::array<std::pair<std::string_view, std::optional<int>>, 3> levels = {{
      {store::key::kExcellent, wholeNumber(excellentEdit.Text)},
      {store::key::kGood, wholeNumber(goodEdit.Text)},
      {store::key::kPass, wholeNumber(passEdit.Text)},
  }};
  for (const auto& [key, value] : levels) {
    if (!value) return web::ShowMessage("分数分级必须为数字！请修改后再试");
  }
  if (!(*levels[0].second > *levels[1].second && *levels[1].second > *levels[2].second)) {
    return web::ShowMessage("分数分级数据错误！请修改后再试");
  }
  auto& db = web::currentSession().dataConnection.db();
  std::vector<store::SettingValue> values;
  for (const auto& [key, value] : levels) values.push_back({key, std::to_string(*value)});
  if (const auto missing = store::writeSettings(db, values)) {
    throw std::runtime_error("系统设置表中缺少设置项" + std::string(*missing) + "，无法保存");
  }
  for (const auto& [key, value] : levels) {
    store::refreshCachedSetting(web::currentSession().context().settings(), db, key);
  }
  excellentEdit.Text = std::to_string(*levels[0].second);
  goodEdit.Text = std::to_string(*levels[1].second);
  passEdit.Text = std::to_string(*levels[2].second);
  web::ShowMessage("已保存成绩分级：优秀" + excellentEdit.Text + "分，良好" + goodEdit.Text +
                   "分，及格" + passEdit.Text + "分");
}

}  // namespace zeziza::pages
