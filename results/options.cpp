#include "results/options.h"

#include <charconv>
#include <cstdlib>
#include <stdexcept>

namespace zeziza::results {

namespace {

int parseNumber(const std::string& name, const std::string& text, int low, int high) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < low ||
      value > high) {
    throw std::invalid_argument(name + " needs a number from " + std::to_string(low) + " to " +
                                std::to_string(high));
  }
  return value;
}

}  // namespace

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto is = [&](std::string_view name) {
      return arg == name || arg.rfind(std::string(name) + "=", 0) == 0;
    };
    auto value = [&](std::string_view name) -> std::string {
      const std::string prefix = std::string(name) + "=";
      if (arg.rfind(prefix, 0) == 0) return arg.substr(prefix.size());
      if (i + 1 >= args.size()) throw std::invalid_argument(std::string(name) + " needs a value");
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (is("--cloud")) {
      options.cloud = value("--cloud");
    } else if (is("--cloud-read")) {
      options.cloudRead = value("--cloud-read");
    } else if (is("--port")) {
      options.port = parseNumber("--port", value("--port"), 0, 65535);
    } else if (is("--listen")) {
      options.listen = value("--listen");
    } else if (is("--trusted-proxy")) {
      options.trustedProxy = value("--trusted-proxy");
    } else if (is("--cookie-key-file")) {
      options.cookieKeyFile = value("--cookie-key-file");
    } else if (is("--connections")) {
      options.connections =
          static_cast<std::size_t>(parseNumber("--connections", value("--connections"), 1, 1000));
    } else {
      throw std::invalid_argument("unknown option \"" + arg + "\" (see --help)");
    }
  }
  if (options.cloud.empty()) {
    if (const char* env = std::getenv("ZEZIZA_CLOUD")) options.cloud = env;
  }
  if (const char* key = std::getenv("ZEZIZA_RESULTS_KEY")) options.cookieKey = key;
  if (options.cloud.empty() && !options.help) {
    throw std::invalid_argument("--cloud CONNINFO (or ZEZIZA_CLOUD) is required");
  }
  return options;
}

std::string usage() {
  return "Usage: zeziza-results --cloud CONNINFO [options]\n"
         "  --cloud CONNINFO      libpq connection string of the cloud score service\n"
         "                        (default: the environment variable ZEZIZA_CLOUD)\n"
         "  --cloud-read CONNINFO a streaming replica that serves the result views\n"
         "  --port N              listening port (default 8080; 0 picks a free one)\n"
         "  --listen ADDR         listening address (default 0.0.0.0)\n"
         "  --trusted-proxy ADDR  the reverse proxy whose X-Forwarded-For (last entry) and\n"
         "                        X-Forwarded-Proto are believed\n"
         "  --cookie-key-file F   key that signs sign-in cookies, made when missing\n"
         "                        (default zeziza-results.key; ZEZIZA_RESULTS_KEY wins);\n"
         "                        every instance of one site needs the same key\n"
         "  --connections N       database connections per server (default 8)\n"
         "  --help                this text\n";
}

}  // namespace zeziza::results
