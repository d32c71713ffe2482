#pragma once

#include <httplib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zeziza::testing {

// One browser over HTTP: the start exchange, then posts that carry the hidden fields of the
// page it was last answered with, as the page's form does.
class HttpBrowser {
 public:
  using Fields = std::vector<std::pair<std::string, std::string>>;

  // `sourceAddress`: the loopback address the browser connects from (127.0.0.1 by default).
  explicit HttpBrowser(int port, int timeoutSeconds = 30, const std::string& sourceAddress = "");
  // A header sent with every later request.
  void setHeader(const std::string& name, const std::string& value);

  // Returns false when the server refused or did not answer.
  bool start();
  // Posts the page as the event of `action`; false when no page came back.
  bool post(const std::string& action, const Fields& fields = {});
  // Posts the event of `action` whose answer is a file (an export, a backup): its bytes, or
  // nullopt when the answer was no file. The page stays as it was.
  std::optional<std::string> postForFile(const std::string& action, const Fields& fields = {});
  const std::string& page() const { return page_; }
  // The alerts of the last answer, as the page's script would show them ("" when none).
  std::string messages() const;
  long lastLatencyMicros() const { return latency_; }

 private:
  httplib::Client client_;
  std::string page_;
  long latency_ = 0;
};

// A hidden field of a rendered page.
std::string hiddenField(const std::string& html, const std::string& name);

// Binds `socket` to `address` before it connects, so that the server sees that peer.
bool bindSource(int socket, const std::string& address);

// The real server binary as a child process on a free port of 127.0.0.1.
class ServerProcess {
 public:
  // `openFiles`: the child's open-file limit, soft and hard (0 leaves it as inherited).
  ServerProcess(const std::string& binary, const std::filesystem::path& dataDir,
                const std::vector<std::string>& extraArgs = {}, long openFiles = 0);
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int port() const { return port_; }
  pid_t pid() const { return pid_; }
  // SIGKILL, as a power cut would end it.
  void killHard();
  // Resident memory of the process in KiB.
  long residentKiB() const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace zeziza::testing
