#pragma once

#include "store/bound_statement.h"

namespace zeziza::pages {

// Statements are made in the store; pages hand them to a grid's query.
using store::BoundStatement;
using store::containsPattern;

}  // namespace zeziza::pages
