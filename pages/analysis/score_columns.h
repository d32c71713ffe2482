#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/subject_columns.h"

namespace zeziza::pages {

// Score columns of `cj`: subject number n (1-based) owns column k<n>.
using store::kMaxSubjects;
using store::SubjectColumn;

using store::subjectKey;

// The subjects as the session numbered them at sign-in. The names stay out of every
// statement: pages select k<number> and look the number up here.
class SessionSubjects {
 public:
  explicit SessionSubjects(std::vector<SubjectColumn> columns) : columns_(std::move(columns)) {}
  // The signed-in session's subjects.
  static SessionSubjects current();

  const std::vector<SubjectColumn>& columns() const { return columns_; }
  // The column number of a subject; none (find) or an exception (numberOf) when the subject
  // has no column in this session, having been set up after the user signed in.
  std::optional<int> find(std::string_view name) const;
  int numberOf(std::string_view name) const;

 private:
  std::vector<SubjectColumn> columns_;
};

}  // namespace zeziza::pages
