#include "store/exam_score_rows.h"

#include <algorithm>

#include "store/statement.h"

namespace zeziza::store {

namespace {

constexpr std::size_t kSubjectColumns = 12;  // k1 … k12 of cj

}  // namespace

std::vector<analysis::StudentScores> readExamScoreRows(Database& db, const std::string& exam,
                                                       const std::string& unit,
                                                       const std::string& grade,
                                                       std::size_t subjectCount) {
  const std::size_t subjects = std::min(subjectCount, kSubjectColumns);
  std::string sql = "select ks.id, ks.xm, ks.xx, ks.nj, ks.bj, cj.zf, cj.pj, cj.id";
  for (std::size_t k = 1; k <= subjects; ++k) sql += ", cj.k" + std::to_string(k);
  sql += " from ks join cj on ks.bh=cj.kh where cj.ks=?";
  std::vector<Value> params = {Value(exam)};
  if (!unit.empty()) {
    sql += " and ks.xx=?";
    params.emplace_back(unit);
  }
  if (!grade.empty()) {
    sql += " and ks.nj=?";
    params.emplace_back(grade);
  }
  sql += " order by ks.xx, ks.nj, ks.bj, ks.id";
  Statement statement(db, sql);
  statement.bindAll(params);
  std::vector<analysis::StudentScores> rows;
  while (statement.step()) {
    analysis::StudentScores row;
    row.id = statement.column(0).asText();
    row.name = statement.column(1).asText();
    row.unit = statement.column(2).asText();
    row.grade = statement.column(3).asText();
    row.cls = statement.column(4).asText();
    row.total = statement.column(5).asDouble();
    row.average = statement.column(6).asDouble();
    row.rowId = statement.column(7).asInt();
    for (std::size_t k = 0; k < subjects; ++k) {
      row.subjects.push_back(statement.column(static_cast<int>(8 + k)).asDouble());
    }
    row.subjects.resize(subjectCount, 0);
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace zeziza::store
