#pragma once

#include <string_view>

namespace zeziza::base {

// The answers that confirm a system reset, on the settings page and on the console: "确认" or
// "yes", exactly; anything else (another case, a blank around it) leaves the data alone.
inline bool confirmsReset(std::string_view answer) {
  return answer == "确认" || answer == "yes";
}

}  // namespace zeziza::base
