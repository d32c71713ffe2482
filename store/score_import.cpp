#include "store/score_import.h"

#include <stdexcept>
#include <unordered_map>

#include "store/database.h"
#include "store/row_batches.h"
#include "store/score_write.h"
#include "store/statement.h"
#include "store/transaction.h"

namespace zeziza::store {

namespace {

constexpr const char* kColumns = "k1,k2,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12";

// A student's score row as the import leaves it; `rowId` 0 for a row not stored yet.
struct RowState {
  std::int64_t student = 0;
  std::int64_t rowId = 0;
  ScoreColumns scores{};
  bool touched = false;
};

std::vector<RefusedScore> refusedScores(std::span<const ImportRow> rows,
                                        std::span<const int> fullMarks) {
  std::vector<RefusedScore> refused;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (const auto& [subject, value] : rows[r].values) {
      if (subject < 1 || static_cast<std::size_t>(subject) > fullMarks.size()) {
        throw std::invalid_argument("subject position out of range: " + std::to_string(subject));
      }
      const int fullMark = fullMarks[static_cast<std::size_t>(subject - 1)];
      const auto fault = analysis::scoreFault(value, fullMark);
      if (fault != analysis::ScoreFault::None)
        refused.push_back({r, subject, value, fullMark, fault});
    }
  }
  return refused;
}

// The student key of every row's number; nullopt where no student has it.
std::vector<std::optional<std::int64_t>> studentKeys(Database& db,
                                                     std::span<const ImportRow> rows) {
  std::vector<Value> params;
  params.reserve(rows.size() * 2);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    params.emplace_back(static_cast<std::int64_t>(r));
    params.emplace_back(rows[r].studentNumber);
  }
  std::vector<std::optional<std::int64_t>> keys(rows.size());
  runInBatches(
      db, params, 2,
      [](std::size_t n) {
        return "with v(i,n) as (values " + parameterRows(n, 2) +
               ") select v.i, ks.bh from v join ks on ks.id = v.n collate nocase";
      },
      [&](const Statement& s) { keys[static_cast<std::size_t>(s.columnInt(0))] = s.columnInt(1); });
  return keys;
}

using RowStates = std::unordered_map<std::int64_t, RowState>;

// The stored rows of the students, keyed by student.
RowStates storedRows(Database& db, std::string_view exam,
                     const std::vector<std::int64_t>& students) {
  std::vector<Value> params;
  params.reserve(students.size() * 2);
  for (const std::int64_t student : students) {
    params.emplace_back(student);
    params.emplace_back(scoreKey(exam, student));
  }
  RowStates rows;
  runInBatches(
      db, params, 2,
      [](std::size_t n) {
        return "with v(s,t) as (values " + parameterRows(n, 2) + ") select v.s, cj.id, " +
               kColumns + " from v join cj on cj.test = v.t collate nocase";
      },
      [&](const Statement& s) {
        RowState row{s.columnInt(0), s.columnInt(1), {}, false};
        for (int j = 0; j < kMaxSubjects; ++j) {
          row.scores[static_cast<std::size_t>(j)] = s.columnDouble(j + 2);
        }
        rows.emplace(row.student, row);
      });
  return rows;
}

// A change of one score, for the history.
struct ScoreStep {
  std::int64_t student = 0;
  int subject = 0;
  double oldValue = 0;
  double newValue = 0;
};

// What the import writes, as rows of statement parameters.
struct Changes {
  std::vector<Value> history;  // user, exam, student, subject, old, new, page
  std::vector<Value> inserts;  // ks, kh, test, k1 … k12, zf, pj
  std::vector<Value> updates;  // id, k1 … k12, zf, pj
  std::vector<Value> deletes;  // id
};

void addScores(std::vector<Value>& out, const ScoreColumns& scores, const ScoreTotals& totals) {
  for (const double v : scores) out.emplace_back(v);
  out.emplace_back(totals.total);
  out.emplace_back(totals.average);
}

// The rows' final states: a row without a valid score goes, or is never made (and then has
// no history either).
void addRowChanges(Changes& changes, std::string_view exam, int subjectCount,
                   const std::vector<RowState*>& touched) {
  for (RowState* row : touched) {
    const ScoreTotals totals = scoreTotals(row->scores, subjectCount);
    if (totals.count == 0) {
      if (row->rowId != 0) changes.deletes.emplace_back(row->rowId);
      row->touched = row->rowId != 0;
    } else if (row->rowId == 0) {
      changes.inserts.emplace_back(exam);
      changes.inserts.emplace_back(row->student);
      changes.inserts.emplace_back(scoreKey(exam, row->student));
      addScores(changes.inserts, row->scores, totals);
    } else {
      changes.updates.emplace_back(row->rowId);
      addScores(changes.updates, row->scores, totals);
    }
  }
}

