#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "web/event_log.h"

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
  std::size_t sessionsPerAccount = 0;   // signed-in sessions of one account; 0: the default
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
  // HTTPS: both PEM files, or neither for plain HTTP.
  std::filesystem::path tlsCert;
  std::filesystem::path tlsKey;
  int redirectHttpPort = 0;  // plain HTTP port answered with a redirect to HTTPS; 0: none
  // The host name the redirect sends browsers to; empty: the certificate's own name.
  std::string httpsHost;
  int requestDeadlineSeconds = 0;  // a request's (and handshake's) time at most; 0: the default
  web::LogFormat logFormat = web::LogFormat::Text;
};

// Reads an environment variable; nullopt when unset.
using Environment = std::function<std::optional<std::string>(const std::string&)>;
std::optional<std::string> processEnvironment(const std::string& name);

// Parses the command line over the ZEZIZA_* variables (the service reads them from
// /etc/default/zeziza; the command line wins). Throws std::invalid_argument with a message
// for the user.
Options parseOptions(const std::vector<std::string>& args,
                     const Environment& environment = processEnvironment);
std::string usage();

}  // namespace zeziza::host
