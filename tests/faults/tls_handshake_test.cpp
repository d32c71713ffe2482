// The real server over HTTPS against clients that open a connection and never finish the
// TLS handshake: each is ended at the request deadline and its socket released, no event loop
// spins meanwhile or after, and a new client is served. Only 127.0.0.1.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/http_browser.h"
#include "tests/support/temp_folder.h"

namespace zeziza::testing {
namespace {

using namespace std::chrono_literals;

// Sockets the process holds open (the listener among them).
int openSockets(pid_t pid) {
  int sockets = 0;
  const auto folder = std::filesystem::path("/proc") / std::to_string(pid) / "fd";
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(entry.path(), error);
    if (!error && target.string().starts_with("socket:")) ++sockets;
  }
  return sockets;
}

// User and system CPU time the process has used so far.
std::chrono::duration<double> cpuTime(pid_t pid) {
  std::ifstream in(std::filesystem::path("/proc") / std::to_string(pid) / "stat");
  const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  long ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14 || i == 15) ticks += std::stol(field);  // utime, stime
  }
  return std::chrono::duration<double>(static_cast<double>(ticks) /
                                       static_cast<double>(sysconf(_SC_CLK_TCK)));
}

std::chrono::duration<double> cpuUsedOver(pid_t pid, std::chrono::milliseconds span) {
  const auto before = cpuTime(pid);
  std::this_thread::sleep_for(span);
  return cpuTime(pid) - before;
}

int connectTo(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The first bytes of a ClientHello: a record header that promises 200 bytes, a handshake
// header, the version and part of the random; the rest never comes.
std::string halfClientHello() {
  std::string bytes = {
      0x16, 0x03, 0x01, 0x00, static_cast<char>(0xc8), 0x01, 0x00, 0x00, static_cast<char>(0xc4),
      0x03, 0x03};
  std::mt19937 random(7);
  for (int i = 0; i < 20; ++i) bytes += static_cast<char>(random());
  return bytes;
}

// Runs `command` and returns what it printed.
std::string output(const std::string& command) {
  std::string text;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer{};
    while (const auto n = std::fread(buffer.data(), 1, buffer.size(), pipe))
      text.append(buffer.data(), n);
    ::pclose(pipe);
  }
  return text;
}

class TlsHandshakeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("ZEZIZA_BIN");
    if (!bin) GTEST_SKIP() << "ZEZIZA_BIN is not set; run through ctest";
    binary = bin;
    const auto made = std::system(
        ("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
         "-subj /CN=localhost -keyout '" +
         key().string() + "' -out '" + certificate().string() + "' 2>/dev/null")
            .c_str());
    ASSERT_EQ(made, 0) << "openssl could not make a certificate";
  }
  std::filesystem::path certificate() const { return temp.path() / "server.crt"; }
  std::filesystem::path key() const { return temp.path() / "server.key"; }

  TempFolder temp;
  std::string binary;
};

TEST_F(TlsHandshakeTest, HalfOpenHandshakesAreReleasedAtTheDeadlineWithoutSpinning) {
  constexpr int kClients = 100;  // under the connections allowed from one address
  constexpr auto kDeadline = 3s;
  ServerProcess server(binary, temp.path() / "data",
                       {"--tls-cert", certificate().string(), "--tls-key", key().string(),
                        "--request-deadline", std::to_string(kDeadline.count())});
  const pid_t pid = server.pid();
  const int idleSockets = openSockets(pid);

  // Every other client sends half a ClientHello; the others send nothing at all.
  std::vector<int> clients;
  const std::string half = halfClientHello();
  for (int i = 0; i < kClients; ++i) {
    const int fd = connectTo(server.port());
    ASSERT_GE(fd, 0);
    if (i % 2 == 1) {
      ASSERT_EQ(::send(fd, half.data(), half.size(), MSG_NOSIGNAL), ssize_t(half.size()));
    }
    clients.push_back(fd);
  }
  for (int i = 0; i < 100 && openSockets(pid) < idleSockets + kClients; ++i) {
    std::this_thread::sleep_for(20ms);
  }
  const int heldSockets = openSockets(pid);
  EXPECT_EQ(heldSockets, idleSockets + kClients) << "the server did not take every connection";
  // Waiting handshakes cost no CPU: a spinning loop would use most of a core.
  const auto cpuWhileHeld = cpuUsedOver(pid, 1500ms);

  // Past the deadline every socket is released, though no client has closed its end.
  const auto until = std::chrono::steady_clock::now() + kDeadline + 10s;
  while (openSockets(pid) > idleSockets && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(100ms);
  }
  const int afterSockets = openSockets(pid);
  EXPECT_EQ(afterSockets, idleSockets) << "sockets of ended handshakes were never released";
  const auto cpuAfter = cpuUsedOver(pid, 3s);

  // A new client is served, over TLS.
  const std::string head = output("curl -sk -o /dev/null -D - --max-time 10 https://127.0.0.1:" +
                                  std::to_string(server.port()) + "/");
  EXPECT_NE(head.find("HTTP/1.1 200"), std::string::npos) << head;
  for (const int fd : clients) ::close(fd);

  std::cout << "sockets: idle " << idleSockets << ", held " << heldSockets
            << ", after the deadline " << afterSockets << "; CPU: " << cpuWhileHeld.count()
            << " s over 1.5 s held, " << cpuAfter.count() << " s over 3 s after\n";
  EXPECT_LT(cpuWhileHeld, 0.5s);
  EXPECT_LT(cpuAfter, 0.5s);
}

}  // namespace
}  // namespace zeziza::testing
