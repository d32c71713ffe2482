#include "store/ranking_rows.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "store/row_stream.h"

namespace zeziza::store {

BoundStatement rankingValuesStatement(const std::vector<SubjectColumn>& subjects,
                                      const ScopeConditions& scope) {
  return {"select cj.id, cj.zf, cj.pj" + subjectSelectList(subjects) +
              " from ks, cj where ks.bh=cj.kh" + scope.sql() + " order by cj.zf desc, cj.id",
          scope.params()};
}

BoundStatement scoreRowsByKeyStatement(const std::vector<SubjectColumn>& subjects,
                                    std::span<const std::int64_t> keys) {
  if (keys.empty() || keys.size() > kRowsByKeyChunk) {
    throw std::invalid_argument("rows by key: 1 to 500 keys");
  }
  BoundStatement s;
  s.sql = "select cj.id, cj.ks, ks.id, ks.xm, ks.xx, ks.nj, ks.bj, cj.zf, cj.pj" +
          subjectSelectList(subjects) + " from ks, cj where ks.bh=cj.kh and cj.id in (?";
  s.sql.reserve(s.sql.size() + 2 * keys.size() + 1);
  for (std::size_t i = 1; i < keys.size(); ++i) s.sql += ",?";
  s.sql += ")";
  s.params.reserve(keys.size());
  for (const std::int64_t key : keys) s.params.emplace_back(key);
  return s;
}

void forEachScoreRowByKey(Database& db, const std::vector<SubjectColumn>& subjects,
                       std::span<const std::int64_t> keys,
                       const std::function<void(const Statement& row)>& onRow) {
  for (std::size_t at = 0; at < keys.size(); at += kRowsByKeyChunk) {
    const auto chunk = keys.subspan(at, std::min(kRowsByKeyChunk, keys.size() - at));
    forEachRow(db, scoreRowsByKeyStatement(subjects, chunk), onRow);
  }
}

}  // namespace zeziza::store
