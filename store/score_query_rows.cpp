#include "store/score_query_rows.h"

#include <stdexcept>

namespace zeziza::store {

std::string scoreQuerySelectList(const std::vector<SubjectColumn>& subjects,
                                 analysis::AverageBasis basis) {
  return "cj.ks as 考试名称,ks.id as 考号,  ks.xm as 姓名,ks.xx as 学校,ks.nj as 年级,"
         "ks.bj as 班次" +
         subjectSelectList(subjects) + "\n,cj.zf as 总分, " + averageSql(basis, subjects) +
         " as 平均分";
}

namespace {

// The keys with their positions, as the rows of a table `wanted(pos, rowkey)`; the positions
// are the program's own numbers, the keys are bound.
std::string wantedRows(std::size_t count) {
  if (count == 0) return "select 0, 0 where 0";
  std::string rows = "values ";
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) rows += ',';
    rows += '(' + std::to_string(i) + ",?)";
  }
  return rows;
}

}  // namespace

BoundStatement scoreRowsByKeyStatement(const std::vector<SubjectColumn>& subjects,
                                       std::span<const std::int64_t> keys,
                                       analysis::AverageBasis basis) {
  if (keys.size() > kMaxKeysPerRead) {
    throw std::invalid_argument("too many score rows for one read: " + std::to_string(keys.size()));
  }
  BoundStatement s;
  // The key list drives the join: each wanted row finds its score row and its student by
  // primary key, so a page costs the same however big the search was.
  s.sql = "with wanted(pos, rowkey) as (" + wantedRows(keys.size()) + ")\nselect " +
          scoreQuerySelectList(subjects, basis) + ", " + missedMarkSql(subjects) + " as 缺考" +
          "\n from wanted cross join cj cross join ks"
          " where cj.id=wanted.rowkey and ks.bh=cj.kh order by wanted.pos";
  s.params.reserve(keys.size());
  for (const std::int64_t key : keys) s.params.emplace_back(key);
  return s;
}

}  // namespace zeziza::store
