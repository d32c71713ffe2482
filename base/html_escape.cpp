#include "base/html_escape.h"

namespace zeziza::base {

void appendEscapedHtml(std::string& out, std::string_view text, bool quotes) {
  // Plain runs are copied whole; most texts have no character to escape at all.
  const std::string_view special = quotes ? "&<>\"'" : "&<>";
  std::size_t from = 0;
  for (std::size_t at = text.find_first_of(special); at != std::string_view::npos;
       at = text.find_first_of(special, from)) {
    out.append(text.substr(from, at - from));
    switch (text[at]) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += "&#39;";
    }
    from = at + 1;
  }
  out.append(text.substr(from));
}

std::string escapeHtml(std::string_view text, bool quotes) {
  std::string out;
  out.reserve(text.size());
  appendEscapedHtml(out, text, quotes);
  return out;
}

}  // namespace zeziza::base
