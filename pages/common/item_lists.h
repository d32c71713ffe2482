#pragma once

#include <string>
#include <vector>

#include "web/controls/lists.h"

namespace zeziza::pages {

// `first` followed by `items`: the list of a box whose first entry means "all".
inline std::vector<std::string> withFirst(std::string first,
                                          const std::vector<std::string>& items) {
  std::vector<std::string> out;
  out.reserve(items.size() + 1);
  out.push_back(std::move(first));
  out.insert(out.end(), items.begin(), items.end());
  return out;
}

// The chosen item's text; empty while nothing is chosen.
inline std::string chosenText(const web::ComboBox& box) {
  return box.ItemIndex < 0 ? std::string() : box.text();
}

}  // namespace zeziza::pages
