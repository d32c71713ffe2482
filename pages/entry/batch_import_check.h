#pragma once

#include <functional>
#include <string>
#include <vector>

#include "store/score_import.h"

namespace zeziza::pages {

// The checks of a pasted import, before anything is written: the first failed check's
// message, or every line ready to write.
struct ImportCheck {
  std::string refusal;  // empty when every check passed
  std::vector<store::ImportLine> lines;
};

// `numbers` and `scores` are the memos' lines; `exists` tells whether a student number (as
// pasted, untrimmed) is on the roster.
ImportCheck checkImport(const std::vector<std::string>& numbers,
                        const std::vector<std::string>& scores,
                        const std::function<bool(const std::string&)>& exists);

}  // namespace zeziza::pages
