#pragma once

#include "pages/master/list_section.h"

namespace zeziza::pages {

// The exams. A new exam becomes the default exam; the default exam and exams with scores
// cannot be deleted.
ListSectionLayout examListLayout();
ListSectionRules examListRules();

}  // namespace zeziza::pages
