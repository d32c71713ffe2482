#pragma once

#include <string>

#include "store/bound_statement.h"

namespace zeziza::store {

// The roster's filters; an empty text filters nothing.
struct RosterFilter {
  std::string unit;
  std::string grade;
  std::string cls;
  std::string namePart;
};

// The roster query: the first active filter begins with `where`, each later one with `and`.
BoundStatement rosterStatement(const RosterFilter& filter);

}  // namespace zeziza::store
