#pragma once

#include <optional>
#include <string>

#include "store/students.h"
#include "store/users.h"

namespace zeziza::pages::entry {

// A roster row as the entry pages need it.
using Student = store::Student;
// The unit, grade and class of an account; a class teacher enters scores there only.
using Place = store::Place;

// Where entry is allowed: a part without a value lifts that restriction.
struct EntryScope {
  std::optional<std::string> unit;
  std::optional<std::string> grade;
  std::optional<std::string> cls;

  static EntryScope exactly(const Place& place) { return {place.unit, place.grade, place.cls}; }
  bool admits(const Student& student) const;
};

}  // namespace zeziza::pages::entry
