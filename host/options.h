#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zeziza::host {

// Maintenance commands of the cloud score service, run instead of the server.
enum class CloudCommand { None, CreateSchema, CreateAccount };

struct Options {
  int port = 81;
  std::filesystem::path dataDir = ".";
  std::string site;         // address of the maker's web site (manual, help pages)
  std::string resultsSite;  // address of the results site the cloud page links to
  bool launchBrowser = false;
  bool minimize = false;
  bool help = false;
  std::size_t maxSessions = 0;          // live sessions at most; 0: the web layer's limit
  int sessionTimeoutSeconds = 0;        // idle time that ends a session; 0: 10 minutes
  std::size_t backupKeep = 14;          // backups kept in backups/
  int backupHour = 2;                   // local hour of the daily backup
  std::filesystem::path restoreBackup;  // maintenance: restore this backup and exit
  bool listBackups = false;             // maintenance: list the backups and exit
  // libpq connection string of the cloud score service: --cloud, else $ZEZIZA_CLOUD.
  std::string cloud;
  // The reverse proxy whose X-Forwarded-For is believed; empty: none is.
  std::string trustedProxy;
  CloudCommand cloudCommand = CloudCommand::None;
};

// Parses the command line; throws std::invalid_argument with a message for the user.
Options parseOptions(const std::vector<std::string>& args);
std::string usage();

}  // namespace zeziza::host
