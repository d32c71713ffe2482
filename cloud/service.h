#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zeziza::cloud {

namespace pg {
class Connection;
}

// The name tables the service shares among all accounts.
enum class NameTable { Units, Grades, Classes, Subjects };

// The service's ids of `names`, in their order; names the service does not know yet are
// added first. Two round trips whatever the number of names.
std::vector<std::int64_t> lookupOrInsert(pg::Connection& connection, NameTable table,
                                         const std::vector<std::string>& names);

// An exam project of an account as the service holds it.
struct Project {
  std::int64_t id = 0;
  // End of the lookup period: "yyyy-mm-dd hh:mm:ss", the time left out at midnight.
  std::string periodEnd;
};

std::optional<Project> findProject(pg::Connection& connection, std::int64_t account,
                                   const std::string& exam);
// The project of the exam, created with a lookup period of `days` when the service has none;
// an existing project keeps its period.
std::int64_t ensureProject(pg::Connection& connection, std::int64_t account,
                           const std::string& exam, int days);

}  // namespace zeziza::cloud
