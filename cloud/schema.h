#pragma once

#include <string_view>

namespace zeziza::cloud {

namespace pg {
class Connection;
}

// The script that creates the cloud service's tables (schema.sql, carried in the binary).
std::string_view schemaSql();
// Creates the tables in the connection's database and schema; running it again changes
// nothing.
void createSchema(pg::Connection& connection);

}  // namespace zeziza::cloud
