#pragma once

#include <string>
#include <vector>

#include "store/students.h"

namespace zeziza::pages {

using store::NewStudent;

// The students of the add panel's two boxes, or the refusal to show.
struct StudentBatch {
  std::vector<NewStudent> students;
  std::string refusal;
};

// Pairs number line i with name line i. Lines are trimmed; blank lines at the end of a box
// are ignored, a pair of blank lines is skipped, and a pair with one side blank is refused
// naming its line.
StudentBatch readStudentBatch(const std::vector<std::string>& numbers,
                              const std::vector<std::string>& names);

}  // namespace zeziza::pages
