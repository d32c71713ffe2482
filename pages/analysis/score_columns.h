#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeziza::pages {

// Score columns of `cj`: subject number n (1-based) owns column k<n>.
inline constexpr int kMaxSubjects = 12;

// "k<number>"; throws for a number outside 1..kMaxSubjects.
std::string subjectKey(int number);
// "cj.k<number>".
std::string subjectColumn(int number);

// One entry of the session's subject column fragment: column k<number> shown as `name`.
struct SubjectColumn {
  int number = 0;
  std::string name;
  bool operator==(const SubjectColumn&) const = default;
};

// The subjects as the session named them at sign-in, read from its subject column fragment
// (",cj.k1 as 数学 ,cj.k2 as 语文 ", names plain or quoted as identifiers: "数学"). The names stay
// out of every statement: pages select k<number> and look the number up here. Throws for a
// malformed fragment.
class SessionSubjects {
 public:
  explicit SessionSubjects(std::string_view fragment);

  const std::vector<SubjectColumn>& columns() const { return columns_; }
  // The column number of a subject; none (find) or an exception (numberOf) when the subject
  // has no column in this session, having been set up after the user signed in.
  std::optional<int> find(std::string_view name) const;
  int numberOf(std::string_view name) const;
  // ", cj.k1 as k1, cj.k2 as k2" for every subject of the fragment.
  std::string selectList() const;

 private:
  std::vector<SubjectColumn> columns_;
};

// The session's subject key list entry ("k3") as a column number; throws for anything else.
int subjectNumberOfKey(std::string_view key);

}  // namespace zeziza::pages
