#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeziza::store {

// The stored form of a list setting: every entry followed by CR LF.
std::string toListValue(const std::vector<std::string>& items);
// Reads a stored list back line by line, so an entry keeps its blanks, commas and quotes.
std::vector<std::string> parseListValue(std::string_view text);

}  // namespace zeziza::store
