#include "store/exams.h"

#include "store/database.h"
#include "store/statement.h"

namespace zeziza::store {

bool examHasScores(Database& db, std::string_view exam) {
  Statement statement(db, "select 1 from cj where ks=? limit 1");
  const Value value(exam);
  statement.bindAll(std::span(&value, 1));
  return statement.step();
}

}  // namespace zeziza::store
