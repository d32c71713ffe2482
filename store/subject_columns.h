#pragma once

#include <string>
#include <utility>
#include <vector>

#include "analysis/averages.h"

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

// The subjects a score row's class sat in the row's exam (those any student of the same unit,
// grade and class has a score above 0 in), as an SQL expression over the row's `ks` and `cj`.
// Correlated: evaluate it for the rows shown, or where the setting asks for it.
std::string classSubjectsSql(const std::vector<SubjectColumn>& subjects);
// The row's average by `basis`: the stored cj.pj (over the subjects sat), or cj.zf over the
// class's subjects.
std::string averageSql(analysis::AverageBasis basis, const std::vector<SubjectColumn>& subjects);
// "(缺N科)" for a row that misses N subjects its class sat; '' for none.
std::string missedMarkSql(const std::vector<SubjectColumn>& subjects);

// A column of `cj` that pages name by what it holds; its SQL name stays in the store.
class ScoreColumn {
 public:
  static ScoreColumn studentKey() { return ScoreColumn("cj.kh"); }
  static ScoreColumn total() { return ScoreColumn("cj.zf"); }
  static ScoreColumn average() { return ScoreColumn("cj.pj"); }
  // The average by the basis set (see averageSql).
  static ScoreColumn average(analysis::AverageBasis basis,
                             const std::vector<SubjectColumn>& subjects) {
    return ScoreColumn(averageSql(basis, subjects));
  }
  // The column of subject `number`; throws for a number outside 1..kMaxSubjects.
  static ScoreColumn subject(int number) { return ScoreColumn(subjectColumn(number)); }

  // For the store's statements only.
  const std::string& sql() const { return sql_; }
  bool operator==(const ScoreColumn&) const = default;

 private:
  explicit ScoreColumn(std::string sql) : sql_(std::move(sql)) {}
  std::string sql_;
};

}  // namespace zeziza::store
