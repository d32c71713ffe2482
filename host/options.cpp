#include "host/options.h"

#include <charconv>
#include <cstdlib>
#include <stdexcept>

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

}  // namespace

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
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
  if (options.cloud.empty()) {
    if (const char* env = std::getenv("ZEZIZA_CLOUD")) options.cloud = env;
  }
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
         "  --cloud-create-schema   create the cloud service's tables, then exit\n"
         "  --cloud-create-account  create a cloud account with the password read from\n"
         "                    standard input, print its registration number, then exit\n"
         "  -LaunchBrowser    open the local address in the default browser at start\n"
         "  -Minimize         accepted for compatibility; changes nothing\n"
         "  --help            this text\n";
}

}  // namespace zeziza::host
