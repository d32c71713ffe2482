#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeziza::store {

// The in-memory text form of a list used by session lists and combo boxes.
// Joining quotes an item holding a control character, blank, quote or comma.
std::string toCommaText(const std::vector<std::string>& items);
// Parsing treats commas and unquoted characters 0x01..0x20 as separators.
std::vector<std::string> parseCommaText(std::string_view text);

}  // namespace zeziza::store
