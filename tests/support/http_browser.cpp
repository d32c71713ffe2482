#include "tests/support/http_browser.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace zeziza::testing {

namespace {
// One boundary for every post: the library otherwise seeds a random device for each one,
// which cost the load client a third of its time.
const std::string kBoundary = "----zezizaBrowserFormBoundary7MA4YWxkTrZu0gW";
}  // namespace

std::string hiddenField(const std::string& html, const std::string& name) {
  const std::string key = "name=\"" + name + "\" id=\"" + name + "\" value=\"";
  const auto at = html.find(key);
  if (at == std::string::npos) return {};
  const auto start = at + key.size();
  return html.substr(start, html.find('"', start) - start);
}

bool bindSource(int socket, const std::string& address) {
  sockaddr_in source{};
  source.sin_family = AF_INET;
  return inet_pton(AF_INET, address.c_str(), &source.sin_addr) == 1 &&
         ::bind(socket, reinterpret_cast<sockaddr*>(&source), sizeof source) == 0;
}

HttpBrowser::HttpBrowser(int port, int timeoutSeconds, const std::string& sourceAddress)
    : client_("127.0.0.1", port) {
  if (!sourceAddress.empty()) {
    client_.set_socket_options([sourceAddress](int socket) { bindSource(socket, sourceAddress); });
  }
  client_.set_keep_alive(true);
  client_.set_tcp_nodelay(true);  // else each small post waits for the peer's delayed ACK
  client_.set_read_timeout(timeoutSeconds, 0);
  client_.set_write_timeout(timeoutSeconds, 0);
  client_.set_connection_timeout(timeoutSeconds, 0);
}

void HttpBrowser::setHeader(const std::string& name, const std::string& value) {
  client_.set_default_headers({{name, value}});
}

bool HttpBrowser::start() {
  auto first = client_.Get("/");
  if (!first || first->status != 200) return false;
  page_ = first->body;
  const std::string session = hiddenField(page_, "IW_SessionID_");
  httplib::MultipartFormDataItems items = {
      {"IW_SessionID_", session, "", ""},
      {"IW_TrackID_", hiddenField(page_, "IW_TrackID_"), "", ""},
      {"IW_width", "1000", "", ""},
      {"IW_height", "700", "", ""}};
  auto answer = client_.Post("/", {}, items, kBoundary);
  if (!answer || answer->status != 200) return false;
  page_ = answer->body;
  return true;
}

namespace {

httplib::MultipartFormDataItems eventItems(const std::string& page, const std::string& action,
                                           const HttpBrowser::Fields& fields) {
  httplib::MultipartFormDataItems items = {
      {"IW_SessionID_", hiddenField(page, "IW_SessionID_"), "", ""},
      {"IW_TrackID_", hiddenField(page, "IW_TrackID_"), "", ""},
      {"IW_Action", action, "", ""},
      {"IW_ActionParam", "", "", ""}};
  for (const auto& [k, v] : fields) items.push_back({k, v, "", ""});
  return items;
}

}  // namespace

std::optional<std::string> HttpBrowser::postForFile(const std::string& action,
                                                    const Fields& fields) {
  auto answer = client_.Post("/EXEC", {}, eventItems(page_, action, fields), kBoundary);
  if (!answer || answer->status != 200 || !answer->has_header("Content-Disposition")) {
    return std::nullopt;
  }
  return answer->body;
}

bool HttpBrowser::post(const std::string& action, const Fields& fields) {
  const auto items = eventItems(page_, action, fields);
  const auto t0 = std::chrono::steady_clock::now();
  auto answer = client_.Post("/EXEC", {}, items, kBoundary);
  latency_ = static_cast<long>(
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0)
          .count());
  if (!answer || answer->status != 200) return false;
  page_ = answer->body;
  return true;
}

std::string HttpBrowser::messages() const {
  const std::string key = "\"messages\":[";
  const auto at = page_.find(key);
  if (at == std::string::npos) return {};
  const auto end = page_.find(']', at);
  return page_.substr(at + key.size(), end - at - key.size());
}

ServerProcess::ServerProcess(const std::string& binary, const std::filesystem::path& dataDir,
                             const std::vector<std::string>& extraArgs, long openFiles) {
  // The output goes to a file: a pipe nobody reads would stop the server at its next line.
  std::filesystem::create_directories(dataDir);
  const auto output = dataDir / "server-output.txt";
  std::vector<std::string> args = {binary, "--port", "0", "--data-dir", dataDir.string()};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  pid_ = fork();
  if (pid_ == 0) {
    if (openFiles > 0) {
      const rlimit files{static_cast<rlim_t>(openFiles), static_cast<rlim_t>(openFiles)};
      setrlimit(RLIMIT_NOFILE, &files);
    }
    const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, STDOUT_FILENO);
    dup2(fd, STDERR_FILENO);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(binary.c_str(), argv.data());
    _exit(127);
  }
  for (int i = 0; i < 2000 && port_ == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(output);
    const std::string out((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto at = out.find("127.0.0.1:");
    if (at != std::string::npos && out.find('\n', at) != std::string::npos) {
      port_ = std::stoi(out.substr(at + 10));
    }
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      throw std::runtime_error("server exited: " + out);
    }
  }
  if (port_ == 0) throw std::runtime_error("server did not start");
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
}

void ServerProcess::killHard() {
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

long ServerProcess::residentKiB() const {
  std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace zeziza::testing
