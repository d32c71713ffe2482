#pragma once

#include <string>
#include <string_view>

namespace zeziza::base {

// Escapes text for an HTML text node or a quoted attribute value.
std::string escapeHtml(std::string_view text);
// Appends `text` escaped as escapeHtml does, without a string of its own.
void appendEscapedHtml(std::string& out, std::string_view text);

}  // namespace zeziza::base
