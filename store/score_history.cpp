#include "store/score_history.h"

#include "store/database.h"
#include "store/statement.h"

namespace zeziza::store {

void appendScoreHistory(Database& db, const ScoreChange& change) {
  if (change.oldValue == change.newValue) return;
  db.exec(
      "insert into score_history (changed_at, user_name, exam, student_key, subject_position, "
      "old_value, new_value, page) values (datetime('now', 'localtime'), ?, ?, ?, ?, ?, ?, ?)",
      {Value(change.userName), Value(change.exam), Value(change.studentKey),
       Value(change.subjectPosition), Value(change.oldValue), Value(change.newValue),
       Value(change.page)});
}

std::vector<ScoreHistoryEntry> readScoreHistory(Database& db, const std::string& exam,
                                                std::int64_t studentKey) {
  Statement s(db,
              "select changed_at, user_name, subject_position, old_value, new_value, page, exam "
              "from score_history where (?='' or exam=?) and student_key=? order by id desc");
  const Value params[] = {Value(exam), Value(exam), Value(studentKey)};
  s.bindAll(params);
  std::vector<ScoreHistoryEntry> entries;
  while (s.step()) {
    ScoreHistoryEntry e;
    e.changedAt = s.column(0).asText();
    e.change.userName = s.column(1).asText();
    e.change.exam = s.column(6).asText();
    e.change.studentKey = studentKey;
    e.change.subjectPosition = static_cast<int>(s.column(2).asInt());
    e.change.oldValue = s.column(3).asDouble();
    e.change.newValue = s.column(4).asDouble();
    e.change.page = s.column(5).asText();
    entries.push_back(std::move(e));
  }
  return entries;
}

}  // namespace zeziza::store
