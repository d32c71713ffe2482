#include "results/options.h"

#include <cstdlib>
#include <stdexcept>

#include "base/option_reader.h"

namespace zeziza::results {

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  base::OptionReader read(args);
  while (read.next()) {
    const std::string& arg = read.current();
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (read.is("--cloud")) {
      options.cloud = read.value("--cloud");
    } else if (read.is("--cloud-read")) {
      options.cloudRead = read.value("--cloud-read");
    } else if (read.is("--port")) {
      options.port = read.number("--port", 0, 65535);
    } else if (read.is("--listen")) {
      options.listen = read.value("--listen");
    } else if (read.is("--trusted-proxy")) {
      options.trustedProxy = read.value("--trusted-proxy");
    } else if (read.is("--cookie-key-file")) {
      options.cookieKeyFile = read.value("--cookie-key-file");
    } else if (read.is("--connections")) {
      options.connections = static_cast<std::size_t>(read.number("--connections", 1, 1000));
    } else {
      read.unknown();
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
