#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zeziza::store {

// Which unit, grade and class: where students are looked at, where scores are entered, or
// where a class teacher's account works. A part without a value is not narrowed ("all"); a
// part with a value holds only the students whose field equals it (an empty value holds
// nobody's).
struct Scope {
  std::optional<std::string> unit;
  std::optional<std::string> grade;
  std::optional<std::string> cls;

  // One class exactly.
  static Scope place(std::string unit, std::string grade, std::string cls);

  // Whether a student in `unit`, `grade` and `cls` is held.
  bool admits(std::string_view unit, std::string_view grade, std::string_view cls) const;
  // Whether every part `outer` narrows is narrowed here to the same value, so that this
  // scope holds no student `outer` does not.
  bool within(const Scope& outer) const;
  // Whether all three parts have a value: one class.
  bool isPlace() const { return unit && grade && cls; }

  bool operator==(const Scope&) const = default;
};

}  // namespace zeziza::store
