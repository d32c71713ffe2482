#include "store/score_presence.h"

#include "store/database.h"
#include "store/statement.h"

namespace zeziza::store {

bool scoresExist(Database& db) {
  Statement statement(db, "select 1 from cj limit 1");
  return statement.step();
}

}  // namespace zeziza::store
