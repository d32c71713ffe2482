#pragma once

#include <string>

#include "pages/entry/entry_student.h"
#include "store/scope.h"

namespace zeziza::pages::entry {

// Why `student` is outside `scope` and what to do about it: a class teacher enters their own
// class only; anyone else chooses the student's unit, grade and class first.
std::string scopeRefusal(const store::Scope& scope, const Student& student, bool classTeacher);

}  // namespace zeziza::pages::entry
