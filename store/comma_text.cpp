#include "store/comma_text.h"

namespace zeziza::store {

namespace {

bool isSeparatorChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x01 && u <= 0x20;
}

bool needsQuotes(std::string_view item) {
  for (const char c : item) {
    if (static_cast<unsigned char>(c) <= 0x20 || c == '"' || c == ',') return true;
  }
  return false;
}

std::string quoted(std::string_view item) {
  std::string out = "\"";
  for (const char c : item) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

// Reads one item starting at `pos`; leaves `pos` after the item.
std::string readItem(std::string_view text, std::size_t& pos) {
  std::string item;
  if (pos < text.size() && text[pos] == '"') {
    ++pos;
    while (pos < text.size()) {
      if (text[pos] == '"') {
        if (pos + 1 < text.size() && text[pos + 1] == '"') {
          item += '"';
          pos += 2;
          continue;
        }
        ++pos;
        break;
      }
      item += text[pos++];
    }
    return item;
  }
  while (pos < text.size() && text[pos] != ',' && !isSeparatorChar(text[pos])) {
    item += text[pos++];
  }
  return item;
}

}  // namespace

std::string toCommaText(const std::vector<std::string>& items) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ',';
    out += needsQuotes(items[i]) ? quoted(items[i]) : items[i];
  }
  return out;
}

std::vector<std::string> parseCommaText(std::string_view text) {
  std::vector<std::string> items;
  std::size_t pos = 0;
  while (pos < text.size() && isSeparatorChar(text[pos])) ++pos;
  while (pos < text.size()) {
    items.push_back(readItem(text, pos));
    while (pos < text.size() && isSeparatorChar(text[pos])) ++pos;
    if (pos < text.size() && text[pos] == ',') {
      ++pos;
      while (pos < text.size() && isSeparatorChar(text[pos])) ++pos;
      if (pos == text.size()) items.emplace_back();  // a trailing comma adds an empty item
    }
  }
  return items;
}

}  // namespace zeziza::store
