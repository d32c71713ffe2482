#include "pages/master/student_batch.h"

#include "pages/common/text.h"
#include "store/database.h"
#include "store/list_update.h"
#include "store/statement.h"
#include "store/transaction.h"

namespace zeziza::pages {

namespace {

// The lines of a box without the blank ones at its end.
std::vector<std::string> filledLines(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (const auto& line : lines) out.push_back(trimmed(line));
  while (!out.empty() && out.back().empty()) out.pop_back();
  return out;
}

bool isStored(store::Database& db, const std::string& number) {
  store::Statement find(db, "select 1 from ks where id=? limit 1");
  const store::Value value(number);
  find.bindAll(std::span(&value, 1));
  return find.step();
}

}  // namespace

StudentBatch readStudentBatch(const std::vector<std::string>& numberLines,
                              const std::vector<std::string>& nameLines) {
  const auto numbers = filledLines(numberLines);
  const auto names = filledLines(nameLines);
  StudentBatch batch;
  if (numbers.size() != names.size()) {
    batch.refusal = "学生编号与学生姓名行数不一致，请检查！";
    return batch;
  }
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (numbers[i].empty() && names[i].empty()) continue;
    if (numbers[i].empty() || names[i].empty()) {
      batch.refusal = "第" + std::to_string(i + 1) + "行的学生编号或学生姓名为空，请检查！";
      batch.students.clear();
      return batch;
    }
    batch.students.push_back({numbers[i], names[i]});
  }
  if (batch.students.empty()) batch.refusal = "请在两个框中输入要添加的学生编号和学生姓名！";
  return batch;
}

std::vector<std::string> takenNumbers(store::Database& db, const std::vector<NewStudent>& batch) {
  std::vector<std::string> seen;
  std::vector<std::string> taken;
  for (const auto& student : batch) {
    const bool repeated = store::findEntry(seen, student.number) != std::string::npos;
    if ((repeated || isStored(db, student.number)) &&
        store::findEntry(taken, student.number) == std::string::npos) {
      taken.push_back(student.number);
    }
    seen.push_back(student.number);
  }
  return taken;
}

std::vector<std::string> insertStudents(store::Database& db, const std::vector<NewStudent>& batch,
                                        const std::string& unit, const std::string& grade,
                                        const std::string& cls) {
  store::Transaction transaction(db);
  auto taken = takenNumbers(db, batch);
  if (!taken.empty()) return taken;
  for (const auto& student : batch) {
    db.exec("insert into ks (id,xm,nj,bj,xx) values (?,?,?,?,?)",
            {student.number, student.name, grade, cls, unit});
  }
  transaction.commit();
  return taken;
}

}  // namespace zeziza::pages
