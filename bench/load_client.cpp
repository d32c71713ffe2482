// Plays N browsers against a real server exactly as browsers do: the start exchange, the
// login, then score entries on the entry page, each post carrying the hidden fields of the
// page it answers. Reports events per second and latency percentiles, and, in the same run,
// the server's rate for a static file of the size of a rendered page (the transport's floor)
// and SQLite's own rate for the statements of a score entry on a copy of the same school, one
// commit each and 50 a commit (the store's floor), both in process with the statements kept
// prepared and through the sqlite3 shell (Debian's sqlite3 package, for the benchmark only).
//
//   zeziza_load --server build/release/zeziza [--sessions 50] [--events 200] [--students 2000]
#include <httplib.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "store/database.h"
#include "store/score_write.h"
#include "store/statement.h"
#include "store/transaction.h"
#include "tests/support/entry_school.h"
#include "tests/support/http_browser.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  std::string server;
  int sessions = 50;
  int events = 200;
  int students = 2000;
};

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    const std::string value = argv[i + 1];
    if (key == "--server")
      o.server = value;
    else if (key == "--sessions")
      o.sessions = std::stoi(value);
    else if (key == "--events")
      o.events = std::stoi(value);
    else if (key == "--students")
      o.students = std::stoi(value);
    else
      throw std::invalid_argument("unknown option " + key);
  }
  if (o.server.empty()) throw std::invalid_argument("--server PATH is required");
  return o;
}

struct Totals {
  std::vector<long> latencies;
  int errors = 0;
};

Totals runSession(int port, const Options& o, int index) {
  Totals totals;
  zeziza::testing::HttpBrowser b(port);
  if (!b.start() || !b.post("signinbutton", {{"usernameedit", "load"}, {"passwordedit", "load"}})) {
    throw std::runtime_error("no answer to the login");
  }
  if (b.page().find("id=\"numberprefixedit\"") == std::string::npos) {
    throw std::runtime_error("no entry page");
  }
  std::mt19937 random(static_cast<unsigned>(index));
  for (int e = 0; e < o.events; ++e) {
    const int student = static_cast<int>(random() % static_cast<unsigned>(o.students));
    const auto subject = std::to_string(random() % 3);
    const auto score = std::to_string(40 + random() % 61);
    const bool answered = b.post(
        "directenterbutton", {{"directsubjectbox", subject},
                              {"numberprefixedit", ""},
                              {"directnumberedit", zeziza::testing::entryStudentNumber(student)},
                              {"directscoreedit", score}});
    totals.latencies.push_back(b.lastLatencyMicros());
    if (!answered || !b.messages().empty()) ++totals.errors;
  }
  return totals;
}

double percentile(std::vector<long>& v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return static_cast<double>(v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))]) /
         1000.0;
}

// Static-file rate with the same number of clients: the floor of what the transport can do.
double staticRate(int port, int clients, int requests, const std::string& path) {
  std::atomic<int> done{0};
  const auto t0 = Clock::now();
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c) {
    threads.emplace_back([&] {
      httplib::Client client("127.0.0.1", port);
      client.set_keep_alive(true);
      client.set_tcp_nodelay(true);
      for (int i = 0; i < requests; ++i) {
        if (auto r = client.Get(path); r && r->status == 200) ++done;
      }
    });
  }
  for (auto& t : threads) t.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  return done / seconds;
}

// Statements as run, with their values in place, for the shell to run again.
int traceStatement(unsigned, void* script, void* stmt, void*) {
  char* sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(stmt));
  if (sql) static_cast<std::string*>(script)->append(sql).append(";\n");
  sqlite3_free(sql);
  return 0;
}

struct StoreFloor {
  double prepared = 0;  // entries a second in process, statements kept prepared
  double shell = 0;     // the same statements through the sqlite3 shell
};

