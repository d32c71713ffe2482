#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zeziza::store {
class Query;
}

namespace zeziza::pages::entry {

// A roster row as the entry pages need it.
struct Student {
  std::int64_t key = 0;  // ks.bh
  std::string number;    // ks.id
  std::string name;
  std::string unit;
  std::string grade;
  std::string cls;
};

// The student with exam number `number` (compared as the store compares ks.id).
std::optional<Student> findStudent(store::Query& query, std::string_view number);

// The unit, grade and class of an account; a class teacher enters scores there only.
struct Place {
  std::string unit;
  std::string grade;
  std::string cls;
};
// The account's place; an account without a row has an empty place, which holds nobody.
Place accountPlace(store::Query& query, std::string_view user);

// Where entry is allowed: a part without a value lifts that restriction.
struct EntryScope {
  std::optional<std::string> unit;
  std::optional<std::string> grade;
  std::optional<std::string> cls;

  static EntryScope exactly(const Place& place) { return {place.unit, place.grade, place.cls}; }
  bool admits(const Student& student) const;
};

}  // namespace zeziza::pages::entry
