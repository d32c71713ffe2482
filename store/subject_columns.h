#pragma once

#include <string>
#include <vector>

namespace zeziza::store {

// `cj` has one score column per subject, k1 to k12.
inline constexpr int kMaxSubjects = 12;

// A subject and the score column k<number> that holds its scores.
struct SubjectColumn {
  int number = 0;
  std::string name;
  bool operator==(const SubjectColumn&) const = default;
};

// The subjects in their configured order, numbered from 1; those past the twelfth have no
// column and are left out.
std::vector<SubjectColumn> numberSubjects(const std::vector<std::string>& names);

// "k<number>"; throws for a number outside 1..kMaxSubjects.
std::string subjectKey(int number);
// "cj.k<number>".
std::string subjectColumn(int number);
// ", cj.k1 as k1, cj.k2 as k2" for every subject.
std::string subjectSelectList(const std::vector<SubjectColumn>& subjects);

}  // namespace zeziza::store
