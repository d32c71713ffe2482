#include "store/students.h"

#include <algorithm>
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

// (index, number) rows for the lookup of stored numbers.
std::vector<Value> numberRows(const std::vector<NewStudent>& batch) {
  std::vector<Value> params;
  params.reserve(batch.size() * 2);
  for (std::size_t i = 0; i < batch.size(); ++i) {
    params.emplace_back(static_cast<std::int64_t>(i));
    params.emplace_back(batch[i].number);
  }
  return params;
}

// Which numbers of the batch are stored already: a batch of numbers per statement.
std::vector<bool> storedNumbers(Database& db, std::span<const Value> numberRows) {
  std::vector<bool> stored(numberRows.size() / 2);
  runInBatches(
      db, numberRows, 2,
      [](std::size_t n) {
        return "with v(i,n) as (values " + parameterRows(n, 2) +
               ") select v.i from v join ks on ks.id = v.n collate nocase";
      },
      [&](const Statement& s) { stored[static_cast<std::size_t>(s.columnInt(0))] = true; });
  return stored;
}

// The taken numbers in batch order, each once: stored ones and those repeated in the batch.
// Numbers are compared as ks.id compares them: ASCII letters without case.
std::vector<std::string> takenOf(const std::vector<NewStudent>& batch,
                                 const std::vector<bool>& stored) {
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

bool anyRepeated(const std::vector<NewStudent>& batch) {
  std::unordered_set<std::string> seen;
  seen.reserve(batch.size());
  for (const auto& student : batch) {
    if (!seen.insert(base::toLower(student.number)).second) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> takenNumbers(Database& db, const std::vector<NewStudent>& batch) {
  return takenOf(batch, storedNumbers(db, numberRows(batch)));
}

// Only the lookup and the insert are the writer's job, so no other write comes between them
// and nothing else holds the writer: the rows are made ready before, a batch of students goes
// per statement, and a paste of 100,000 lines takes a small part of a second there.
std::vector<std::string> insertStudents(Database& db, const std::vector<NewStudent>& batch,
                                        const std::string& unit, const std::string& grade,
                                        const std::string& cls) {
  if (anyRepeated(batch)) return takenNumbers(db, batch);
  const std::vector<Value> lookup = numberRows(batch);
  std::vector<Value> rows;
  rows.reserve(batch.size() * 5);
  for (const auto& student : batch) {
    for (const std::string* field : {&student.number, &student.name, &grade, &cls, &unit}) {
      rows.emplace_back(*field);
    }
  }
  const auto stored = writeTransaction(db, [&](Database& w) {
    auto found = storedNumbers(w, lookup);
    if (std::find(found.begin(), found.end(), true) != found.end()) return found;
    runInBatches(w, rows, 5, [](std::size_t n) {
      return "insert into ks (id,xm,nj,bj,xx) values " + parameterRows(n, 5);
    });
    return found;
  });
  return takenOf(batch, stored);
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