double secondsSince(Clock::time_point t0) {
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

bool shellPresent() {
  return std::system("command -v sqlite3 > /dev/null 2>&1") == 0;
}

// Runs the traced statements through the sqlite3 shell on a fresh copy of the same school.
double shellSeconds(const std::filesystem::path& dir, const Options& o, const std::string& script) {
  std::filesystem::remove_all(dir);
  zeziza::testing::prepareEntrySchool(dir, o.students);
  const auto file = dir / "floor.sql";
  std::ofstream(file) << "PRAGMA synchronous=FULL;\nPRAGMA foreign_keys=ON;\n" << script;
  const std::string command =
      "sqlite3 -bail " + (dir / "data").string() + " < " + file.string() + " > /dev/null";
  const auto t0 = Clock::now();
  if (std::system(command.c_str()) != 0) throw std::runtime_error("the sqlite3 shell failed");
  return secondsSince(t0);
}

// Runs `entries` score entries as the server's store does them (the student's lookup, the
// score row, its history), `perCommit` a transaction, the same ones for the same seed.
void enterScores(zeziza::store::Database& db, const Options& o, int entries, int perCommit) {
  namespace store = zeziza::store;
  std::mt19937 random(7);
  for (int done = 0; done < entries;) {
    store::Transaction transaction(db);
    for (int k = 0; k < perCommit && done < entries; ++k, ++done) {
      const int student = static_cast<int>(random() % static_cast<unsigned>(o.students));
      store::Statement lookup(db, "select bh from ks where id=?");
      const store::Value number(zeziza::testing::entryStudentNumber(student));
      lookup.bindAll(std::span<const store::Value>(&number, 1));
      if (!lookup.step()) throw std::runtime_error("no such student");
      store::applyScore(db, {"期中",
                             lookup.column(0).asInt(),
                             static_cast<int>(random() % 3) + 1,
                             40.0 + static_cast<double>(random() % 61),
                             3,
                             false,
                             {"load", "floor"}});
    }
    transaction.commit();
  }
}

// Entries a second of a score entry's statements, synchronous=FULL as the server runs: in
// process with the statements kept prepared, as the server runs them; then, traced in an
// untimed second run, the same statements with their values through the sqlite3 shell, which
// prepares each one it reads. Each run starts from a fresh copy of the same school.
StoreFloor storeFloor(const std::filesystem::path& dir, const Options& o, int entries,
                      int perCommit, bool withShell) {
  namespace store = zeziza::store;
  StoreFloor floor;
  std::filesystem::remove_all(dir);
  zeziza::testing::prepareEntrySchool(dir, o.students);
  {
    store::Database db(dir / "data");
    const auto t0 = Clock::now();
    enterScores(db, o, entries, perCommit);
    floor.prepared = entries / secondsSince(t0);
  }
  if (withShell) {
    std::string script;
    std::filesystem::remove_all(dir);
    zeziza::testing::prepareEntrySchool(dir, o.students);
    {
      store::Database db(dir / "data");
      sqlite3_trace_v2(db.handle(), SQLITE_TRACE_STMT, traceStatement, &script);
      enterScores(db, o, entries, perCommit);
    }
    floor.shell = entries / shellSeconds(dir, o, script);
  }
  std::filesystem::remove_all(dir);
  return floor;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options o = parse(argc, argv);
    const auto dir =
        std::filesystem::temp_directory_path() / ("zeziza-load-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    zeziza::testing::prepareEntrySchool(dir, o.students);
    // Every session and the probe sign in as the one supervisor.
    zeziza::testing::ServerProcess server(
        o.server, dir, {"--sessions-per-account", std::to_string(o.sessions + 1)});

    std::vector<Totals> results(static_cast<std::size_t>(o.sessions));
    std::vector<std::thread> threads;
    const auto t0 = Clock::now();
    std::atomic<int> failedSessions{0};
    for (int s = 0; s < o.sessions; ++s) {
      threads.emplace_back([&, s] {
        try {
          results[static_cast<std::size_t>(s)] = runSession(server.port(), o, s);
        } catch (const std::exception& e) {
          std::fprintf(stderr, "session %d: %s\n", s, e.what());
          ++failedSessions;
        }
      });
    }
    for (auto& t : threads) t.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();

    Totals all;
    for (auto& r : results) {
      all.latencies.insert(all.latencies.end(), r.latencies.begin(), r.latencies.end());
      all.errors += r.errors;
    }
    const std::size_t events = all.latencies.size();
    // A static file of the size of a rendered entry page.
    zeziza::testing::HttpBrowser probe(server.port());
    probe.start();
    probe.post("signinbutton", {{"usernameedit", "load"}, {"passwordedit", "load"}});
    std::ofstream(dir / "files" / "floor.html") << std::string(probe.page().size(), 'x');
    const double floor = staticRate(server.port(), o.sessions, o.events, "/files/floor.html");

    std::printf("sessions %d, score entries %zu in %.2f s: %.0f events/s\n", o.sessions, events,
                seconds, static_cast<double>(events) / seconds);
    std::printf("latency ms: p50 %.2f  p95 %.2f  p99 %.2f; answers with an alert: %d\n",
                percentile(all.latencies, 0.50), percentile(all.latencies, 0.95),
                percentile(all.latencies, 0.99), all.errors);
    if (failedSessions > 0) std::printf("sessions that failed: %d\n", failedSessions.load());
    std::printf("static file of %zu bytes, same clients: %.0f requests/s\n", probe.page().size(),
                floor);
    const double rate = static_cast<double>(events) / seconds;
    const auto floorDir = dir.string() + "-floor";
    const int floorEntries = std::clamp(static_cast<int>(events), 200, 5000);
    const bool withShell = shellPresent();
    const StoreFloor single = storeFloor(floorDir, o, floorEntries / 4, 1, withShell);
    const StoreFloor batched = storeFloor(floorDir, o, floorEntries, 50, withShell);
    std::printf(
        "store floor, same statements, kept prepared: %.0f entries/s one commit each, %.0f "
        "entries/s 50 a commit\n",
        single.prepared, batched.prepared);
    std::printf("server / floor kept prepared: %.2fx of one commit each, %.2fx of 50 a commit\n",
                rate / single.prepared, rate / batched.prepared);
    if (!withShell) {
      std::printf(
          "no sqlite3 shell (apt-get install sqlite3, for the benchmark only): its floor "
          "is left out\n");
    } else {
      std::printf(
          "store floor, same statements through the sqlite3 shell: %.0f entries/s one commit "
          "each, %.0f entries/s 50 a commit\n",
          single.shell, batched.shell);
      std::printf(
          "server / floor through the shell: %.2fx of one commit each, %.2fx of 50 a "
          "commit\n",
          rate / single.shell, rate / batched.shell);
    }
    std::filesystem::remove_all(dir);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
