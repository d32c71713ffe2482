#pragma once

#include <filesystem>
#include <string>

namespace zeziza::testing {

// A data folder ready for score entry: the supervisor "load" (password "load"), the super
// administrator "admin" (password "admin"), the default exam 期中, the grade 七年级, and
// `students` students numbered 100000, 100001, … in 中心校区 七年级 一班.
void prepareEntrySchool(const std::filesystem::path& dir, int students);

// The student number of the n-th student of prepareEntrySchool.
inline std::string entryStudentNumber(int n) {
  return std::to_string(100000 + n);
}

}  // namespace zeziza::testing
