// Plays N browsers against a real server exactly as browsers do: the start exchange, the
// login, then score entries on the entry page, each post carrying the hidden fields of the
// page it answers. Reports events per second and latency percentiles, and, in the same run,
// the server's rate for a static file of the size of a rendered page (the transport's floor).
//
//   zeziza_load --server build/release/zeziza [--sessions 50] [--events 200] [--students 2000]
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "auth/password_hasher.h"
#include "store/data_folder.h"
#include "store/database.h"
#include "store/transaction.h"

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

// A data folder with a supervisor, a default exam and `students` students.
void prepare(const std::filesystem::path& dir, int students) {
  const zeziza::store::DataFolder folder{dir};
  zeziza::store::prepareDataFolder(folder);
  zeziza::store::Database db(folder.data());
  zeziza::auth::PasswordHasher hasher(1);
  zeziza::store::Transaction t(db);
  db.exec("insert into yh (user, pass, qx) values ('admin', ?, '0')", {hasher.hash("admin")});
  db.exec("insert into yh (user, pass, qx) values ('load', ?, '2')", {hasher.hash("load")});
  db.exec("update sysset set zdz='期中\r\n' where zdm='ks'");
  db.exec("update sysset set zdz='期中' where zdm='mrtest'");
  db.exec("update sysset set zdz='七年级\r\n' where zdm='nj'");
  for (int i = 0; i < students; ++i) {
    db.exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, '中心校区', '七年级', '一班')",
            {std::to_string(100000 + i), "学生" + std::to_string(i)});
  }
  t.commit();
}

// The server as a child process on a free port; stopped with SIGTERM.
class ServerProcess {
 public:
  ServerProcess(const std::string& binary, const std::filesystem::path& dir) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(fds[1], STDOUT_FILENO);
      close(fds[0]);
      execl(binary.c_str(), binary.c_str(), "--port", "0", "--data-dir", dir.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buf[256];
    while (port_ == 0) {
      const auto n = read(fds[0], buf, sizeof buf);
      if (n <= 0) throw std::runtime_error("server did not start: " + out);
      out.append(buf, static_cast<std::size_t>(n));
      const auto at = out.find("127.0.0.1:");
      if (at != std::string::npos && out.find('\n', at) != std::string::npos) {
        port_ = std::stoi(out.substr(at + 10));
      }
    }
    close(fds[0]);
  }
  ~ServerProcess() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  int port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

std::string hiddenField(const std::string& html, const std::string& name) {
  const std::string key = "name=\"" + name + "\" id=\"" + name + "\" value=\"";
  const auto at = html.find(key);
  if (at == std::string::npos) return {};
  const auto start = at + key.size();
  return html.substr(start, html.find('"', start) - start);
}

// The alerts an answer carries ("messages":[...]).
bool hasMessages(const std::string& html) {
  return html.find("\"messages\":[]") == std::string::npos;
}

// One browser: keeps the page it was last answered with.
class Browser {
 public:
  explicit Browser(int port) : client_("127.0.0.1", port) { client_.set_keep_alive(true); }

  void start() {
    auto first = client_.Get("/");
    if (!first || first->status != 200) throw std::runtime_error("start exchange failed");
    page_ = first->body;
    post("", {{"IW_width", "1000"}, {"IW_height", "700"}}, "/");
  }

  // Posts the page as the event of `action`; returns the answer's latency in microseconds.
  long post(const std::string& action,
            const std::vector<std::pair<std::string, std::string>>& fields,
            const char* path = "/EXEC") {
    httplib::MultipartFormDataItems items = {
        {"IW_SessionID_", hiddenField(page_, "IW_SessionID_"), "", ""},
        {"IW_TrackID_", hiddenField(page_, "IW_TrackID_"), "", ""},
        {"IW_Action", action, "", ""},
        {"IW_ActionParam", "", "", ""}};
    for (const auto& [k, v] : fields) items.push_back({k, v, "", ""});
    const auto t0 = Clock::now();
    auto answer = client_.Post(path, items);
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0);
    if (!answer || answer->status != 200) throw std::runtime_error("post failed");
    page_ = answer->body;
    return us.count();
  }
  const std::string& page() const { return page_; }

 private:
  httplib::Client client_;
  std::string page_;
};

struct Totals {
  std::vector<long> latencies;
  int errors = 0;
};

Totals runSession(int port, const Options& o, int index) {
  Totals totals;
  Browser b(port);
  b.start();
  b.post("iwbutton1", {{"iwedit1", "load"}, {"iwedit2", "load"}});
  if (b.page().find("id=\"iwedit6\"") == std::string::npos)
    throw std::runtime_error("no entry page");
  std::mt19937 random(static_cast<unsigned>(index));
  for (int e = 0; e < o.events; ++e) {
    const int student = static_cast<int>(random() % static_cast<unsigned>(o.students));
    const auto subject = std::to_string(random() % 3);
    const auto score = std::to_string(40 + random() % 61);
    totals.latencies.push_back(b.post("iwbutton1", {{"iwcombobox1", subject},
                                                    {"iwedit6", ""},
                                                    {"iwedit1", std::to_string(100000 + student)},
                                                    {"iwedit2", score}}));
    if (hasMessages(b.page())) ++totals.errors;
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
      for (int i = 0; i < requests; ++i) {
        if (auto r = client.Get(path); r && r->status == 200) ++done;
      }
    });
  }
  for (auto& t : threads) t.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  return done / seconds;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options o = parse(argc, argv);
    const auto dir =
        std::filesystem::temp_directory_path() / ("zeziza-load-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    prepare(dir, o.students);
    ServerProcess server(o.server, dir);

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
    Browser probe(server.port());
    probe.start();
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
    std::filesystem::remove_all(dir);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
