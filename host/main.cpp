#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>

#include "base/platform/process.h"
#include "base/platform/stop_requests.h"
#include "base/platform/text.h"
#include "host/backups.h"
#include "host/cloud_commands.h"
#include "host/console.h"
#include "host/options.h"
#include "host/server_host.h"
#include "pages/common/start_page.h"
#include "web/memory_return.h"

namespace {

using zeziza::platform::StopRequests;

// Reads console commands from the terminal until quit or a stop request.
void runConsole(zeziza::host::Console& console, const StopRequests& stops) {
  std::string line;
  while (!stops.requested()) {
    if (!zeziza::platform::waitForInputLine(std::chrono::milliseconds(200))) continue;
    if (!std::getline(std::cin, line) || !console.command(line, std::cin)) break;
  }
}

// The maintenance commands: list the backups, or restore one while no server runs.
int runBackupCommand(const zeziza::host::Options& options) {
  const zeziza::store::DataFolder folder{options.dataDir};
  try {
    if (options.listBackups) {
      for (const auto& file : zeziza::host::Backups(folder, options.backupKeep).list()) {
        std::cout << zeziza::platform::utf8Path(file) << "\n";
      }
      return 0;
    }
    zeziza::host::restoreBackup(folder, options.restoreBackup);
    std::cout << "已从备份恢复: " << zeziza::platform::utf8Path(options.restoreBackup) << std::endl;
    zeziza::web::EventLog(std::cerr, options.logFormat)
        .record("restore", "已从备份恢复",
                {{"file", zeziza::platform::utf8Path(options.restoreBackup)}});
    return 0;
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
    return 1;
  }
}

// The log's stream: standard error, or one the platform opens beside it.
std::ostream& logStream(const std::unique_ptr<std::ostream>& opened) {
  return opened ? *opened : std::cerr;
}

// On a terminal the console shows the banner and the online count and takes commands;
// without one (a service) every event is a line of the log.
int serve(const zeziza::host::Options& options, StopRequests& stops) {
  using namespace zeziza::host;
  const bool terminal = zeziza::platform::interactiveInput();
  const auto logFile = zeziza::platform::openEventLog(options.dataDir, std::cerr);
  zeziza::web::EventLog log(logStream(logFile), options.logFormat);
  try {
    ServerHost host(options, zeziza::pages::startPage());
    host.setEventLog(&log);
    if (!terminal) {
      log.record(
          "start", kAppTitle,
          {{"version", kVersionCaption},
           {"data", zeziza::platform::utf8Path(std::filesystem::absolute(options.dataDir))}});
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
      runConsole(console, stops);
    } else {
      log.record("listen", "开始服务", {{"address", host.localAddress()}});
      host.setOnlineCountListener([&log](const std::string& text) { log.record("online", text); });
      stops.wait();
    }
    host.setOnlineCountListener(nullptr);
    host.stop();
    if (terminal) std::cout << "已停止。" << std::endl;
    log.record("stop", "已停止");
  } catch (const std::exception& e) {
    log.error(e.what());
    stops.finished();
    return 1;
  }
  stops.finished();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zeziza::host;
  zeziza::platform::useUtf8Console();
  Options options;
  try {
    options = parseOptions(zeziza::platform::commandArguments(argc, argv));
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
  zeziza::platform::raiseOpenFileLimit();
  zeziza::web::boundAllocatorPools();
  StopRequests stops;
  return serve(options, stops);
}
