#include "store/score_import.h"

#include "store/database.h"
#include "store/score_write.h"
#include "store/statement.h"
#include "store/transaction.h"

namespace zeziza::store {

namespace {

std::optional<std::int64_t> studentKey(Database& db, const std::string& number) {
  Statement select(db, "select bh from ks where id=?");
  const Value param(number);
  select.bindAll(std::span<const Value>(&param, 1));
  if (!select.step()) return std::nullopt;
  return select.column(0).asInt();
}

// Unwinds the import's transaction (or savepoint) when a line's student is gone.
struct VanishedStudent {
  std::size_t line;
};

}  // namespace

std::optional<std::size_t> importScores(Database& db, std::string_view exam, int subject,
                                        int subjectCount, std::span<const ImportLine> lines,
                                        const ScoreAuthor& author) {
  try {
    writeTransaction(db, [&](Database& w) {
      for (std::size_t k = 0; k < lines.size(); ++k) {
        const auto student = studentKey(w, lines[k].studentNumber);
        if (!student) throw VanishedStudent{k};
        if (lines[k].value == 0) continue;
        applyScore(w, {exam, *student, subject, lines[k].value, subjectCount, false, author});
      }
    });
  } catch (const VanishedStudent& vanished) {
    return vanished.line;
  }
  return std::nullopt;
}

std::optional<std::size_t> importScoreRows(Database& db, std::string_view exam, int subjectCount,
                                           std::span<const ImportRow> rows,
                                           const ScoreAuthor& author) {
  try {
    writeTransaction(db, [&](Database& w) {
      for (std::size_t k = 0; k < rows.size(); ++k) {
        const auto student = studentKey(w, rows[k].studentNumber);
        if (!student) throw VanishedStudent{k};
        for (const auto& [subject, value] : rows[k].values) {
          if (value != 0) applyScore(w, {exam, *student, subject, value, subjectCount, false, author});
        }
      }
    });
  } catch (const VanishedStudent& vanished) {
    return vanished.line;
  }
  return std::nullopt;
}

}  // namespace zeziza::store
