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

// The scopes of a kind the publication sends: grade, unit, class.
std::string flags(bool grade, bool unit, bool cls) {
  return std::string("{") + (grade ? "t" : "f") + "," + (unit ? "t" : "f") + "," +
         (cls ? "t" : "f") + "}";
}

}  // namespace

std::int64_t newPublication(pg::Connection& connection) {
  return connection.exec("SELECT nextval('publication_seq')").integer(0, 0);
}

void removeUnsent(pg::Connection& connection, const PublicationScope& scope) {
  const auto& loops = scope.loops;
  const auto& choice = scope.choice;
  connection.exec(
      "SELECT zeziza_remove_unsent($1, $2, $3, $4::bigint[], $5::bigint[], $6::bigint[], "
      "$7::bigint[], $8::boolean[], $9::boolean[])",
      {std::to_string(scope.account), std::to_string(scope.project),
       std::to_string(scope.publication), idArray(loops.subjects.ids), idArray(loops.grades.ids),
       idArray(loops.units.ids), idArray(loops.classes.ids),
       flags(choice.gradeRanking, choice.unitRanking, choice.classRanking),
       flags(choice.gradeStatistics, choice.unitStatistics, choice.classStatistics)});
}

}  // namespace zeziza::cloud
