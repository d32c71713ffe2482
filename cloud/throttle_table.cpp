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

namespace {

// Counts one event of $1 in one statement, so events counted at once on several instances all
// add up. The event that reaches the free count sets the first delay; each further one doubles
// it. `condition` limits the update (an attempt while waiting is not counted).
std::string countSql(const std::string& condition) {
  const std::string reset = "t.last_failure < now() - make_interval(secs => $5::float8)";
  const std::string firstWait =
      "CASE WHEN $2::int <= 1 THEN make_interval(secs => $3::float8) ELSE interval '0' END";
  return "INSERT INTO throttle AS t (key, failures, last_failure, blocked_until) "
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
         "           $3::float8 * power(2, least(t.failures + 1 - $2::int, 30)))) END" +
         condition + " RETURNING 1";
}

}  // namespace

void ThrottleTable::count(pg::Connection& connection, const std::string& key) const {
  connection.exec(countSql(""), {key, std::to_string(rule_.freeCount), seconds(rule_.firstDelay),
                                 seconds(rule_.maxDelay), seconds(rule_.forgetAfter)});
  // Now and then, so the table holds only recent events whatever the number of instances.
  if (randombytes_uniform(128) == 0) removeStale(connection);
}

std::chrono::seconds ThrottleTable::admit(pg::Connection& connection,
                                          const std::string& key) const {
  const auto counted =
      connection.exec(countSql(" WHERE t.blocked_until <= now()"),
                      {key, std::to_string(rule_.freeCount), seconds(rule_.firstDelay),
                       seconds(rule_.maxDelay), seconds(rule_.forgetAfter)});
  if (randombytes_uniform(128) == 0) removeStale(connection);
  if (counted.rows() == 1) return std::chrono::seconds(0);
  // Waiting: the wait just ended is still a wait of a second.
  return std::max(std::chrono::seconds(1), waitFor(connection, key));
}

void ThrottleTable::refund(pg::Connection& connection, const std::string& key) const {
  connection.exec(
      "UPDATE throttle SET failures = failures - 1, "
      "blocked_until = CASE WHEN failures - 1 < $2::int THEN now() ELSE blocked_until END "
      "WHERE key = $1 AND failures > 0",
      {key, std::to_string(rule_.freeCount)});
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