std::string columnsOf(const char* prefix) {
  std::string text;
  for (int j = 1; j <= kMaxSubjects; ++j) {
    text += std::string(j == 1 ? "" : ",") + "k" + std::to_string(j) + "=" + prefix + "k" +
            std::to_string(j);
  }
  return text;
}

void writeChanges(Database& db, const Changes& changes) {
  runInBatches(db, changes.history, 7, [](std::size_t n) {
    return "with v(u,e,s,p,o,n,g) as (values " + parameterRows(n, 7) +
           ") insert into score_history (changed_at, user_name, exam, student_key, "
           "subject_position, old_value, new_value, page) "
           "select datetime('now', 'localtime'), u, e, s, p, o, n, g from v";
  });
  runInBatches(db, changes.deletes, 1, [](std::size_t n) {
    return "delete from cj where id in (values " + parameterRows(n, 1) + ")";
  });
  runInBatches(db, changes.updates, 15, [](std::size_t n) {
    return std::string("with v(id,") + kColumns + ",zf,pj) as (values " + parameterRows(n, 15) +
           ") update cj set " + columnsOf("v.") + ",zf=v.zf,pj=v.pj from v where cj.id=v.id";
  });
  runInBatches(db, changes.inserts, 17, [](std::size_t n) {
    return std::string("insert into cj (ks,kh,test,") + kColumns + ",zf,pj) values " +
           parameterRows(n, 17);
  });
}

ImportOutcome importRows(Database& db, std::string_view exam, int subjectCount,
                         std::span<const ImportRow> rows, const ScoreAuthor& author) {
  ImportOutcome outcome;
  outcome.refused = refusedScores(rows, subjectFullMarks(db, subjectCount));
  if (!outcome.refused.empty()) return outcome;
  const auto keys = studentKeys(db, rows);
  std::vector<std::int64_t> students;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (!keys[r]) {
      outcome.vanished = r;
      return outcome;
    }
    students.push_back(*keys[r]);
  }
  RowStates states = storedRows(db, exam, students);
  std::vector<ScoreStep> steps;
  std::vector<RowState*> touched;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    RowState& row =
        states.try_emplace(students[r], RowState{students[r], 0, {}, false}).first->second;
    for (const auto& [subject, value] : rows[r].values) {
      double& slot = row.scores[static_cast<std::size_t>(subject - 1)];
      if (slot == value) {
        ++outcome.counts.unchanged;
        continue;
      }
      ++(value == 0 ? outcome.counts.deleted : outcome.counts.written);
      steps.push_back({row.student, subject, slot, value});
      slot = value;
      if (!row.touched) touched.push_back(&row);  // map nodes stay where they are
      row.touched = true;
    }
  }
  Changes changes;
  addRowChanges(changes, exam, subjectCount, touched);
  for (const ScoreStep& step : steps) {
    if (!states.at(step.student).touched) continue;  // a row never made
    for (Value v : {Value(author.userName), Value(exam), Value(step.student), Value(step.subject),
                    Value(step.oldValue), Value(step.newValue), Value(author.page)}) {
      changes.history.push_back(std::move(v));
    }
  }
  writeChanges(db, changes);
  return outcome;
}

}  // namespace

ImportOutcome importScores(Database& db, std::string_view exam, int subject, int subjectCount,
                           std::span<const ImportLine> lines, const ScoreAuthor& author) {
  std::vector<ImportRow> rows;
  rows.reserve(lines.size());
  for (const ImportLine& line : lines)
    rows.push_back({line.studentNumber, {{subject, line.value}}});
  return importScoreRows(db, exam, subjectCount, rows, author);
}

ImportOutcome importScoreRows(Database& db, std::string_view exam, int subjectCount,
                              std::span<const ImportRow> rows, const ScoreAuthor& author) {
  if (exam.empty()) throw std::invalid_argument("a score needs an exam");
  if (subjectCount < 1 || subjectCount > kMaxSubjects) {
    throw std::invalid_argument("subject count out of range: " + std::to_string(subjectCount));
  }
  // Refusals are found before the first write: a refused import writes nothing.
  return writeTransaction(
      db, [&](Database& w) { return importRows(w, exam, subjectCount, rows, author); });
}

}  // namespace zeziza::store
