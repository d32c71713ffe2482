#include "cloud/schema.h"

#include <stdexcept>
#include <string>

#include "base/embedded_file.h"
#include "cloud/pg.h"
#include "cloud/school_name.h"

namespace zeziza {
const std::vector<EmbeddedFile>& embeddedFiles_cloud_schema();
}

namespace zeziza::cloud {

std::string_view schemaSql() {
  for (const auto& file : embeddedFiles_cloud_schema()) {
    if (file.name == "schema.sql") return file.bytes;
  }
  throw std::logic_error("schema.sql is not in the binary");
}

namespace {

// Gives accounts registered before names had keys theirs. Of two older names that read alike
// the first keeps the key; the other keeps no key but keeps working, and the first's key
// still turns away a third.
void keySchoolNames(pg::Connection& connection) {
  const auto names = connection.exec(
      "SELECT id, 单位名称 FROM yhm WHERE 单位名称 IS NOT NULL AND 名称键 IS NULL ORDER BY id");
  for (int r = 0; r < names.rows(); ++r) {
    connection.exec(
        "UPDATE yhm SET 名称键 = $2 WHERE id = $1 "
        "AND NOT EXISTS (SELECT FROM yhm WHERE 名称键 = $2)",
        {names.text(r, 0), schoolNameKey(names.text(r, 1))});
  }
}

}  // namespace

void createSchema(pg::Connection& connection) {
  // One transaction, so a refused statement leaves no half-made schema and the connection is
  // usable again afterwards.
  pg::Transaction transaction(connection);
  connection.execScript("SET LOCAL client_min_messages = warning;\n" + std::string(schemaSql()));
  keySchoolNames(connection);
  transaction.commit();
}

}  // namespace zeziza::cloud
