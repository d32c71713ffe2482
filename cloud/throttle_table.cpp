#include "cloud/throttle_table.h"

#include <sodium.h>

#include <string>

#include "cloud/pg.h"

namespace zeziza::cloud {

namespace {

std::string seconds(std::chrono::seconds s) {
  return std::to_string(s.count());
}

}  // namespace

std::chrono::seconds ThrottleTable::waitFor(pg::Connection& connection,
                                            const std::string& key) const {
  const auto result = connection.exec(
      "SELECT ceil(extract(epoch FROM blocked_until - now()))::bigint FROM throttle "
      "WHERE key = $1 AND blocked_until > now()",
      {key});
  if (result.rows() == 0) return std::chrono::seconds(0);
  return std::chrono::seconds(std::max<std::int64_t>(1, result.integer(0, 0)));
}

void ThrottleTable::count(pg::Connection& connection, const std::string& key) const {
  // One statement, so events counted at once on several instances all add up. The event that
  // reaches the free count sets the first delay; each further one doubles it.
  const std::string reset = "t.last_failure < now() - make_interval(secs => $5::float8)";
  const std::string firstWait =
      "CASE WHEN $2::int <= 1 THEN make_interval(secs => $3::float8) ELSE interval '0' END";
  connection.exec(
      "INSERT INTO throttle AS t (key, failures, last_failure, blocked_until) "
      "VALUES ($1, 1, now(), now() + " +
          firstWait +
          ") "
          "ON CONFLICT (key) DO UPDATE SET "
          "  failures = CASE WHEN " +
          reset +
          " THEN 1 ELSE t.failures + 1 END, "
          "  last_failure = now(), "
          "  blocked_until = now() + CASE WHEN " +
          reset + " THEN " + firstWait +
          "    WHEN t.failures + 1 < $2::int THEN interval '0' "
          "    ELSE make_interval(secs => least($4::float8, "
          "           $3::float8 * power(2, least(t.failures + 1 - $2::int, 30)))) END",
      {key, std::to_string(rule_.freeCount), seconds(rule_.firstDelay), seconds(rule_.maxDelay),
       seconds(rule_.forgetAfter)});
  // Now and then, so the table holds only recent events whatever the number of instances.
  if (randombytes_uniform(128) == 0) removeStale(connection);
}

void ThrottleTable::forget(pg::Connection& connection, const std::string& key) const {
  connection.exec("DELETE FROM throttle WHERE key = $1", {key});
}

void ThrottleTable::removeStale(pg::Connection& connection) const {
  connection.exec(
      "DELETE FROM throttle WHERE last_failure < now() - make_interval(secs => $1) "
      "AND blocked_until < now()",
      {seconds(rule_.forgetAfter)});
}

}  // namespace zeziza::cloud
