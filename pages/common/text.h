#pragma once

#include "analysis/typed_text.h"

namespace zeziza::pages {

// What a user typed, read the one way every page reads it.
using analysis::exactInteger;
using analysis::holdsLineBreak;
using analysis::trimmed;
using analysis::wholeNumber;

}  // namespace zeziza::pages
