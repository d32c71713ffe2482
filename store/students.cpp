#include "store/students.h"

#include <initializer_list>
#include <stdexcept>

#include "store/database.h"
#include "store/list_update.h"
#include "store/statement.h"
#include "store/transaction.h"

namespace zeziza::store {

namespace {

// True when `sql` with `params` yields a row.
bool anyRow(Database& db, std::string_view sql, std::span<const Value> params) {
  Statement statement(db, sql);
  statement.bindAll(params);
  return statement.step();
}

bool anyRow(Database& db, std::string_view sql, std::initializer_list<Value> params) {
  return anyRow(db, sql, std::span<const Value>(params.begin(), params.size()));
}

bool hasScores(Database& db, std::int64_t key) {
  return anyRow(db, "select 1 from cj where kh=? limit 1", {Value(key)});
}

void removeOne(Database& db, std::int64_t key) {
  db.exec("delete from cj where kh=?", {Value(key)});
  db.exec("delete from ks where bh=?", {Value(key)});
}

const char* placeColumn(PlaceField field) {
  switch (field) {
    case PlaceField::Unit:
      return "xx";
    case PlaceField::Grade:
      return "nj";
    case PlaceField::Class:
      return "bj";
  }
  throw std::invalid_argument("unknown place field");
}

}  // namespace

std::optional<Student> findStudent(Database& db, std::string_view number) {
  Statement statement(db, "select bh,id,xm,xx,nj,bj from ks where id=?");
  const Value value(number);
  statement.bindAll(std::span(&value, 1));
  if (!statement.step()) return std::nullopt;
  return Student{statement.column(0).asInt(),  statement.column(1).asText(),
                 statement.column(2).asText(), statement.column(3).asText(),
                 statement.column(4).asText(), statement.column(5).asText()};
}

bool numberStored(Database& db, std::string_view number) {
  return anyRow(db, "select 1 from ks where id=? limit 1", {Value(number)});
}

std::vector<std::string> takenNumbers(Database& db, const std::vector<NewStudent>& batch) {
  std::vector<std::string> seen;
  std::vector<std::string> taken;
  for (const auto& student : batch) {
    const bool repeated = findEntry(seen, student.number) != std::string::npos;
    if ((repeated || numberStored(db, student.number)) &&
        findEntry(taken, student.number) == std::string::npos) {
      taken.push_back(student.number);
    }
    seen.push_back(student.number);
  }
  return taken;
}

std::vector<std::string> insertStudents(Database& db, const std::vector<NewStudent>& batch,
                                        const std::string& unit, const std::string& grade,
                                        const std::string& cls) {
  Transaction transaction(db);
  auto taken = takenNumbers(db, batch);
  if (!taken.empty()) return taken;
  for (const auto& student : batch) {
    db.exec("insert into ks (id,xm,nj,bj,xx) values (?,?,?,?,?)",
            {student.number, student.name, grade, cls, unit});
  }
  transaction.commit();
  return taken;
}

StudentChangeResult changeStudent(Database& db, const StudentChange& change) {
  Transaction transaction(db);
  if (anyRow(db, "select 1 from ks where id=? and bh<>? limit 1",
             {Value(change.number), Value(change.key)})) {
    return StudentChangeResult::NumberTaken;
  }
  const int changed =
      db.exec("update ks set id=?,xm=?,xx=?,nj=?,bj=? where bh=?",
              {change.number, change.name, change.unit, change.grade, change.cls, change.key});
  transaction.commit();
  return changed == 0 ? StudentChangeResult::Missing : StudentChangeResult::Changed;
}

void removeStudents(Database& db, std::span<const std::int64_t> keys) {
  Transaction transaction(db);
  for (const auto key : keys) removeOne(db, key);
  transaction.commit();
}

bool removeStudent(Database& db, std::int64_t key, bool withScores) {
  Transaction transaction(db);
  if (!withScores && hasScores(db, key)) return false;
  removeOne(db, key);
  transaction.commit();
  return true;
}

bool placeInUse(Database& db, PlaceField field, std::string_view name) {
  return anyRow(db, "select 1 from ks where " + std::string(placeColumn(field)) + "=? limit 1",
                {Value(name)});
}

}  // namespace zeziza::store
