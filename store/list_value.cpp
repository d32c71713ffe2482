#include "store/list_value.h"

namespace zeziza::store {

std::string toListValue(const std::vector<std::string>& items) {
  std::string out;
  for (const auto& item : items) {
    out += item;
    out += "\r\n";
  }
  return out;
}

std::vector<std::string> parseListValue(std::string_view text) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      items.emplace_back(text.substr(start));
      break;
    }
    items.emplace_back(text.substr(start, end - start));
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return items;
}

}  // namespace zeziza::store
