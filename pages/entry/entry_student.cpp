#include "pages/entry/entry_student.h"

namespace zeziza::pages::entry {

bool EntryScope::admits(const Student& student) const {
  return (!unit || *unit == student.unit) && (!grade || *grade == student.grade) &&
         (!cls || *cls == student.cls);
}

}  // namespace zeziza::pages::entry
