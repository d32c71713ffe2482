#include "store/students.h"

#include <initializer_list>
#include <stdexcept>
#include <unordered_set>

#include "base/text.h"
#include "store/database.h"
#include "store/row_batches.h"
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

namespace {

// Which numbers of the batch are stored already: a batch of numbers per statement.
std::vector<bool> storedNumbers(Database& db, const std::vector<NewStudent>& batch) {
  std::vector<Value> params;
  params.reserve(batch.size() * 2);
  for (std::size_t i = 0; i < batch.size(); ++i) {
    params.emplace_back(static_cast<std::int64_t>(i));
    params.emplace_back(batch[i].number);
  }
  std::vector<bool> stored(batch.size());
  runInBatches(
      db, params, 2,
      [](std::size_t n) {
        return "with v(i,n) as (values " + parameterRows(n, 2) +
               ") select v.i from v join ks on ks.id = v.n collate nocase";
      },
      [&](const Statement& s) { stored[static_cast<std::size_t>(s.columnInt(0))] = true; });
  return stored;
}

}  // namespace

// Numbers are compared as ks.id compares them: ASCII letters without case.
std::vector<std::string> takenNumbers(Database& db, const std::vector<NewStudent>& batch) {
  const std::vector<bool> stored = storedNumbers(db, batch);
  std::unordered_set<std::string> seen;
  std::unordered_set<std::string> listed;
  std::vector<std::string> taken;
  for (std::size_t i = 0; i < batch.size(); ++i) {
    std::string folded = base::toLower(batch[i].number);
    const bool repeated = !seen.insert(folded).second;
    if ((repeated || stored[i]) && listed.insert(std::move(folded)).second) {
      taken.push_back(batch[i].number);
    }
  }
  return taken;
}

// The check and the insert are one job of the writer, so no other write comes between them;
// a batch of students per statement keeps a paste of 100,000 lines well under a second.
std::vector<std::string> insertStudents(Database& db, const std::vector<NewStudent>& batch,
                                        const std::string& unit, const std::string& grade,
                                        const std::string& cls) {
  return writeTransaction(db, [&](Database& w) {
    auto taken = takenNumbers(w, batch);
    if (!taken.empty()) return taken;
    std::vector<Value> params;
    params.reserve(batch.size() * 5);
    for (const auto& student : batch) {
      for (const std::string* field : {&student.number, &student.name, &grade, &cls, &unit}) {
        params.emplace_back(*field);
      }
    }
    runInBatches(w, params, 5, [](std::size_t n) {
      return "insert into ks (id,xm,nj,bj,xx) values " + parameterRows(n, 5);
    });
    return taken;
  });
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
