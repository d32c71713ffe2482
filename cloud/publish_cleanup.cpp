#include "cloud/publish_cleanup.h"

#include <string>
#include <vector>

#include "cloud/pg.h"
#include "cloud/upload.h"

namespace zeziza::cloud {

namespace {

// An SQL array literal of ids, bound as one parameter.
std::string idArray(const std::vector<std::int64_t>& ids) {
  std::string out = "{";
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (i > 0) out += ",";
    out += std::to_string(ids[i]);
  }
  return out + "}";
}

std::string flag(bool value) {
  return value ? "true" : "false";
}

// A ranking or statistics row's scope ($4 grades, $5 units, $6 classes), of the kinds the
// publication sends ($7 grade, $8 unit, $9 class).
std::string scopeCondition(const std::string& grade, const std::string& unit,
                           const std::string& cls) {
  return grade + " = ANY($4::bigint[]) AND (" + "(" + unit + " = -1 AND " + cls +
         " = -1 AND $7) OR (" + unit + " = ANY($5::bigint[]) AND " + cls + " = -1 AND $8) OR (" +
         unit + " = ANY($5::bigint[]) AND " + cls + " = ANY($6::bigint[]) AND $9))";
}

}  // namespace

std::int64_t newPublication(pg::Connection& connection) {
  return connection.exec("SELECT nextval('publication_seq')").integer(0, 0);
}

void removeUnsent(pg::Connection& connection, const PublicationScope& scope) {
  const auto& loops = scope.loops;
  const auto& choice = scope.choice;
  const std::vector<pg::Param> scores = {
      std::to_string(scope.project), std::to_string(scope.publication), idArray(loops.subjects.ids),
      idArray(loops.grades.ids),     idArray(loops.units.ids),          idArray(loops.classes.ids),
      std::to_string(scope.account)};
  // A student the service no longer has, or has within the scope, has only what was sent.
  connection.exec(
      "DELETE FROM cjb c WHERE c.xmid = $1 AND c.发布号 IS DISTINCT FROM $2 "
      "AND c.kmid = ANY($3::bigint[]) AND NOT EXISTS (SELECT FROM stu s "
      "WHERE s.yhmid = $7 AND s.stuid = c.stuid AND NOT (s.njid = ANY($4::bigint[]) "
      "AND s.dwid = ANY($5::bigint[]) AND s.bcid = ANY($6::bigint[])))",
      scores);
  const auto texts = [&](bool grade, bool unit, bool cls) {
    return std::vector<pg::Param>{std::to_string(scope.project),
                                  std::to_string(scope.publication),
                                  idArray(loops.subjects.ids),
                                  idArray(loops.grades.ids),
                                  idArray(loops.units.ids),
                                  idArray(loops.classes.ids),
                                  flag(grade),
                                  flag(unit),
                                  flag(cls)};
  };
  connection.exec(
      "DELETE FROM pmb WHERE xmid = $1 AND 发布号 IS DISTINCT FROM $2 "
      "AND kmid = ANY($3::bigint[]) AND " +
          scopeCondition("njid", "dwid", "bcid"),
      texts(choice.gradeRanking, choice.unitRanking, choice.classRanking));
  connection.exec(
      "DELETE FROM tjb WHERE xmid = $1 AND 发布号 IS DISTINCT FROM $2 "
      "AND kmid = ANY($3::bigint[]) AND " +
          scopeCondition("grade", "dwid", "classid"),
      texts(choice.gradeStatistics, choice.unitStatistics, choice.classStatistics));
}

}  // namespace zeziza::cloud
