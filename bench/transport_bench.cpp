// The transport against a school network's worst: static files at wrk's 50 connections beside
// nginx serving the same file (the floor, measured in the same run); idle sessions at the
// login page, their memory and open files; a signed-in clerk's score entries while slow
// connections hold sockets, beside the same entries without them.
//
//   zeziza_transport_bench --server build/bench/zeziza [--idle 5000] [--slow 2000]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/entry_school.h"
#include "tests/support/http_browser.h"

namespace {

using zeziza::testing::HttpBrowser;
namespace fs = std::filesystem;

struct Options {
  std::string server;
  int idle = 5000;
  int slow = 2000;
  int entries = 300;
};

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    const std::string value = argv[i + 1];
    if (key == "--server") {
      o.server = value;
    } else if (key == "--idle") {
      o.idle = std::stoi(value);
    } else if (key == "--slow") {
      o.slow = std::stoi(value);
    } else if (key == "--entries") {
      o.entries = std::stoi(value);
    } else {
      throw std::invalid_argument("unknown option " + key);
    }
  }
  if (o.server.empty()) throw std::invalid_argument("--server PATH is required");
  return o;
}

// The n-th loopback address of a range that spares 127.0.0.x.
std::string loopback(int n) {
  return "127.1." + std::to_string(n / 250) + "." + std::to_string(n % 250 + 1);
}

std::string run(const std::string& command) {
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
  if (!pipe) throw std::runtime_error("cannot run " + command);
  std::string out;
  char buffer[4096];
  while (const auto n = fread(buffer, 1, sizeof buffer, pipe.get())) out.append(buffer, n);
  return out;
}

double wrkRate(int port, const std::string& path) {
  const std::string out = run("wrk -t2 -c50 -d8s http://127.0.0.1:" + std::to_string(port) + path);
  const auto at = out.find("Requests/sec:");
  if (at == std::string::npos) throw std::runtime_error("wrk said: " + out);
  return std::stod(out.substr(at + 13));
}

int freePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t length = sizeof addr;
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length);
  close(fd);
  return ntohs(addr.sin_port);
}

// nginx serving `root` on a port of its own, for as long as the object lives.
class Nginx {
 public:
  Nginx(const fs::path& dir, const fs::path& root) : port_(freePort()) {
    fs::create_directories(dir / "tmp");
    const auto conf = dir / "nginx.conf";
    std::ofstream(conf) << "daemon off; worker_processes auto; pid " << (dir / "nginx.pid").string()
                        << "; error_log " << (dir / "error.log").string()
                        << ";\nevents { worker_connections 1024; }\nhttp { access_log off; "
                        << "client_body_temp_path " << (dir / "tmp").string() << "; "
                        << "server { listen 127.0.0.1:" << port_ << "; location /files/ { alias "
                        << root.string() << "/; } } }\n";
    pid_ = fork();
    if (pid_ == 0) {
      execlp("nginx", "nginx", "-c", conf.c_str(), "-p", dir.c_str(), nullptr);
      _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  ~Nginx() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  int port() const { return port_; }

 private:
  int port_;
  pid_t pid_;
};

long openFiles(pid_t pid) {
  long n = 0;
  for ([[maybe_unused]] const auto& entry :
       fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd"))
    ++n;
  return n;
}

bool signIn(HttpBrowser& b) {
  return b.start() &&
         b.post("signinbutton", {{"usernameedit", "load"}, {"passwordedit", "load"}}) &&
         b.page().find("id=\"numberprefixedit\"") != std::string::npos;
}

// Score entries of one clerk; returns the p99 latency in ms.
double entryP99(HttpBrowser& clerk, int entries) {
  std::vector<long> latencies;
  std::mt19937 random(7);
  for (int e = 0; e < entries; ++e) {
    const auto number = zeziza::testing::entryStudentNumber(static_cast<int>(random() % 1000));
    if (!clerk.post("directenterbutton",
                    {{"directsubjectbox", "0"},
                     {"numberprefixedit", ""},
                     {"directnumberedit", number},
                     {"directscoreedit", std::to_string(40 + random() % 61)}}) ||
        !clerk.messages().empty()) {
      throw std::runtime_error("a score entry failed");
    }
    latencies.push_back(clerk.lastLatencyMicros());
  }
  std::sort(latencies.begin(), latencies.end());
  return static_cast<double>(latencies[latencies.size() * 99 / 100]) / 1000.0;
}

// Connections that never finish their header, from addresses of their own.
std::vector<int> slowConnections(int port, int count) {
  std::vector<int> sockets;
  for (int i = 0; i < count; ++i) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    zeziza::testing::bindSource(fd, loopback(1000 + i / 100));
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      close(fd);
      continue;
    }
    send(fd, "GET / HTTP/1.1\r\nX-Slow: 1\r\n", 27, MSG_NOSIGNAL);
    sockets.push_back(fd);
  }
  return sockets;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options o = parse(argc, argv);
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
    const auto dir = fs::temp_directory_path() / ("zeziza-transport-" + std::to_string(getpid()));
    fs::remove_all(dir);
    zeziza::testing::prepareEntrySchool(dir, 1000);
    // Every clerk signs in as the one supervisor.
    zeziza::testing::ServerProcess server(o.server, dir, {"--sessions-per-account", "1000000"});

    // A static file of the size of a rendered entry page, served by both.
    HttpBrowser probe(server.port(), 30, "127.0.0.3");
    if (!signIn(probe)) throw std::runtime_error("no entry page");
    std::ofstream(dir / "files" / "floor.html") << std::string(probe.page().size(), 'x');
    const double ours = wrkRate(server.port(), "/files/floor.html");
    double floor = 0;
    {
      Nginx nginx(dir / "nginx", dir / "files");
      floor = wrkRate(nginx.port(), "/files/floor.html");
    }
    std::printf(
        "static file of %zu bytes, wrk 50 connections: %.0f requests/s, nginx %.0f: %.2fx\n",
        probe.page().size(), ours, floor, ours / floor);

    // Idle sessions at the login page, from enough addresses that none gives way.
    const long residentBefore = server.residentKiB();
    const long filesBefore = openFiles(server.pid());
    int atLogin = 0;
    for (int i = 0; i < o.idle; ++i) {
      HttpBrowser b(server.port(), 30, loopback(i / 25));
      if (b.start()) ++atLogin;
    }
    std::printf(
        "%d idle sessions at the login page: resident %ld MiB (%ld before), open files "
        "%ld (%ld before)\n",
        atLogin, server.residentKiB() / 1024, residentBefore / 1024, openFiles(server.pid()),
        filesBefore);
    // Past the idle time after which login pages are set aside, and one housekeeping round.
    std::this_thread::sleep_for(std::chrono::seconds(75));
    std::printf("the same sessions idle for 75 s: resident %ld MiB\n", server.residentKiB() / 1024);

    HttpBrowser clerk(server.port(), 30, "127.0.0.2");
    if (!signIn(clerk)) throw std::runtime_error("the clerk could not sign in");
    const double quiet = entryP99(clerk, o.entries);
    auto slow = slowConnections(server.port(), o.slow);
    const double loaded = entryP99(clerk, o.entries);
    std::printf("score entry p99: %.1f ms with %zu slow connections open, %.1f ms without: %.2fx\n",
                loaded, slow.size(), quiet, loaded / quiet);
    for (const int fd : slow) close(fd);
    fs::remove_all(dir);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
