#pragma once

#include "analysis/typed_text.h"
#include "base/text.h"
#include "base/whole_number.h"

namespace zeziza::pages {

// What a user typed, read the one way every page reads it.
using base::exactInteger;
using analysis::holdsLineBreak;
using base::trimmed;
using base::wholeNumber;

}  // namespace zeziza::pages
