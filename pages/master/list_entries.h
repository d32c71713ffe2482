#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/list_update.h"

namespace zeziza::pages {

// Runs a list edit on the session's connection in one transaction (store::updateListSetting).
using ListUpdater = std::function<store::ListUpdate(const store::ListEditor&)>;
// A list the settings cache holds: the cache is refreshed after the commit.
ListUpdater cachedList(std::string_view key);
// A list held per session (grades, exams): the page copies the result into the session.
ListUpdater sessionList(std::string_view key);

// The list as stored after a change, and the refusal shown; empty when nothing was refused.
struct ListChange {
  std::vector<std::string> items;
  std::string refusal;
  bool written = false;
  std::string entry{};  // the entry added or removed
};

struct AppendRules {
  std::string duplicateMessage{};
  std::size_t limit = 0;  // 0: no limit
  std::string fullMessage{};
  // More work for the same transaction, after the name was appended (the default exam).
  std::function<void(const std::string& name)> alsoWrite{};
};

// Appends `name` to the stored list unless it holds the name ignoring letter case, or is full.
ListChange appendEntry(const ListUpdater& update, const std::string& name,
                       const AppendRules& rules);

// Removes `name` from the stored list; `hint` is where the page showed it (lists may hold a
// value twice). `refusal` may veto with a message; it runs inside the transaction. A name no
// longer stored (another session removed it) changes nothing and is no refusal.
ListChange removeEntry(const ListUpdater& update, const std::string& name, std::size_t hint,
                       const std::function<std::string()>& refusal = {});

// The name typed for a new entry, without blanks around it; shows `emptyMessage` (or the
// refusal of a line break) and returns nullopt when it cannot be an entry.
std::optional<std::string> typedEntry(std::string_view text, const std::string& emptyMessage);

}  // namespace zeziza::pages
