// The real server with the analysis journey page as its start page: sessions start signed in,
// with six students' scores stored, so the analysis journeys need no login.
#include <csignal>
#include <iostream>
#include <thread>

#include "host/host_window.h"
#include "tests/support/analysis_journey.h"

int main(int argc, char** argv) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);  // before any thread starts
  zeziza::host::Options options =
      zeziza::host::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  zeziza::host::TForm4 host(
      options, [] { return std::make_unique<zeziza::testing::AnalysisJourneyPage>(); });
  host.FormCreate();
  host.FormShow();
  const int port = host.listen();
  std::cout << "listening " << port << std::endl;
  int signal = 0;
  sigwait(&set, &signal);
  return 0;
}
