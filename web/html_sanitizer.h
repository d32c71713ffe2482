#pragma once

#include <string>
#include <string_view>

namespace zeziza::web {

// Markup an administrator may show to every visitor, cut down to an allow-list: a few
// formatting tags, and links whose target is an http or https address. Script, style,
// event attributes, frames and every other tag or attribute go; the text inside an unknown
// tag stays, as text. The result is rebuilt from the parsed tree, so nothing the parser read
// differently from a browser reaches the page unescaped.
std::string sanitizeHtml(std::string_view markup);

}  // namespace zeziza::web
