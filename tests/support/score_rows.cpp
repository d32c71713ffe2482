#include "tests/support/score_rows.h"

#include "store/database.h"

namespace zeziza::testing {

std::int64_t addStudent(store::Database& data, const StudentRow& s) {
  data.exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, ?, ?, ?)",
            {s.number, s.name, s.unit, s.grade, s.inClass});
  return data.lastInsertId();
}

void addScores(store::Database& data, std::int64_t bh, const std::string& exam,
               const std::vector<double>& scores) {
  double total = 0;
  int valid = 0;
  std::string columns = "ks, kh, test, zf, pj";
  std::string marks = "?, ?, ?, ?, ?";
  for (std::size_t i = 0; i < scores.size(); ++i) {
    if (scores[i] > 0) {
      total += scores[i];
      ++valid;
    }
    columns += ", k" + std::to_string(i + 1);
    marks += ", ?";
  }
  std::vector<store::Value> params = {exam, bh, exam + "!&" + std::to_string(bh), total,
                                      valid ? total / valid : 0.0};
  for (double s : scores) params.emplace_back(s);
  data.exec("insert into cj (" + columns + ") values (" + marks + ")", params);
}

}  // namespace zeziza::testing
