#include "pages/master/bands_section.h"

#include "pages/common/text.h"
#include "store/settings.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

// The typed boundary goes in at its place; a text that is no integer is refused, and so is
// one that is not positive, as the caption asks (a score of 0 or below means no score).
std::optional<ListChange> addBoundary(const ListUpdater& store, std::string_view typed) {
  const auto value = wholeNumber(typed);
  if (!value) {
    web::ShowMessage("分数分界点格式错误，请检查！");
    return std::nullopt;
  }
  if (*value <= 0) {
    web::ShowMessage("分数分界点必须是正整数，请检查！");
    return std::nullopt;
  }
  auto update = store([&](std::vector<std::string>& bands) {
    insertBoundary(bands, *value);
    return store::ListEdit::Write;
  });
  return ListChange{std::move(update.items), {}, update.written, std::to_string(*value)};
}

}  // namespace

void insertBoundary(std::vector<std::string>& bands, int value) {
  auto at = bands.begin();
  for (; at != bands.end(); ++at) {
    const auto boundary = wholeNumber(*at);
    if (boundary && *boundary > value) break;
  }
  bands.insert(at, std::to_string(value));
}

std::string bandDescription(const std::vector<std::string>& bands, std::size_t i) {
  std::string text = "成绩大于等于满分的" + bands.at(i) + "%";
  if (i + 1 < bands.size()) text += "小于" + bands[i + 1] + "%";
  return text + "(零分除外)";
}

ListSectionLayout bandsLayout() {
  return {.region = "BandsSection",
          .heading = "BandsHeading",
          .help = "BandsHelp",
          .edit = "bandEdit",
          .button = "bandAddButton",
          .list = "bandList",
          .grid = "bandGrid",
          .headingCaption = "分数段划分",
          .helpLines = {"此处设置统计分数段的分界点,输入满分的百分数", "",
                        "点击添加到分数段按钮，则该数将自动添加到分", "", "数段列表中。"},
          .nameHeader = "分界点(满分%)",
          .entryNoun = "分界点",
          .buttonCaption = "添加到分数段",
          .into = "BandsInto",
          .intoCaption = "将"};
}

ListSectionRules bandsRules() {
  return {.store = cachedList(store::key::kBands), .add = addBoundary, .describe = bandDescription};
}

}  // namespace zeziza::pages
