#pragma once

#include <string_view>

namespace zeziza::analysis {

// True when a typed name holds a line break, which a stored list cannot carry.
bool holdsLineBreak(std::string_view text);

}  // namespace zeziza::analysis
