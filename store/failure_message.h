#pragma once

#include <string>

namespace zeziza::store {

class DatabaseError;

// What a person is told when the store fails during an action: what happened and that
// nothing of the action was saved (its transaction rolled back). Never the statement or
// SQLite's own words, which go to the event log.
std::string failureMessage(const DatabaseError& error);

}  // namespace zeziza::store
