#pragma once

#include "pages/master/list_section.h"

namespace zeziza::pages {

// The subjects: at most twelve, only ever appended, since subject i owns score column k<i>.
ListSectionLayout subjectListLayout();
ListSectionRules subjectListRules();

}  // namespace zeziza::pages
