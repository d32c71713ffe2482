#pragma once

#include <iosfwd>
#include <string>

#include "host/server_host.h"

namespace zeziza::host {

// The console front end in place of the host window: prints the title, version, address
// and online count, and takes the window's commands from a terminal.
class Console {
 public:
  Console(ServerHost& host, const Options& options, std::ostream& out)
      : host_(host), options_(options), out_(out) {}

  void printBanner();
  // Runs one command line; returns false for "quit".
  bool command(const std::string& line, std::istream& in);
  // Opens the local address in a browser where one can be opened, else prints it.
  void openLocal();

 private:
  void reset(std::istream& in);
  void manual();
  void openAddress(const std::string& address);

  ServerHost& host_;
  Options options_;
  std::ostream& out_;
};

inline constexpr const char* kResetPrompt =
    "您确认要删除所有数据，恢复到初始状态吗？确认请输入“确认”或yes";

}  // namespace zeziza::host
