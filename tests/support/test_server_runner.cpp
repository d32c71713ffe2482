#include "tests/support/test_server_runner.h"

#include <csignal>
#include <iostream>

namespace zeziza::testing {

int runTestServer(int argc, char** argv, web::PageFactory startPage,
                  const std::function<void(host::ServerHost&)>& arrange, web::ServerSettings settings) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);  // before any thread starts
  const host::Options options = host::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  host::ServerHost host(options, std::move(startPage), std::move(settings));
  if (arrange) arrange(host);
  host.prepareFolder();
  host.loadState();
  const int port = host.listen();
  std::cout << "listening " << port << std::endl;
  int signal = 0;
  sigwait(&set, &signal);
  return 0;
}

}  // namespace zeziza::testing
