#include "store/ranking_rows.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "store/row_stream.h"

namespace zeziza::store {

BoundStatement rankingValuesStatement(const std::vector<SubjectColumn>& subjects,
                                      const ScopeConditions& scope, analysis::AverageBasis basis) {
  return {"select cj.id, cj.zf, " + averageSql(basis, subjects) + subjectSelectList(subjects) +
              " from ks, cj where ks.bh=cj.kh" + scope.sql() + " order by cj.zf desc, cj.id",
          scope.params()};
}

namespace {

// " in (?,?,…)" with the keys bound, at most kMaxKeysPerRead.
void bindKeys(BoundStatement& s, std::span<const std::int64_t> keys) {
  if (keys.empty() || keys.size() > kMaxKeysPerRead) {
    throw std::invalid_argument("rows by key: 1 to 500 keys");
  }
  s.sql.reserve(s.sql.size() + 2 * keys.size() + 6);
  s.sql += " in (?";
  for (std::size_t i = 1; i < keys.size(); ++i) s.sql += ",?";
  s.sql += ")";
  s.params.reserve(keys.size());
  for (const std::int64_t key : keys) s.params.emplace_back(key);
}

// Runs `statementOf` over `keys` a chunk at a time.
void forEachByKey(Database& db, std::span<const std::int64_t> keys,
                  const std::function<BoundStatement(std::span<const std::int64_t>)>& statementOf,
                  const std::function<void(const Statement& row)>& onRow) {
  for (std::size_t at = 0; at < keys.size(); at += kMaxKeysPerRead) {
    forEachRow(db, statementOf(keys.subspan(at, std::min(kMaxKeysPerRead, keys.size() - at))),
               onRow);
  }
}

}  // namespace

BoundStatement rankingRowsByKeyStatement(const std::vector<SubjectColumn>& subjects,
                                         std::span<const std::int64_t> keys,
                                         analysis::AverageBasis basis) {
  BoundStatement s;
  s.sql = "select cj.id, cj.ks, ks.id, ks.xm, ks.xx, ks.nj, ks.bj, cj.zf, " +
          averageSql(basis, subjects) + subjectSelectList(subjects) + ", " +
          missedMarkSql(subjects) + " from ks, cj where ks.bh=cj.kh and cj.id";
  bindKeys(s, keys);
  return s;
}

void forEachScoreRowByKey(Database& db, const std::vector<SubjectColumn>& subjects,
                          std::span<const std::int64_t> keys,
                          const std::function<void(const Statement& row)>& onRow,
                          analysis::AverageBasis basis) {
  forEachByKey(
      db, keys, [&](auto chunk) { return rankingRowsByKeyStatement(subjects, chunk, basis); },
      onRow);
}

BoundStatement studentsByKeyStatement(std::span<const std::int64_t> keys) {
  BoundStatement s;
  s.sql = "select bh, id, xm, xx, nj, bj from ks where bh";
  bindKeys(s, keys);
  return s;
}

void forEachStudentByKey(Database& db, std::span<const std::int64_t> keys,
                         const std::function<void(const Statement& row)>& onRow) {
  forEachByKey(db, keys, studentsByKeyStatement, onRow);
}

}  // namespace zeziza::store
