#include "store/subject_columns.h"

#include <algorithm>

namespace zeziza::store {

std::vector<SubjectColumn> numberSubjects(const std::vector<std::string>& names) {
  const std::size_t count = std::min(names.size(), static_cast<std::size_t>(kMaxSubjects));
  std::vector<SubjectColumn> subjects;
  subjects.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    subjects.push_back({static_cast<int>(i) + 1, names[i]});
  }
  return subjects;
}

}  // namespace zeziza::store
