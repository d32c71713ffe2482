#include "cloud/service.h"

#include <map>
#include <stdexcept>

#include "cloud/pg.h"

namespace zeziza::cloud {

namespace {

// The service's name of a name table, as its zeziza_names function takes it.
const char* kindOf(NameTable table) {
  switch (table) {
    case NameTable::Units:
      return "units";
    case NameTable::Grades:
      return "grades";
    case NameTable::Classes:
      return "classes";
    case NameTable::Subjects:
      return "subjects";
  }
  throw std::logic_error("unknown name table");
}

// "$2,$3,…" for `count` parameters after the first.
std::string placeholders(std::size_t count) {
  std::string out;
  for (std::size_t i = 2; i <= count + 1; ++i) {
    if (i > 2) out += ",";
    out += "$" + std::to_string(i);
  }
  return out;
}

}  // namespace

std::vector<std::int64_t> lookupOrInsert(pg::Connection& connection, NameTable table,
                                         const std::vector<std::string>& names) {
  if (names.empty()) return {};
  std::vector<pg::Param> params = {std::string(kindOf(table))};
  params.insert(params.end(), names.begin(), names.end());
  const auto result = connection.exec(
      "SELECT name, id FROM zeziza_names($1, ARRAY[" + placeholders(names.size()) + "]::text[])",
      params);
  std::map<std::string, std::int64_t> ids;
  for (int r = 0; r < result.rows(); ++r) ids[result.text(r, 0)] = result.integer(r, 1);
  std::vector<std::int64_t> out;
  out.reserve(names.size());
  for (const auto& name : names) {
    const auto it = ids.find(name);
    if (it == ids.end()) throw pg::Error("云端未能登记名称：" + name);
    out.push_back(it->second);
  }
  return out;
}

std::optional<Project> findProject(pg::Connection& connection, std::int64_t account,
                                   const std::string& exam) {
  const auto result = connection.exec("SELECT id, period_end FROM zeziza_project($1, $2, NULL)",
                                      {std::to_string(account), exam});
  if (result.rows() == 0) return std::nullopt;
  Project project{result.integer(0, 0), result.text(0, 1)};
  const std::string midnight = " 00:00:00";
  if (project.periodEnd.ends_with(midnight)) {
    project.periodEnd.resize(project.periodEnd.size() - midnight.size());
  }
  return project;
}

std::int64_t ensureProject(pg::Connection& connection, std::int64_t account,
                           const std::string& exam, int days) {
  const auto result = connection.exec("SELECT id FROM zeziza_project($1, $2, $3)",
                                      {std::to_string(account), exam, std::to_string(days)});
  if (result.rows() == 0) throw pg::Error("云端未能建立考试项目：" + exam);
  return result.integer(0, 0);
}

}  // namespace zeziza::cloud
