#include "store/scope.h"

#include <utility>

namespace zeziza::store {

namespace {

bool holds(const std::optional<std::string>& part, std::string_view value) {
  return !part || *part == value;
}

bool narrowsAsMuch(const std::optional<std::string>& inner,
                   const std::optional<std::string>& outer) {
  return !outer || inner == outer;
}

}  // namespace

Scope Scope::place(std::string unit, std::string grade, std::string cls) {
  return {std::move(unit), std::move(grade), std::move(cls)};
}

bool Scope::admits(std::string_view unitValue, std::string_view gradeValue,
                   std::string_view clsValue) const {
  return holds(unit, unitValue) && holds(grade, gradeValue) && holds(cls, clsValue);
}

bool Scope::within(const Scope& outer) const {
  return narrowsAsMuch(unit, outer.unit) && narrowsAsMuch(grade, outer.grade) &&
         narrowsAsMuch(cls, outer.cls);
}

}  // namespace zeziza::store
