#pragma once

#include <string>
#include <vector>

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

}  // namespace zeziza::pages
