#include "store/row_stream.h"

#include "store/database.h"

namespace zeziza::store {

void forEachRow(Database& db, const BoundStatement& statement,
                const std::function<void(const Statement& row)>& onRow) {
  Statement stepped(db, statement.sql);
  stepped.bindAll(statement.params);
  while (stepped.step()) onRow(stepped);
}

}  // namespace zeziza::store
