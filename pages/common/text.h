#pragma once

#include <string>
#include <string_view>

namespace zeziza::pages {

// `text` without leading and trailing blanks and control characters (codes up to 0x20),
// as the office's forms trim names and passwords.
inline std::string trimBlanks(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

}  // namespace zeziza::pages
