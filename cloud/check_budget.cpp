#include "cloud/check_budget.h"

#include <sodium.h>

#include "cloud/pg.h"

namespace zeziza::cloud {

namespace {

std::string millis(std::chrono::milliseconds ms) {
  return std::to_string(ms.count());
}

}  // namespace

std::optional<std::chrono::milliseconds> CheckBudget::book(pg::Connection& connection,
                                                           const std::string& key) const {
  // `booked_until` moves on by one interval per check; a check waits for the time booked
  // beyond the burst. One statement, so checks booked at once queue one after the other.
  const std::string step = "make_interval(secs => $2::float8 / 1000)";
  const std::string burst = "make_interval(secs => $2::float8 * $3::int / 1000)";
  const std::string longest = "make_interval(secs => $4::float8 / 1000)";
  const auto booked = connection.exec(
      "INSERT INTO check_budget AS b (key, booked_until) VALUES ($1, now() + " + step +
          ") ON CONFLICT (key) DO UPDATE SET booked_until = greatest(b.booked_until, now()) + " +
          step + " WHERE greatest(b.booked_until, now()) + " + step + " - " + burst +
          " <= now() + " + longest +
          " RETURNING ceil(1000 * extract(epoch FROM greatest(interval '0', "
          "booked_until - now() - " +
          burst + ")))::bigint",
      {key, millis(rule_.interval), std::to_string(rule_.burst), millis(rule_.longestWait)});
  // Now and then, so the table holds only accounts being checked.
  if (randombytes_uniform(256) == 0) {
    connection.exec("DELETE FROM check_budget WHERE booked_until < now() - interval '1 hour'");
  }
  if (booked.rows() == 0) return std::nullopt;
  return std::chrono::milliseconds(booked.integer(0, 0));
}

void CheckBudget::giveBack(pg::Connection& connection, const std::string& key) const {
  connection.exec(
      "UPDATE check_budget SET booked_until = booked_until - make_interval(secs => $2::float8 / "
      "1000) WHERE key = $1",
      {key, millis(rule_.interval)});
}

}  // namespace zeziza::cloud
