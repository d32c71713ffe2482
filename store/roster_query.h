#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "store/bound_statement.h"
#include "store/scope.h"

namespace zeziza::store {

// The roster's filters: the scope, and a part of the name (empty: any name).
struct RosterFilter {
  Scope scope;
  std::string namePart;
};

// The keys (ks.bh) of the students the roster finds, in its order (by key): the first active
// filter begins with `where`, each later one with `and`.
BoundStatement rosterKeysStatement(const RosterFilter& filter);

// The roster's columns for the students of `keys` (at most kMaxKeysPerRead), in the roster's
// order; no keys give the columns alone. Throws std::invalid_argument for more keys.
BoundStatement rosterRowsByKeyStatement(std::span<const std::int64_t> keys);

}  // namespace zeziza::store
