#include "cloud/service.h"

#include <map>
#include <stdexcept>

#include "cloud/pg.h"

namespace zeziza::cloud {

namespace {

struct NameColumns {
  const char* table;
  const char* column;
};

NameColumns columnsOf(NameTable table) {
  switch (table) {
    case NameTable::Units:
      return {"gxdw", "单位"};
    case NameTable::Grades:
      return {"gxnj", "年级"};
    case NameTable::Classes:
      return {"gxbc", "班次"};
    case NameTable::Subjects:
      return {"gxkm", "科目"};
  }
  throw std::logic_error("unknown name table");
}

// "($1),($2),…" or "$1,$2,…" for `count` parameters.
std::string placeholders(std::size_t count, bool rows) {
  std::string out;
  for (std::size_t i = 1; i <= count; ++i) {
    if (i > 1) out += ",";
    out += rows ? "($" : "$";
    out += std::to_string(i);
    if (rows) out += ")";
  }
  return out;
}

}  // namespace

std::vector<std::int64_t> lookupOrInsert(pg::Connection& connection, NameTable table,
                                         const std::vector<std::string>& names) {
  if (names.empty()) return {};
  const auto [t, c] = columnsOf(table);
  const std::vector<pg::Param> params(names.begin(), names.end());
  connection.exec(std::string("INSERT INTO ") + t + " (" + c + ") VALUES " +
                      placeholders(names.size(), true) + " ON CONFLICT (" + c + ") DO NOTHING",
                  params);
  const auto result = connection.exec(std::string("SELECT ") + c + ", id FROM " + t + " WHERE " +
                                          c + " IN (" + placeholders(names.size(), false) + ")",
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
  const auto result = connection.exec(
      "SELECT id, to_char(上报时间 + 有效期 * interval '1 day', 'YYYY-MM-DD HH24:MI:SS') "
      "FROM xmb WHERE yhmid = $1 AND 项目名称 = $2",
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
  connection.exec(
      "INSERT INTO xmb (yhmid, 项目名称, 有效期) VALUES ($1, $2, $3) "
      "ON CONFLICT (yhmid, 项目名称) DO NOTHING",
      {std::to_string(account), exam, std::to_string(days)});
  const auto project = findProject(connection, account, exam);
  if (!project) throw pg::Error("云端未能建立考试项目：" + exam);
  return project->id;
}

}  // namespace zeziza::cloud
