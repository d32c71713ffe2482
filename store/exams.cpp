#include "store/exams.h"

#include <string>

#include "store/database.h"
#include "store/statement.h"
#include "store/subject_columns.h"
#include "store/transaction.h"

namespace zeziza::store {

bool examHasScores(Database& db, std::string_view exam) {
  Statement statement(db, "select 1 from cj where ks=? limit 1");
  const Value value(exam);
  statement.bindAll(std::span(&value, 1));
  return statement.step();
}

std::int64_t examScoreRows(Database& db, std::string_view exam) {
  Statement statement(db, "select count(*) from cj where ks=?");
  const Value value(exam);
  statement.bindAll(std::span(&value, 1));
  statement.step();
  return statement.column(0).asInt();
}

std::optional<std::int64_t> deleteExamScores(Database& db, std::string_view exam,
                                             std::int64_t expectedRows, const ScoreAuthor& author) {
  return writeTransaction(db, [&](Database& w) -> std::optional<std::int64_t> {
    if (examScoreRows(w, exam) != expectedRows) return std::nullopt;
    // One history row per score, as if each had been cleared on its own.
    for (int j = 1; j <= kMaxSubjects; ++j) {
      const std::string k = "k" + std::to_string(j);
      w.exec(
          "insert into score_history (changed_at, user_name, exam, student_key, "
          "subject_position, old_value, new_value, page) select datetime('now', 'localtime'), "
          "?, ks, kh, ?, " +
              k + ", 0, ? from cj where ks=? and " + k + "<>0",
          {Value(author.userName), Value(j), Value(author.page), Value(exam)});
    }
    w.exec("delete from cj where ks=?", {Value(exam)});
    return expectedRows;
  });
}

}  // namespace zeziza::store
