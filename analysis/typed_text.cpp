#include "analysis/typed_text.h"

namespace zeziza::analysis {

bool holdsLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace zeziza::analysis
