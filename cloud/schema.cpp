#include "cloud/schema.h"

#include <stdexcept>
#include <string>

#include "base/embedded_file.h"
#include "cloud/pg.h"

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

void createSchema(pg::Connection& connection) {
  // One transaction, so a refused statement leaves no half-made schema and the connection is
  // usable again afterwards.
  pg::Transaction transaction(connection);
  connection.execScript("SET LOCAL client_min_messages = warning;\n" + std::string(schemaSql()));
  transaction.commit();
}

}  // namespace zeziza::cloud
