#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zeziza::pages {

// A typed text without the blanks and control characters (up to U+0020) at both ends.
std::string trimmed(std::string_view text);

// A typed integer: blanks around it and one leading sign are allowed, nothing else.
std::optional<int> wholeNumber(std::string_view text);

// True when a typed name holds a line break, which a stored list cannot carry.
bool holdsLineBreak(std::string_view text);

}  // namespace zeziza::pages
