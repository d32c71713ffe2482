#include "host/options.h"

#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "base/option_reader.h"
#include "base/platform/process.h"
#include "base/platform/text.h"
#include "base/text.h"
#include "web/https_redirect.h"

namespace zeziza::host {

namespace {

// "-LaunchBrowser" or "/launchbrowser": a switch, with either sign and in any letter case.
bool isSwitch(const std::string& arg, std::string_view name) {
  return arg.size() > 1 && (arg[0] == '-' || arg[0] == '/') &&
         base::toLower(arg.substr(1)) == base::toLower(name);
}

web::LogFormat parseLogFormat(const std::string& text) {
  if (text == "text") return web::LogFormat::Text;
  if (text == "json") return web::LogFormat::Json;
  throw std::invalid_argument("--log-format needs text or json, got \"" + text + "\"");
}

void parseInto(Options& options, const std::vector<std::string>& args) {
  base::OptionReader read(args);
  while (read.next()) {
    const std::string& arg = read.current();
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (read.is("--port")) {
      options.port = read.number("--port", 0, 65535);
    } else if (read.is("--max-sessions")) {
      options.maxSessions = static_cast<std::size_t>(read.number("--max-sessions", 1, 1000000));
    } else if (read.is("--sessions-per-account")) {
      options.sessionsPerAccount =
          static_cast<std::size_t>(read.number("--sessions-per-account", 1, 1000000));
    } else if (read.is("--session-timeout")) {
      options.sessionTimeoutSeconds = read.number("--session-timeout", 1, 86400);
    } else if (read.is("--backup-keep")) {
      options.backupKeep = static_cast<std::size_t>(read.number("--backup-keep", 1, 10000));
    } else if (read.is("--backup-hour")) {
      options.backupHour = read.number("--backup-hour", 0, 23);
    } else if (read.is("--restore-backup")) {
      options.restoreBackup = platform::pathFromUtf8(read.value("--restore-backup"));
    } else if (arg == "--list-backups") {
      options.listBackups = true;
    } else if (read.is("--data-dir")) {
      options.dataDir = platform::pathFromUtf8(read.value("--data-dir"));
    } else if (read.is("--site")) {
      options.site = read.value("--site");
    } else if (read.is("--results-site")) {
      options.resultsSite = read.value("--results-site");
    } else if (read.is("--cloud")) {
      options.cloud = read.value("--cloud");
    } else if (read.is("--trusted-proxy")) {
      options.trustedProxy = read.value("--trusted-proxy");
    } else if (read.is("--tls-cert")) {
      options.tlsCert = platform::pathFromUtf8(read.value("--tls-cert"));
    } else if (read.is("--tls-key")) {
      options.tlsKey = platform::pathFromUtf8(read.value("--tls-key"));
    } else if (read.is("--redirect-http")) {
      options.redirectHttpPort = read.number("--redirect-http", 1, 65535);
    } else if (read.is("--https-host")) {
      options.httpsHost = read.value("--https-host");
    } else if (read.is("--request-deadline")) {
      options.requestDeadlineSeconds = read.number("--request-deadline", 1, 3600);
    } else if (read.is("--log-format")) {
      options.logFormat = parseLogFormat(read.value("--log-format"));
    } else if (arg == "--cloud-create-schema") {
      options.cloudCommand = CloudCommand::CreateSchema;
    } else if (arg == "--cloud-create-account") {
      options.cloudCommand = CloudCommand::CreateAccount;
    } else if (isSwitch(arg, "LaunchBrowser")) {
      options.launchBrowser = true;
    } else if (isSwitch(arg, "Minimize")) {
      options.minimize = true;
    } else {
      read.unknown();
    }
  }
}

// The service's options file sets these; each stands for the option beside it.
constexpr std::pair<const char*, const char*> kVariables[] = {
    {"ZEZIZA_PORT", "--port"},
    {"ZEZIZA_DATA_DIR", "--data-dir"},
    {"ZEZIZA_SITE", "--site"},
    {"ZEZIZA_MAX_SESSIONS", "--max-sessions"},
    {"ZEZIZA_SESSIONS_PER_ACCOUNT", "--sessions-per-account"},
    {"ZEZIZA_SESSION_TIMEOUT", "--session-timeout"},
    {"ZEZIZA_BACKUP_KEEP", "--backup-keep"},
    {"ZEZIZA_BACKUP_HOUR", "--backup-hour"},
    {"ZEZIZA_CLOUD", "--cloud"},
    {"ZEZIZA_TRUSTED_PROXY", "--trusted-proxy"},
    {"ZEZIZA_TLS_CERT", "--tls-cert"},
    {"ZEZIZA_TLS_KEY", "--tls-key"},
    {"ZEZIZA_REDIRECT_HTTP", "--redirect-http"},
    {"ZEZIZA_HTTPS_HOST", "--https-host"},
    {"ZEZIZA_REQUEST_DEADLINE", "--request-deadline"},
    {"ZEZIZA_LOG_FORMAT", "--log-format"},
};

void checkTls(const Options& options) {
  if (options.tlsCert.empty() != options.tlsKey.empty()) {
    throw std::invalid_argument("--tls-cert and --tls-key go together");
  }
  if (options.redirectHttpPort != 0 && options.tlsCert.empty()) {
    throw std::invalid_argument("--redirect-http needs --tls-cert and --tls-key");
  }
  if (!options.httpsHost.empty() && !web::isPlainHostName(options.httpsHost)) {
    throw std::invalid_argument("--https-host needs a host name or address without a port, got \"" +
                                options.httpsHost + "\"");
  }
  if (options.redirectHttpPort != 0 && options.redirectHttpPort == options.port) {
    throw std::invalid_argument("--redirect-http needs a port other than --port");
  }
}

}  // namespace

std::optional<std::string> processEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

Options parseOptions(const std::vector<std::string>& args, const Environment& environment) {
  Options options;
  options.dataDir = platform::defaultDataFolder();
  for (const auto& [variable, option] : kVariables) {
    const auto value = environment(variable);
    if (!value || value->empty()) continue;  // an empty line in the options file sets nothing
    try {
      parseInto(options, {option, *value});
    } catch (const std::invalid_argument& e) {
      throw std::invalid_argument(std::string(variable) + ": " + e.what());
    }
  }
  parseInto(options, args);
  checkTls(options);
  return options;
}

std::string usage() {
  return "Usage: zeziza [options]\n"
         "  --port N          listening port (default 81; below 1024 needs root)\n"
         "  --data-dir DIR    data folder (default: the working directory; on Windows\n"
         "                    %ProgramData%\\Zeziza)\n"
         "  --site URL        address of the vendor web site for the manual\n"
         "  --max-sessions N  live browser sessions at most (default 5000); a new browser\n"
         "                    past it is answered 503\n"
         "  --sessions-per-account N  signed-in sessions of one account at most (default\n"
         "                    20); a further sign-in ends the account's oldest session\n"
         "  --session-timeout S  seconds without a request that end a session (default 600)\n"
         "  --backup-keep N   backups kept in DIR/backups (default 14)\n"
         "  --backup-hour H   local hour of the daily backup (default 2)\n"
         "  --list-backups    list the backups and exit\n"
         "  --restore-backup FILE  restore data from a backup (server stopped) and exit\n"
         "  --trusted-proxy ADDR  the reverse proxy in front of the server: only its\n"
         "                    X-Forwarded-For names the client (by its last entry)\n"
         "  --cloud CONNINFO  libpq connection string of the cloud score service\n"
         "                    (default: the environment variable ZEZIZA_CLOUD)\n"
         "  --results-site URL  address of the results site (zeziza-results) that the\n"
         "                    cloud page sends schools and students to\n"
         "  --tls-cert FILE --tls-key FILE  serve HTTPS with this certificate and key (PEM)\n"
         "  --redirect-http PORT  answer plain HTTP on PORT with a redirect to HTTPS\n"
         "  --https-host NAME  the host name that redirect names (default: the name in the\n"
         "                    certificate); never taken from the request\n"
         "  --request-deadline S  seconds a request may take to arrive and its answer to\n"
         "                    leave, a TLS handshake included (default 30)\n"
         "  --log-format text|json  the event log on standard error (default text)\n"
         "  --cloud-create-schema   create the cloud service's tables, then exit\n"
         "  --cloud-create-account  create a cloud account with the password read from\n"
         "                    standard input, print its registration number, then exit\n"
         "  -LaunchBrowser    open the local address in the default browser at start\n"
         "  -Minimize         accepted for compatibility; changes nothing\n"
         "  --help            this text\n"
         "Every option but the commands may come from a variable instead: ZEZIZA_PORT,\n"
         "ZEZIZA_DATA_DIR, ZEZIZA_SITE, ZEZIZA_MAX_SESSIONS, ZEZIZA_SESSIONS_PER_ACCOUNT,\n"
         "ZEZIZA_SESSION_TIMEOUT, "
         "ZEZIZA_BACKUP_KEEP, ZEZIZA_BACKUP_HOUR, ZEZIZA_CLOUD, ZEZIZA_TRUSTED_PROXY,\n"
         "ZEZIZA_TLS_CERT, ZEZIZA_TLS_KEY, ZEZIZA_REDIRECT_HTTP, ZEZIZA_HTTPS_HOST,\n"
         "ZEZIZA_REQUEST_DEADLINE, ZEZIZA_LOG_FORMAT;\n"
         "the command line wins.\n";
}

}  // namespace zeziza::host
