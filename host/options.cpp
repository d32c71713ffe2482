#include "host/options.h"

#include <charconv>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace zeziza::host {

namespace {

std::string lowered(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// "-LaunchBrowser" or "/launchbrowser": a switch, with either sign and in any letter case.
bool isSwitch(const std::string& arg, std::string_view name) {
  return arg.size() > 1 && (arg[0] == '-' || arg[0] == '/') &&
         lowered(arg.substr(1)) == lowered(std::string(name));
}

int parseNumber(const std::string& option, const std::string& text, int low, int high) {
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n < low || n > high) {
    throw std::invalid_argument(option + " needs a number from " + std::to_string(low) + " to " +
                                std::to_string(high) + ", got \"" + text + "\"");
  }
  return n;
}

web::LogFormat parseLogFormat(const std::string& text) {
  if (text == "text") return web::LogFormat::Text;
  if (text == "json") return web::LogFormat::Json;
  throw std::invalid_argument("--log-format needs text or json, got \"" + text + "\"");
}

void parseInto(Options& options, const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string_view name) -> std::string {
      const std::string prefix = std::string(name) + "=";
      if (arg.rfind(prefix, 0) == 0) return arg.substr(prefix.size());
      if (i + 1 >= args.size()) throw std::invalid_argument(std::string(name) + " needs a value");
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--port" || arg.rfind("--port=", 0) == 0) {
      options.port = parseNumber("--port", value("--port"), 0, 65535);
    } else if (arg == "--max-sessions" || arg.rfind("--max-sessions=", 0) == 0) {
      options.maxSessions = static_cast<std::size_t>(
          parseNumber("--max-sessions", value("--max-sessions"), 1, 1000000));
    } else if (arg == "--session-timeout" || arg.rfind("--session-timeout=", 0) == 0) {
      options.sessionTimeoutSeconds =
          parseNumber("--session-timeout", value("--session-timeout"), 1, 86400);
    } else if (arg == "--backup-keep" || arg.rfind("--backup-keep=", 0) == 0) {
      options.backupKeep =
          static_cast<std::size_t>(parseNumber("--backup-keep", value("--backup-keep"), 1, 10000));
    } else if (arg == "--backup-hour" || arg.rfind("--backup-hour=", 0) == 0) {
      options.backupHour = parseNumber("--backup-hour", value("--backup-hour"), 0, 23);
    } else if (arg == "--restore-backup" || arg.rfind("--restore-backup=", 0) == 0) {
      options.restoreBackup = value("--restore-backup");
    } else if (arg == "--list-backups") {
      options.listBackups = true;
    } else if (arg == "--data-dir" || arg.rfind("--data-dir=", 0) == 0) {
      options.dataDir = value("--data-dir");
    } else if (arg == "--site" || arg.rfind("--site=", 0) == 0) {
      options.site = value("--site");
    } else if (arg == "--results-site" || arg.rfind("--results-site=", 0) == 0) {
      options.resultsSite = value("--results-site");
    } else if (arg == "--cloud" || arg.rfind("--cloud=", 0) == 0) {
      options.cloud = value("--cloud");
    } else if (arg == "--trusted-proxy" || arg.rfind("--trusted-proxy=", 0) == 0) {
      options.trustedProxy = value("--trusted-proxy");
    } else if (arg == "--tls-cert" || arg.rfind("--tls-cert=", 0) == 0) {
      options.tlsCert = value("--tls-cert");
    } else if (arg == "--tls-key" || arg.rfind("--tls-key=", 0) == 0) {
      options.tlsKey = value("--tls-key");
    } else if (arg == "--redirect-http" || arg.rfind("--redirect-http=", 0) == 0) {
      options.redirectHttpPort = parseNumber("--redirect-http", value("--redirect-http"), 1, 65535);
    } else if (arg == "--log-format" || arg.rfind("--log-format=", 0) == 0) {
      options.logFormat = parseLogFormat(value("--log-format"));
    } else if (arg == "--cloud-create-schema") {
      options.cloudCommand = CloudCommand::CreateSchema;
    } else if (arg == "--cloud-create-account") {
      options.cloudCommand = CloudCommand::CreateAccount;
    } else if (isSwitch(arg, "LaunchBrowser")) {
      options.launchBrowser = true;
    } else if (isSwitch(arg, "Minimize")) {
      options.minimize = true;
    } else {
      throw std::invalid_argument("unknown option \"" + arg + "\" (see --help)");
    }
  }
}

// The service's options file sets these; each stands for the option beside it.
constexpr std::pair<const char*, const char*> kVariables[] = {
    {"ZEZIZA_PORT", "--port"},
    {"ZEZIZA_DATA_DIR", "--data-dir"},
    {"ZEZIZA_SITE", "--site"},
    {"ZEZIZA_MAX_SESSIONS", "--max-sessions"},
    {"ZEZIZA_SESSION_TIMEOUT", "--session-timeout"},
    {"ZEZIZA_BACKUP_KEEP", "--backup-keep"},
    {"ZEZIZA_BACKUP_HOUR", "--backup-hour"},
    {"ZEZIZA_CLOUD", "--cloud"},
    {"ZEZIZA_TRUSTED_PROXY", "--trusted-proxy"},
    {"ZEZIZA_TLS_CERT", "--tls-cert"},
    {"ZEZIZA_TLS_KEY", "--tls-key"},
    {"ZEZIZA_REDIRECT_HTTP", "--redirect-http"},
    {"ZEZIZA_LOG_FORMAT", "--log-format"},
};

void checkTls(const Options& options) {
  if (options.tlsCert.empty() != options.tlsKey.empty()) {
    throw std::invalid_argument("--tls-cert and --tls-key go together");
  }
  if (options.redirectHttpPort != 0 && options.tlsCert.empty()) {
    throw std::invalid_argument("--redirect-http needs --tls-cert and --tls-key");
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
         "  --data-dir DIR    data folder (default: the working directory)\n"
         "  --site URL        address of the vendor web site for the manual\n"
         "  --max-sessions N  live browser sessions at most (default 5000); a new browser\n"
         "                    past it is answered 503\n"
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
         "  --log-format text|json  the event log on standard error (default text)\n"
         "  --cloud-create-schema   create the cloud service's tables, then exit\n"
         "  --cloud-create-account  create a cloud account with the password read from\n"
         "                    standard input, print its registration number, then exit\n"
         "  -LaunchBrowser    open the local address in the default browser at start\n"
         "  -Minimize         accepted for compatibility; changes nothing\n"
         "  --help            this text\n"
         "Every option but the commands may come from a variable instead: ZEZIZA_PORT,\n"
         "ZEZIZA_DATA_DIR, ZEZIZA_SITE, ZEZIZA_MAX_SESSIONS, ZEZIZA_SESSION_TIMEOUT,\n"
         "ZEZIZA_BACKUP_KEEP, ZEZIZA_BACKUP_HOUR, ZEZIZA_CLOUD, ZEZIZA_TRUSTED_PROXY,\n"
         "ZEZIZA_TLS_CERT, ZEZIZA_TLS_KEY, ZEZIZA_REDIRECT_HTTP, ZEZIZA_LOG_FORMAT;\n"
         "the command line wins.\n";
}

}  // namespace zeziza::host
