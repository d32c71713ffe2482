#pragma once

#include <string>
#include <string_view>

namespace zeziza::base {

// Escapes text for an HTML text node or a quoted attribute value. Without `quotes`, for a
// text node only: quotes stay as typed (stored rich text keeps them so).
std::string escapeHtml(std::string_view text, bool quotes = true);
// Appends `text` escaped as escapeHtml does, without a string of its own.
void appendEscapedHtml(std::string& out, std::string_view text, bool quotes = true);

}  // namespace zeziza::base
