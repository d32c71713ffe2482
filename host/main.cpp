#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <thread>

#include "host/backups.h"
#include "host/cloud_commands.h"
#include "host/console.h"
#include "host/open_files.h"
#include "host/options.h"
#include "host/server_host.h"
#include "pages/common/start_page.h"
#include "web/memory_return.h"

namespace {

// Waits for SIGINT or SIGTERM on a thread of its own; the signals are blocked elsewhere.
std::atomic<bool> stopRequested{false};

sigset_t stopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

// Reads console commands from the terminal until quit or a signal.
void runConsole(zeziza::host::Console& console) {
  std::string line;
  while (!stopRequested) {
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    if (poll(&fd, 1, 200) <= 0) continue;
    if (!std::getline(std::cin, line) || !console.command(line, std::cin)) break;
  }
}

// The maintenance commands: list the backups, or restore one while no server runs.
int runBackupCommand(const zeziza::host::Options& options) {
  const zeziza::store::DataFolder folder{options.dataDir};
  try {
    if (options.listBackups) {
      for (const auto& file : zeziza::host::Backups(folder, options.backupKeep).list()) {
        std::cout << file.string() << "\n";
      }
      return 0;
    }
    zeziza::host::restoreBackup(folder, options.restoreBackup);
    std::cout << "已从备份恢复: " << options.restoreBackup.string() << std::endl;
    zeziza::web::EventLog(std::cerr, options.logFormat)
        .record("restore", "已从备份恢复", {{"file", options.restoreBackup.string()}});
    return 0;
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
    return 1;
  }
}

void waitForStop() {
  while (!stopRequested) std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

// On a terminal the console shows the banner and the online count and takes commands;
// without one (a service) every event is a line of the log on standard error.
int serve(const zeziza::host::Options& options) {
  using namespace zeziza::host;
  const bool terminal = isatty(STDIN_FILENO);
  zeziza::web::EventLog log(std::cerr, options.logFormat);
  try {
    ServerHost host(options, zeziza::pages::startPage());
    host.setEventLog(&log);
    if (!terminal) {
      log.record("start", kAppTitle,
                 {{"version", kVersionCaption},
                  {"data", std::filesystem::absolute(options.dataDir).string()}});
    }
    host.prepareFolder();
    host.loadState();
    host.listen();
    if (terminal) {
      std::mutex outMutex;
      host.setOnlineCountListener([&outMutex](const std::string& text) {
        std::lock_guard lock(outMutex);
        std::cout << text << std::endl;
      });
      Console console(host, options, std::cout);
      console.printBanner();
      if (options.launchBrowser) console.openLocal();
      runConsole(console);
    } else {
      log.record("listen", "开始服务", {{"address", host.localAddress()}});
      host.setOnlineCountListener([&log](const std::string& text) { log.record("online", text); });
      waitForStop();
    }
    host.setOnlineCountListener(nullptr);
    host.stop();
    if (terminal) std::cout << "已停止。" << std::endl;
    log.record("stop", "已停止");
  } catch (const std::exception& e) {
    log.error(e.what());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zeziza::host;
  Options options;
  try {
    options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& e) {
    std::cerr << e.what() << "\n" << usage();
    return 2;
  }
  if (options.help) {
    std::cout << usage();
    return 0;
  }
  if (options.listBackups || !options.restoreBackup.empty()) {
    return runBackupCommand(options);
  }
  if (options.cloudCommand != CloudCommand::None) {
    return runCloudCommand(options, std::cin, std::cout, std::cerr);
  }
  raiseOpenFileLimit();
  zeziza::web::boundAllocatorPools();
  const sigset_t signals = stopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread([signals] {
    int signal = 0;
    sigwait(&signals, &signal);
    stopRequested = true;
  }).detach();

  return serve(options);
}
