#pragma once

#include <string>

namespace zeziza::web {
class Label;
}

namespace zeziza::pages::entry {

// Whether the exam an entry page shows in `caption` (and writes to) is still the stored
// default. When the office has switched it meanwhile, nothing may be written: the caption and
// the session take the stored default and the user is told to look again.
bool examStillDefault(web::Label& caption);

// The refusal shown when the default exam was switched under a page.
std::string switchedExamMessage(const std::string& stored);

}  // namespace zeziza::pages::entry
