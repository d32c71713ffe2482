#include "store/score_write.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "analysis/full_marks.h"
#include "analysis/number_format.h"
#include "store/database.h"
#include "store/scale_settings.h"
#include "store/score_history.h"
#include "store/statement.h"
#include "store/transaction.h"

namespace zeziza::store {

namespace {

using Scores = ScoreColumns;
using Totals = ScoreTotals;

constexpr const char* kScoreColumnList = "k1,k2,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12";

// The average as the store keeps it: three decimals, rounded half away from zero on the
// decimal digits (so 80.0005 gives 80.001, whatever its binary form).
double threeDecimals(double value) {
  const std::string text = analysis::formatFixed(value, 3);
  double out = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  if (ec != std::errc() || end != text.data() + text.size()) {
    throw std::range_error("score total out of range: " + text);
  }
  return out;
}

}  // namespace

// Valid scores are those above 0 among the first `subjectCount` columns; a column beyond
// the subject list counts for nothing.
ScoreTotals scoreTotals(const ScoreColumns& scores, int subjectCount) {
  Totals t;
  for (int j = 0; j < subjectCount; ++j) {
    if (scores[static_cast<std::size_t>(j)] > 0) {
      t.total += scores[static_cast<std::size_t>(j)];
      ++t.count;
    }
  }
  if (t.count > 0) t.average = threeDecimals(t.total / t.count);
  if (!std::isfinite(t.total)) throw std::range_error("score total out of range");
  return t;
}

namespace {

Totals totalsOf(const Scores& scores, int subjectCount) {
  return scoreTotals(scores, subjectCount);
}

std::string column(int subject) {
  std::string name = "k";
  return name.append(std::to_string(subject));
}

void checkSubject(int subject, int subjectCount) {
  if (subjectCount < 1 || subjectCount > kMaxSubjects) {
    throw std::invalid_argument("subject count out of range: " + std::to_string(subjectCount));
  }
  if (subject < 1 || subject > subjectCount) {
    throw std::invalid_argument("subject position out of range: " + std::to_string(subject));
  }
}

void checkChange(const ScoreWrite& change) {
  checkSubject(change.subject, change.subjectCount);
  if (change.exam.empty()) throw std::invalid_argument("a score needs an exam");
}

struct StoredRow {
  std::int64_t id = 0;
  std::string exam;
  std::int64_t student = 0;
  Scores scores{};
};

std::optional<StoredRow> readRow(Database& db, std::string_view where, const Value& key) {
  Statement select(db, std::string("select id,ks,kh,") + kScoreColumnList + " from cj where " +
                           std::string(where) + "=?");
  select.bindAll(std::span<const Value>(&key, 1));
  if (!select.step()) return std::nullopt;
  StoredRow row;
  row.id = select.column(0).asInt();
  row.exam = select.column(1).asText();
  row.student = select.column(2).asInt();
  for (int j = 0; j < kMaxSubjects; ++j) {
    row.scores[static_cast<std::size_t>(j)] = select.column(j + 3).asDouble();
  }
  return row;
}

// The history row of a change, in the same transaction as the change itself.
void recordChange(Database& db, const ScoreAuthor& author, std::string_view exam,
                  std::int64_t student, int subject, double oldValue, double newValue) {
  appendScoreHistory(db, {std::string(author.userName), std::string(exam), student, subject,
                          oldValue, newValue, std::string(author.page)});
}

void storeTotals(Database& db, std::int64_t rowId, int subject, double value,
                 const Totals& totals) {
  db.exec("update cj set " + column(subject) + "=?, zf=?, pj=? where id=?",
          {Value(value), Value(totals.total), Value(totals.average), Value(rowId)});
}

ScoreWriteOutcome insertRow(Database& db, const ScoreWrite& change, const std::string& key) {
  Scores scores{};
  scores[static_cast<std::size_t>(change.subject - 1)] = change.value;
  const Totals totals = totalsOf(scores, change.subjectCount);
  if (totals.count == 0) return {ScoreWriteResult::NoRow, 0};
  db.exec("insert into cj (ks,kh," + column(change.subject) + ",zf,pj,test) values (?,?,?,?,?,?)",
          {Value(change.exam), Value(change.student), Value(change.value), Value(totals.total),
           Value(totals.average), Value(key)});
  const std::int64_t rowId = db.lastInsertId();
  recordChange(db, change.author, change.exam, change.student, change.subject, 0, change.value);
  return {ScoreWriteResult::Inserted, rowId};
}

// The change when it may be stored, checked against the subject's full mark.
ScoreWriteOutcome applyChecked(Database& db, const ScoreWrite& change,
                               std::span<const int> fullMarks) {
  const int fullMark = fullMarks[static_cast<std::size_t>(change.subject - 1)];
  const analysis::ScoreFault fault = analysis::scoreFault(change.value, fullMark);
  if (fault != analysis::ScoreFault::None) {
    return {ScoreWriteResult::Refused, 0, fault, fullMark};
  }
  const std::string key = scoreKey(change.exam, change.student);
  auto row = readRow(db, "test", Value(key));
  if (!row) return insertRow(db, change, key);

  double& slot = row->scores[static_cast<std::size_t>(change.subject - 1)];
  if (change.keepValidScore && slot > 0) return {ScoreWriteResult::KeptExisting, 0};
  if (slot == change.value) return {ScoreWriteResult::Unchanged, row->id};
  recordChange(db, change.author, change.exam, change.student, change.subject, slot, change.value);
  slot = change.value;
  const Totals totals = totalsOf(row->scores, change.subjectCount);
  if (totals.count == 0) {
    db.exec("delete from cj where id=?", {Value(row->id)});
    return {ScoreWriteResult::RowDeleted, 0};
  }
  storeTotals(db, row->id, change.subject, change.value, totals);
  return {ScoreWriteResult::Updated, row->id};
}

}  // namespace

void WriteCounts::add(ScoreWriteResult result, double value) {
  switch (result) {
    case ScoreWriteResult::Inserted:
      ++written;
      break;
    case ScoreWriteResult::Updated:
      ++(value > 0 ? written : deleted);
      break;
    case ScoreWriteResult::RowDeleted:
      ++deleted;
      break;
    case ScoreWriteResult::NoRow:
    case ScoreWriteResult::Unchanged:
      ++unchanged;
      break;
    case ScoreWriteResult::KeptExisting:
    case ScoreWriteResult::Refused:
      break;
  }
}

std::vector<int> subjectFullMarks(Database& db, int subjectCount) {
  return analysis::parseFullMarks(readFullMarkTexts(db),
                                  static_cast<std::size_t>(std::max(subjectCount, 0)));
}

std::string scoreKey(std::string_view exam, std::int64_t student) {
  return std::string(exam) + "!&" + std::to_string(student);
}

ScoreWriteOutcome applyScore(Database& db, const ScoreWrite& change) {
  checkChange(change);
  return applyChecked(db, change, subjectFullMarks(db, change.subjectCount));
}

ScoreWriteOutcome writeScore(Database& db, const ScoreWrite& change) {
  checkChange(change);
  return writeTransaction(db, [&](Database& w) { return applyScore(w, change); });
}

std::vector<ScoreWriteOutcome> writeScores(Database& db, std::span<const ScoreWrite> changes) {
  for (const ScoreWrite& change : changes) checkChange(change);
  return writeTransaction(db, [&](Database& w) {
    std::vector<ScoreWriteOutcome> outcomes;
    outcomes.reserve(changes.size());
    std::vector<int> fullMarks;
    for (const ScoreWrite& change : changes) {
      if (fullMarks.size() != static_cast<std::size_t>(change.subjectCount)) {
        fullMarks = subjectFullMarks(w, change.subjectCount);
      }
      outcomes.push_back(applyChecked(w, change, fullMarks));
    }
    return outcomes;
  });
}

bool clearScore(Database& db, std::int64_t rowId, int subject, int subjectCount,
                const ScoreAuthor& author) {
  checkSubject(subject, subjectCount);
  return writeTransaction(db, [&](Database& w) {
    auto row = readRow(w, "id", Value(rowId));
    if (!row) return false;
    double& slot = row->scores[static_cast<std::size_t>(subject - 1)];
    recordChange(w, author, row->exam, row->student, subject, slot, 0);
    slot = 0;
    const Totals totals = totalsOf(row->scores, subjectCount);
    if (totals.count == 0) {
      w.exec("delete from cj where id=?", {Value(row->id)});
    } else {
      storeTotals(w, row->id, subject, 0, totals);
    }
    return true;
  });
}

}  // namespace zeziza::store
