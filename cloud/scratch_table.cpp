#include "cloud/scratch_table.h"

#include <algorithm>
#include <optional>

#include "cloud/progress.h"
#include "store/database.h"
#include "store/statement.h"
#include "store/subject_columns.h"
#include "store/transaction.h"

namespace zeziza::cloud {

namespace {

constexpr std::size_t kMaxSubjects = 12;
constexpr std::size_t kRowsPerInsert = 200;
constexpr std::size_t kColumnsPerRow = 7;
struct ScratchRow {
  std::string stuid;  // as the roster has it: 0101 and 101 are two students
  std::string name, unit, grade, inClass, subject;
  double score;
};

std::string selectScores(std::size_t subjectCount, analysis::AverageBasis averages) {
  std::vector<store::SubjectColumn> columns;
  for (std::size_t n = 1; n <= subjectCount; ++n) columns.push_back({static_cast<int>(n), {}});
  std::string sql =
      "select ks.id, ks.xm, ks.xx, ks.nj, ks.bj, cj.zf, " + store::averageSql(averages, columns);
  for (std::size_t n = 1; n <= subjectCount; ++n) sql += ", cj.k" + std::to_string(n);
  return sql + " from ks join cj on cj.kh = ks.bh where cj.ks = ? order by ks.bh";
}

// Writes rows in multi-row inserts.
class ScratchWriter {
 public:
  explicit ScratchWriter(store::Database& temp) : temp_(temp) {}
  void add(ScratchRow row) {
    pending_.push_back(std::move(row));
    if (pending_.size() == kRowsPerInsert) flush();
  }
  void flush() {
    if (pending_.empty()) return;
    std::string sql = "INSERT INTO tem (stuid,name,dw,nj,bc,km,cj) VALUES ";
    std::vector<store::Value> params;
    params.reserve(pending_.size() * kColumnsPerRow);
    for (std::size_t i = 0; i < pending_.size(); ++i) {
      sql += i == 0 ? "(?,?,?,?,?,?,?)" : ",(?,?,?,?,?,?,?)";
      auto& r = pending_[i];
      params.insert(params.end(),
                    {store::Value(std::move(r.stuid)), store::Value(std::move(r.name)),
                     store::Value(std::move(r.unit)), store::Value(std::move(r.grade)),
                     store::Value(std::move(r.inClass)), store::Value(std::move(r.subject)),
                     store::Value(r.score)});
    }
    temp_.exec(sql, params);
    written_ += pending_.size();
    pending_.clear();
  }
  std::size_t written() const { return written_; }

 private:
  store::Database& temp_;
  std::vector<ScratchRow> pending_;
  std::size_t written_ = 0;
};

void addStudentRows(const store::Statement& row, const std::vector<std::string>& subjects,
                    ScratchWriter& writer) {
  const std::string number = row.column(0).asText();
  if (number.empty()) {
    throw Refusal("学生“" + row.column(1).asText() +
                  "”没有学生编号，云端无法按编号保存成绩。请先在学生管理中补上编号。");
  }
  auto add = [&](const std::string& subject, double score) {
    if (score <= 0) return;
    writer.add({number, row.column(1).asText(), row.column(2).asText(), row.column(3).asText(),
                row.column(4).asText(), subject, score});
  };
  for (std::size_t n = 0; n < subjects.size(); ++n) {
    add(subjects[n], row.column(static_cast<int>(7 + n)).asDouble());
  }
  add(kTotalName, row.column(5).asDouble());
  add(kAverageName, row.column(6).asDouble());
}

}  // namespace

std::size_t fillScratchTable(store::Database& data, store::Database& temp, const std::string& exam,
                             const std::vector<std::string>& subjects, Progress& progress,
                             analysis::AverageBasis averages) {
  const std::vector<std::string> used(subjects.begin(),
                                      subjects.begin() + std::min(subjects.size(), kMaxSubjects));
  store::Transaction transaction(temp);
  temp.exec("delete from tem");
  ScratchWriter writer(temp);
  store::Statement scores(data, selectScores(used.size(), averages));
  const store::Value examValue(exam);
  scores.bindAll(std::span<const store::Value>(&examValue, 1));
  std::size_t students = 0;
  while (scores.step()) {
    addStudentRows(scores, used, writer);
    if (++students % 1000 == 0) progress.checkpoint();
  }
  writer.flush();
  transaction.commit();
  return writer.written();
}

void rankScratchTable(store::Database& temp, const RankChoice& ranks, Progress& progress) {
  // Consecutive ranks keep the order in which the rows were written (their id).
  const std::string window =
      ranks.shared ? "rank() OVER (PARTITION BY " : "row_number() OVER (PARTITION BY ";
  const std::string order = ranks.shared ? " ORDER BY cj DESC" : " ORDER BY cj DESC, id";
  auto rank = [&](const char* column, const char* partition) {
    temp.exec(std::string("UPDATE tem SET ") + column + " = r.n FROM (SELECT id, " + window +
              partition + order + ") AS n FROM tem) AS r WHERE tem.id = r.id");
  };
  store::Transaction transaction(temp);
  if (ranks.overall) {
    progress.log(">>总排序");
    rank("总排名", "nj, km");
  }
  if (ranks.unit) {
    progress.log(">>年级内排序");
    rank("校内排名", "nj, dw, km");
  }
  if (ranks.inClass) {
    progress.log(">>班内排序");
    rank("班内排名", "nj, dw, bc, km");
  }
  transaction.commit();
}

}  // namespace zeziza::cloud
