#include "pages/master/list_entries.h"

#include "pages/common/session_data.h"
#include "pages/common/text.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

ListUpdater cachedList(std::string_view key) {
  return [key](const store::ListEditor& edit) {
    return store::updateCachedListSetting(web::currentSession().context().settings(), data(), key,
                                          edit);
  };
}

ListUpdater sessionList(std::string_view key) {
  return
      [key](const store::ListEditor& edit) { return store::updateListSetting(data(), key, edit); };
}

ListChange appendEntry(const ListUpdater& update, const std::string& name,
                       const AppendRules& rules) {
  std::string refusal;
  auto result = update([&](std::vector<std::string>& items) {
    if (store::findEntry(items, name) != std::string::npos) {
      refusal = rules.duplicateMessage;
    } else if (rules.limit > 0 && items.size() >= rules.limit) {
      refusal = rules.fullMessage;
    }
    if (!refusal.empty()) return store::ListEdit::Keep;
    items.push_back(name);
    if (rules.alsoWrite) rules.alsoWrite(name);
    return store::ListEdit::Write;
  });
  return {std::move(result.items), std::move(refusal), result.written, name};
}

ListChange removeEntry(const ListUpdater& update, const std::string& name, std::size_t hint,
                       const std::function<std::string()>& refusal) {
  std::string refused;
  auto result = update([&](std::vector<std::string>& items) {
    auto at = hint < items.size() && items[hint] == name
                  ? items.begin() + static_cast<std::ptrdiff_t>(hint)
                  : std::find(items.begin(), items.end(), name);
    if (at == items.end()) return store::ListEdit::Keep;
    if (refusal) refused = refusal();
    if (!refused.empty()) return store::ListEdit::Keep;
    items.erase(at);
    return store::ListEdit::Write;
  });
  return {std::move(result.items), std::move(refused), result.written, name};
}

std::optional<std::string> typedEntry(std::string_view text, const std::string& emptyMessage) {
  std::string name = trimmed(text);
  if (name.empty()) {
    web::ShowMessage(emptyMessage);
    return std::nullopt;
  }
  if (holdsLineBreak(name)) {
    web::ShowMessage("名称中不能含有换行符，请修改后再试！");
    return std::nullopt;
  }
  return name;
}

}  // namespace zeziza::pages
