#include "store/class_grid.h"

#include <stdexcept>

#include "store/database.h"
#include "store/statement.h"
#include "store/transaction.h"

namespace zeziza::store {

std::vector<ClassMember> classMembers(Database& db, const Scope& place) {
  if (!place.isPlace()) throw std::logic_error("the class grid lists one class");
  Statement statement(db,
                      "select bh, id, xm from ks where xx=? and nj=? and bj=? "
                      "order by length(id), id, bh");
  const Value params[] = {Value(*place.unit), Value(*place.grade), Value(*place.cls)};
  statement.bindAll(params);
  std::vector<ClassMember> members;
  while (statement.step()) {
    members.push_back(
        {statement.column(0).asInt(), statement.column(1).asText(), statement.column(2).asText()});
  }
  return members;
}

double storedScore(Database& db, std::string_view exam, std::int64_t student, int subject) {
  // The column name is built from a checked number, never from text.
  if (subject < 1 || subject > kMaxSubjects) {
    throw std::invalid_argument("subject position out of range: " + std::to_string(subject));
  }
  Statement statement(db, "select k" + std::to_string(subject) + " from cj where test=?");
  const Value key(scoreKey(exam, student));
  statement.bindAll(std::span(&key, 1));
  return statement.step() ? statement.column(0).asDouble() : 0;
}

GridSaveOutcome saveClassGrid(Database& db, const GridSave& save,
                              std::span<const GridScore> scores) {
  std::vector<ScoreWrite> changes;
  changes.reserve(scores.size());
  for (const GridScore& score : scores) {
    changes.push_back({save.exam, score.student, save.subject, score.value, save.subjectCount,
                       save.keepValidScore, save.author});
  }
  // Through the writer, in one change: saved whole or not at all.
  GridSaveOutcome outcome;
  const auto written = writeScores(db, changes);
  for (std::size_t i = 0; i < written.size(); ++i) {
    const ScoreWriteResult result = written[i].result;
    if (result == ScoreWriteResult::KeptExisting) outcome.keptExisting = true;
    outcome.counts.add(result, scores[i].value);
    if (result == ScoreWriteResult::Refused) {
      outcome.refused.push_back({i, written[i].fault, written[i].fullMark});
    }
  }
  return outcome;
}

}  // namespace zeziza::store
